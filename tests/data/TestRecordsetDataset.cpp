// Recordsets and the datasets attached to them: shared rows, filter and order seen by every
// dataset of the same recordset, fixed fields matched by name, index fields, sums, and taking
// a recordset out of a host answer.
#include "SampleTables.h"
#include "common/Error.h"
#include "data/RecordsetDataset.h"
#include "data/VarToRecordset.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kestrane;

namespace {
QStringList walk(Dataset& d, const char* field) {
    QStringList out;
    for (d.first(); !d.eof(); d.next())
        out.append(d.fieldText(QString::fromLatin1(field)));
    return out;
}

std::shared_ptr<Recordset> sampleRecordset() {
    return std::make_shared<Recordset>(testing::sampleTable());
}
} // namespace

class TestRecordsetDataset : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoDatasetsShareRowsFilterAndOrder() {
        const auto rs = sampleRecordset();
        RecordsetDataset adsbill, cdsPrint;
        adsbill.setRecordset(rs);
        cdsPrint.setRecordset(rs);
        QCOMPARE(cdsPrint.fields(), adsbill.fields());
        QCOMPARE(cdsPrint.recordCount(), 6);

        QSignalSpy printChanged(&cdsPrint, &Dataset::changed);
        adsbill.setFilterText("f_Gjje >= 80");
        adsbill.setFiltered(true);
        QCOMPARE(adsbill.recordCount(), 3);
        QCOMPARE(cdsPrint.recordCount(), 3); // the filter belongs to the recordset
        QVERIFY(printChanged.count() >= 1);
        QCOMPARE(walk(cdsPrint, "f_Bmbm"), (QStringList{"0101", "0102", "0201"}));

        adsbill.setSort("f_Gjje ASC");
        QCOMPARE(cdsPrint.sort(), QStringLiteral("f_Gjje ASC"));
        QCOMPARE(walk(cdsPrint, "f_Bmbm"), (QStringList{"0102", "0201", "0101"}));

        // Each dataset walks on its own.
        adsbill.first();
        cdsPrint.last();
        QCOMPARE(adsbill.fieldText(u"f_Bmbm"), QStringLiteral("0102"));
        QCOMPARE(cdsPrint.fieldText(u"f_Bmbm"), QStringLiteral("0101"));

        adsbill.setFiltered(false);
        QCOMPARE(cdsPrint.recordCount(), 6);
        adsbill.setSort("");
        QCOMPARE(walk(cdsPrint, "f_Bmbm").first(), QStringLiteral("0101"));

