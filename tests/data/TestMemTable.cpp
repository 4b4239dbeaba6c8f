// The in-memory table: loading packets, walking, field values by name, locate, named indexes
// (the grid's "customindex"), filters and sums.
#include "SampleTables.h"
#include "common/Error.h"
#include "data/DataPacket.h"
#include "data/MemTable.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kestrane;

namespace {
QStringList walk(MemTable& t, const char* field) {
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out.append(t.fieldText(QString::fromLatin1(field)));
    return out;
}

QByteArray sysParamsPacket() {
    Table t({{"f_Csmc", "", FieldType::String, 30}, {"f_Csz", "", FieldType::String, 100}});
    t.appendRow({"qyny", "200401"});
    t.appendRow({"ypthphkz", "1"});
    t.appendRow({"YPTHPHKZ", "upper"});
    t.appendRow({"qynyx", "other"});
    return encodePacket(t);
}
} // namespace

class TestMemTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fieldsWithoutOpening() {
        MemTable cdsWhere;
        cdsWhere.setFieldDefs({{"a.f_Bmbm", "部门编码", FieldType::String, 12},
                               {"a.f_Dnxh", "单内序号", FieldType::Integer, 0, true, 1, "", true}});
        QVERIFY(!cdsWhere.isActive());
        QCOMPARE(cdsWhere.fieldCount(), 2);
        QCOMPARE(cdsWhere.fields()[1].displayName(), QStringLiteral("单内序号"));
        QVERIFY(cdsWhere.fields()[1].calculated);
        QCOMPARE(cdsWhere.fieldIndex(u"A.F_DNXH"), 1);
        QCOMPARE(cdsWhere.recordCount(), 0);
        QVERIFY(cdsWhere.eof());
    }

    void loadingReplacesContentAndStartsAtTheFirstRow() {
        MemTable t;
        QSignalSpy active(&t, &Dataset::activeChanged);
        QSignalSpy changed(&t, &Dataset::changed);
        t.loadPacket(QVariant(encodePacket(testing::sampleTable())));
        QVERIFY(t.isActive());
        QCOMPARE(active.count(), 1);
        QVERIFY(changed.count() >= 1);
        QCOMPARE(t.recNo(), 0);
        QCOMPARE(t.fieldValue(u"F_BMMC").toString(), QStringLiteral("总店一部"));
        QCOMPARE(walk(t, "f_Bmbm"), (QStringList{"0101", "0102", "0201", "0202", "1", "A1"}));
        // Past the end the current row stays the last one.
        QVERIFY(t.eof());
        QCOMPARE(t.fieldText(u"f_Bmbm"), QStringLiteral("A1"));

        t.loadPacket(QVariant(sysParamsPacket()));
        QCOMPARE(t.fieldCount(), 2);
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(t.fieldText(u"f_csz"), QStringLiteral("200401"));
        QVERIFY_THROWS_EXCEPTION(Error, t.fieldValue(u"f_Bmmc"));

        // A damaged packet leaves the table as it was.
        QByteArray bad = sysParamsPacket();
        bad.chop(1);
        QVERIFY_THROWS_EXCEPTION(Error, t.loadPacket(QVariant(bad)));
        QVERIFY_THROWS_EXCEPTION(Error, t.loadPacket(QVariant(42)));
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(t.fieldText(u"f_Csmc"), QStringLiteral("qyny"));
    }

    void emptyPacket() {
        MemTable t;
        t.loadPacket(QVariant(encodePacket(Table({{"f_zymc", "", FieldType::String}}))));
        QVERIFY(t.isActive());
        QVERIFY(t.isEmpty());
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), -1);
        QVERIFY(!t.fieldValue(u"f_zymc").isValid());
    }

    void typedAccess() {
        MemTable t;
        t.setData(testing::sampleTable());
        QCOMPARE(t.text(1, 1), u"总店二部");
        QCOMPARE(t.number(0, 3), 120.5);
        QVERIFY(t.isNull(3, 3));
        QCOMPARE(t.text(3, 1), QStringView());
        QCOMPARE(t.value(4, 2), QVariant(qlonglong(10)));
        QCOMPARE(t.displayText(5, 6), QStringLiteral("2005-01-15"));
        QVERIFY_THROWS_EXCEPTION(Error, t.value(6, 0));
    }

    void locate_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("found"); // f_Csz of the row found, or "-" for none
        const int ci = MemTable::LocateCaseInsensitive, partial = MemTable::LocatePartialKey;
        QTest::newRow("whole, case ignored") << "f_Csmc" << QVariant("YPTHPHKZ") << ci << "1";
        QTest::newRow("whole, exact case") << "f_Csmc" << QVariant("YPTHPHKZ") << 0 << "upper";
        QTest::newRow("whole, exact case, lower") << "f_Csmc" << QVariant("ypthphkz") << 0 << "1";
        QTest::newRow("whole, exact case, no match")
            << "f_Csmc" << QVariant("Ypthphkz") << 0 << "-";
        QTest::newRow("whole value is not a prefix") << "f_Csmc" << QVariant("qy") << 0 << "-";
        QTest::newRow("prefix, exact case") << "f_Csmc" << QVariant("qy") << partial << "200401";
        QTest::newRow("prefix, exact case, no match")
            << "f_Csmc" << QVariant("QY") << partial << "-";
        QTest::newRow("prefix, case ignored")
            << "f_Csmc" << QVariant("QY") << (partial | ci) << "200401";
        QTest::newRow("field name case") << "F_CSZ" << QVariant("other") << 0 << "other";
        QTest::newRow("null key finds nothing here") << "f_Csmc" << QVariant() << 0 << "-";
    }
    void locate() {
        QFETCH(QString, field);
        QFETCH(QVariant, key);
        QFETCH(int, options);
        QFETCH(QString, found);
        MemTable t;
        t.loadPacket(QVariant(sysParamsPacket()));
        t.setRecNo(3);
        const bool hit = t.locate(field, key, MemTable::LocateOptions(options));
        QCOMPARE(hit, found != u"-");
        // Without a match the current row stays where it was.
        QCOMPARE(t.fieldText(u"f_Csz"), hit ? found : QStringLiteral("other"));
    }

    void locateOnOtherTypesAndNulls() {
        MemTable t;
        t.setData(testing::sampleTable());
        QVERIFY(t.locate(u"f_Dnxh", 5));
        QCOMPARE(t.fieldText(u"f_Bmbm"), QStringLiteral("A1"));
        QVERIFY(t.locate(u"f_Gjje", QVariant()));
        QCOMPARE(t.fieldText(u"f_Bmbm"), QStringLiteral("0202"));
        QVERIFY(t.locate(u"f_Rq", "2005-01-31"));
        QCOMPARE(t.recNo(), 1);
        QVERIFY_THROWS_EXCEPTION(Error, t.locate(u"f_nothing", "x"));
    }

    // What the grid does when the user clicks sort markers on a grid over an in-memory table.
    void customIndex() {
        MemTable t;
        t.setData(testing::sampleTable());
        QSignalSpy changed(&t, &Dataset::changed);
        QVERIFY(!t.deleteIndex("customindex"));
        t.addIndex("customindex", "f_Sfjz;f_Gjje", "f_Gjje", true);
        t.setIndexName("customindex");
        QCOMPARE(t.indexName(), QStringLiteral("customindex"));
        QVERIFY(changed.count() >= 1);
        // Null first; false before true; amounts descending within each.
        QCOMPARE(walk(t, "f_Bmbm"), (QStringList{"0202", "0102", "1", "0101", "0201", "A1"}));
        // Locate follows the index order.
        QVERIFY(t.locate(u"f_Sfjz", true));
        QCOMPARE(t.fieldText(u"f_Bmbm"), QStringLiteral("0101"));

        QVERIFY_THROWS_EXCEPTION(Error, t.addIndex("CUSTOMINDEX", "f_Bmbm"));
        QVERIFY_THROWS_EXCEPTION(Error, t.addIndex("other", "f_Bmbm;f_nothing"));
        QVERIFY_THROWS_EXCEPTION(Error, t.setIndexName("nothing"));
        QCOMPARE(t.indexName(), QStringLiteral("customindex"));

        // The index and its order survive a reload with the same fields.
        t.loadPacket(QVariant(encodePacket(testing::sampleTable())));
        QCOMPARE(t.indexName(), QStringLiteral("customindex"));
        QCOMPARE(walk(t, "f_Bmbm").first(), QStringLiteral("0202"));

        QVERIFY(t.deleteIndex("CustomIndex"));
        QCOMPARE(t.indexName(), QString());
        QCOMPARE(walk(t, "f_Bmbm"), (QStringList{"0101", "0102", "0201", "0202", "1", "A1"}));
        QVERIFY(t.indexDefs().isEmpty());
    }

    void filterCountAndSums() {
        MemTable t;
        t.setData(testing::sampleTable());
        const int gjje = t.fieldIndex(u"f_Gjje");
        QCOMPARE(t.sum(gjje), 120.5 + 80 + 100 - 5.25);
        t.setFilterText("f_Bmmc LIKE '%总店%' OR f_Gjje < 0");
        QCOMPARE(t.recordCount(), 6); // the switch is still off
        QSignalSpy changed(&t, &Dataset::changed);
        t.setFiltered(true);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.sum(gjje), 120.5 + 80 - 5.25);
        QCOMPARE(t.sum(t.fieldIndex(u"f_Bmmc")), 0.0);
        QCOMPARE(walk(t, "f_Bmbm"), (QStringList{"0101", "0102", "1"}));

        // A text that cannot be evaluated changes nothing.
        QVERIFY_THROWS_EXCEPTION(Error, t.setFilterText("f_Bmmc LIKE"));
        QCOMPARE(t.filterText(), QStringLiteral("f_Bmmc LIKE '%总店%' OR f_Gjje < 0"));
        QCOMPARE(t.recordCount(), 3);

        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 6);
        t.setFilterText("f_nothing = 1");
        QVERIFY_THROWS_EXCEPTION(Error, t.setFiltered(true));
        QVERIFY(!t.isFiltered());
        QCOMPARE(t.recordCount(), 6);
    }

    void buildFromFieldDefinitions() {
        MemTable t;
        t.setFieldDefs(
            {{"f_Reportname", "", FieldType::String}, {"f_reportinfo", "", FieldType::Memo}});
        QVERIFY_THROWS_EXCEPTION(Error, t.appendRecord({"x", "y"}));
        t.createDataSet();
        QVERIFY(t.isActive());
        QVERIFY(t.isEmpty());
        t.appendRecord({"模板一", "0A0B"});
        t.appendRecord({"模板二"});
        QCOMPARE(t.recordCount(), 2);
        QVERIFY(t.locate(u"f_reportname", "模板二", MemTable::LocateCaseInsensitive));
        QVERIFY(!t.fieldValue(u"f_reportinfo").isValid());
        QVERIFY_THROWS_EXCEPTION(Error, t.appendRecord({"a", "b", "c"}));
        QCOMPARE(t.recordCount(), 2);

        // The packet of a table built this way loads into another.
        MemTable copy;
        copy.loadPacket(QVariant(t.packet()));
        QCOMPARE(walk(copy, "f_Reportname"), (QStringList{"模板一", "模板二"}));

        t.close();
        QVERIFY(!t.isActive());
        QCOMPARE(t.fieldCount(), 2);
        QCOMPARE(t.recordCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMemTable)
#include "TestMemTable.moc"