        // Closing one leaves the other attached.
        adsbill.close();
        QCOMPARE(cdsPrint.recordCount(), 6);
        rs->setFilter("f_Dnxh = 10");
        QCOMPARE(cdsPrint.recordCount(), 1);
        QCOMPARE(adsbill.recordCount(), 0);
    }

    // A view's result dataset declares its fields; the host's columns are found by name
    // whatever their letter case, extra columns stay hidden, absent ones read as null.
    void fixedFieldsMatchByName() {
        RecordsetDataset adsbill2;
        adsbill2.setFieldDefs({{"F_BMMC", "部门名称", FieldType::String, 50},
                               {"f_Csmc", "供应商名称", FieldType::String, 50},
                               {"f_gjje", "购进金额", FieldType::Float, 0, true, 0, "####0.00"},
                               {"f_dnxh", "单内序号", FieldType::String, 10}});
        QSignalSpy active(&adsbill2, &Dataset::activeChanged);
        adsbill2.createDataSet();
        QVERIFY(adsbill2.isActive());
        QVERIFY(adsbill2.isEmpty());
        adsbill2.setRecordset(sampleRecordset());
        QCOMPARE(active.count(), 2);
        QCOMPARE(adsbill2.fieldCount(), 4);
        QCOMPARE(adsbill2.fields()[0].name, QStringLiteral("F_BMMC"));
        QCOMPARE(adsbill2.missingFields(), QStringList{"f_Csmc"});
        QCOMPARE(adsbill2.text(0, 0), u"总店一部");
        QVERIFY(adsbill2.isNull(0, 1));
        QVERIFY(!adsbill2.fieldValue(u"F_CSMC").isValid());
        QCOMPARE(adsbill2.number(2, 2), 100.0);
        // The integer column serves a text field as text.
        QCOMPARE(adsbill2.text(4, 3), u"10");
        QVERIFY(adsbill2.isNull(3, 3));
        QVERIFY_THROWS_EXCEPTION(Error, adsbill2.fieldValue(u"f_Gdrq"));
        // Filters and sorts work on the recordset's columns.
        adsbill2.setFilterText("f_Gdrq > '20050110'");
        adsbill2.setFiltered(true);
        QCOMPARE(adsbill2.recordCount(), 3);
        QVERIFY_THROWS_EXCEPTION(Error, adsbill2.setFilterText("f_Csmc = 'x'"));
        QCOMPARE(adsbill2.recordCount(), 3);

        adsbill2.close();
        QVERIFY(!adsbill2.isActive());
        QCOMPARE(adsbill2.fieldCount(), 4);
        QVERIFY(adsbill2.missingFields().isEmpty());
    }

    void indexFields() {
        const auto rs = sampleRecordset();
        RecordsetDataset adsbill1, cdsPrint;
        adsbill1.setRecordset(rs);
        cdsPrint.setIndexFieldNames("f_Dnxh");
        cdsPrint.setRecordset(rs);
        QCOMPARE(walk(cdsPrint, "f_Dnxh"), (QStringList{"", "1", "2", "3", "5", "10"}));
        QCOMPARE(walk(adsbill1, "f_Dnxh").last(), QStringLiteral("10"));

        // Cleared index fields before attaching leave the recordset's order alone ...
        cdsPrint.close();
        cdsPrint.setIndexFieldNames("");
        QCOMPARE(walk(adsbill1, "f_Dnxh").last(), QStringLiteral("10"));
        adsbill1.setSort("f_Gjje DESC");
        cdsPrint.setRecordset(rs);
        QCOMPARE(walk(cdsPrint, "f_Bmbm").first(), QStringLiteral("0101"));
        // ... while clearing them on an attached dataset removes the order.
        cdsPrint.setIndexFieldNames("f_Bmbm;f_Gjje");
        cdsPrint.setIndexFieldNames("");
        QCOMPARE(walk(adsbill1, "f_Bmbm"),
                 (QStringList{"0101", "0102", "0201", "0202", "1", "A1"}));

        QVERIFY_THROWS_EXCEPTION(Error, cdsPrint.setIndexFieldNames("f_nothing"));
        QCOMPARE(cdsPrint.indexFieldNames(), QString());
        RecordsetDataset closed;
        QVERIFY_THROWS_EXCEPTION(Error, closed.setSort("f_Gjje"));
    }

    void attachingWithABadFilterFails() {
        RecordsetDataset d;
        d.setFilterText("f_nothing = 1");
        d.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(Error, d.setRecordset(sampleRecordset()));
        QVERIFY(!d.isActive());
        d.setFilterText("f_Dnxh > 2");
        d.setRecordset(sampleRecordset());
        QCOMPARE(d.recordCount(), 3);
    }

    void sumsOverFilteredRows() {
        Table t({{"f_Bmmc", "", FieldType::String},
                 {"f_Gjje", "", FieldType::Float},
                 {"f_Dnxh", "", FieldType::Integer}});
        for (int i = 0; i < 10; ++i)
            t.appendRow({i % 2 ? "总店" : "分店", 0.1, i});
        t.appendRow({"总店", QVariant(), QVariant()});
        RecordsetDataset d;
        d.setRecordset(std::make_shared<Recordset>(std::move(t)));
        // Ten times 0.1 is 1 to the last bit: the sum is compensated.
        QCOMPARE(d.sum(1), 1.0);
        QCOMPARE(d.sum(2), 45.0);
        d.setFilterText("f_Bmmc = '总店'");
        d.setFiltered(true);
        QCOMPARE(d.recordCount(), 6);
        QCOMPARE(d.sum(1), 0.5);
        QCOMPARE(d.sum(2), 1.0 + 3 + 5 + 7 + 9);
        QCOMPARE(d.sum(0), 0.0);
        QCOMPARE(d.sum(7), 0.0);
    }

    void recordsetChangesReachTheDatasets() {
        const auto rs =
            std::make_shared<Recordset>(QList<FieldDef>{{"f_a", "", FieldType::String}});
        RecordsetDataset d;
        d.setFieldDefs({{"F_A", "", FieldType::Integer}}); // converted: text column, integer field
        d.setRecordset(rs);
        QSignalSpy changed(&d, &Dataset::changed);
        rs->appendRow({"12"});
        rs->appendRow({"x"});
        QCOMPARE(changed.count(), 2);
        QCOMPARE(d.recordCount(), 2);
        QCOMPARE(d.number(0, 0), 12.0);
        QVERIFY(d.isNull(1, 0)); // does not convert

        // Rows appended to a sorted, filtered recordset take their place in the view.
        rs->setSort("f_a DESC");
        rs->setFilter("f_a <> 'x'");
        rs->appendRow({"5"});
        rs->appendRow({"x"});
        rs->appendRow({"7"});
        QCOMPARE(walk(d, "f_a"), (QStringList{"7", "5", "12"}));
    }

    void varToRecordset_data() {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("nothing") << QVariant();
        QTest::newRow("a number") << QVariant(3);
        QTest::newRow("a text") << QVariant(QStringLiteral("recordset"));
        QTest::newRow("a data packet") << QVariant(QByteArray("KDPK"));
        QTest::newRow("an empty reference") << QVariant::fromValue(std::shared_ptr<Recordset>());
    }
    void varToRecordset() {
        QFETCH(QVariant, value);
        QVERIFY_THROWS_EXCEPTION(Error, VarToRecordset(value));
    }

    void varToRecordsetGivesTheSameObject() {
        const auto rs = sampleRecordset();
        const QVariant v = recordsetToVariant(rs);
        QCOMPARE(VarToRecordset(v).get(), rs.get());
        // A copy of the variant carries the same recordset: filters set through one show in
        // the other.
        const QVariant copy = v;
        VarToRecordset(copy)->setFilter("f_Dnxh = 1");
        QCOMPARE(rs->recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordsetDataset)
#include "TestRecordsetDataset.moc"
