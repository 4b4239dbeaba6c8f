// Dataset adapters over the data layer and the binding of designs to data: ranges, slaves,
// the open failure, field references with components, null values per field type,
// components found by name, band linking and bound memos.
#include "common/Error.h"
#include "data/MemTable.h"
#include "report/DisplayFormat.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMDBDataSet.h"
#include "report/TRMDataBinding.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMReport.h"

#include <QWidget>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::report;

namespace {

// A form like the query form: a print dataset and its adapter, and the report.
struct Form {
    QWidget form;
    MemTable* cdsPrint;
    TRMDBDataSet* adapter;
    TRMReport* report;
    Form() {
        form.setObjectName(QStringLiteral("FrmKestrane"));
        cdsPrint = new MemTable(&form);
        cdsPrint->setObjectName(QStringLiteral("cdsPrint"));
        FieldDef djh{QStringLiteral("f_Djh"), QString(), FieldType::String, 10};
        FieldDef je{QStringLiteral("f_Gjje"), QString(), FieldType::Float};
        je.displayFormat = QStringLiteral("####0.00");
        FieldDef flag{QStringLiteral("f_Flag"), QString(), FieldType::Boolean};
        FieldDef n{QStringLiteral("f_Dnxh"), QString(), FieldType::Integer};
        FieldDef spaced{QStringLiteral("f a.b"), QString(), FieldType::String, 10};
        cdsPrint->setFieldDefs({djh, je, flag, n, spaced});
        cdsPrint->createDataSet();
        cdsPrint->appendRecord({QStringLiteral("A1"), 12.5, true, 1, QStringLiteral("x")});
        cdsPrint->appendRecord({QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        cdsPrint->appendRecord({QStringLiteral("A3"), 0.004, false, 3, QStringLiteral("z")});
        cdsPrint->appendRecord({QStringLiteral("A4"), 1.0, false, 4, QStringLiteral("w")});
        cdsPrint->first();
        adapter = new TRMDBDataSet(&form);
        adapter->setObjectName(QStringLiteral("RMDBDataSet1"));
        adapter->setDataSet(cdsPrint);
        report = new TRMReport(&form);
        report->setObjectName(QStringLiteral("RMR"));
    }
};

QStringList walk(TRMDataset& ds) {
    QStringList seen;
    ds.Init();
    for (ds.First(); !ds.Eof() && seen.size() < 100; ds.Next())
        seen.append(ds.fieldValue(QStringLiteral("f_Djh")).toString());
    ds.Exit();
    return seen;
}

} // namespace

class tst_Binding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranges_data();
    void ranges();
    void openFailure();
    void slavesFollow();
    void nullValues_data();
    void nullValues();
    void fieldReferences_data();
    void fieldReferences();
    void expandsFieldLines();
    void bindPage();
    void dialogFormHostsAdapters();
};

void tst_Binding::ranges_data() {
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all") << int(rbFirstRecord) << int(reLastRecord) << 0
                         << QStringList{"A1", "", "A3", "A4"};
    QTest::newRow("count 3") << int(rbFirstRecord) << int(reCountRecords) << 3
                             << QStringList{"A1", "", "A3"};
    QTest::newRow("from current") << int(rbCurrentRecord) << int(reLastRecord) << 0
                                  << QStringList{"A3", "A4"};
    QTest::newRow("up to current")
        << int(rbFirstRecord) << int(reCurrentRecord) << 0 << QStringList{"A1", "", "A3"};
    QTest::newRow("only current") << int(rbCurrentRecord) << int(reCurrentRecord) << 0
                                  << QStringList{"A3"};
}

void tst_Binding::ranges() {
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    Form f;
    f.cdsPrint->setRecNo(2);
    f.adapter->RangeBegin = begin;
    f.adapter->RangeEnd = end;
    f.adapter->RangeEndCount = count;
    QCOMPARE(walk(*f.adapter), expected);
    // Exit returns to the remembered record for the "current" ranges.
    if (begin == rbCurrentRecord || end == reCurrentRecord)
        QCOMPARE(f.cdsPrint->recNo(), 2);
}

void tst_Binding::openFailure() {
    TRMDBDataSet adapter;
    adapter.setObjectName(QStringLiteral("RMDBDataSet1"));
    try {
        adapter.Init();
        QFAIL("an adapter without dataset opened");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Unable to open dataset RMDBDataSet1"));
    }
    // A data source takes precedence and clears the dataset.
    Form f;
    TRMDataSource source;
    source.DataSet = f.cdsPrint;
    adapter.setDataSet(f.cdsPrint);
    adapter.setDataSource(&source);
    QVERIFY(!adapter.DataSet());
    QCOMPARE(adapter.dataset(), f.cdsPrint);
    f.cdsPrint->close();
    adapter.Init(); // OpenDataSource opens it
    QVERIFY(f.cdsPrint->isActive());
}

void tst_Binding::slavesFollow() {
    Form f;
    TRMDataset detail;
    int firsts = 0;
    detail.OnFirst = [&firsts] { ++firsts; };
    TRMDBDataSet slave;
    slave.setMasterDataset(f.adapter);
    QVERIFY(f.adapter->slaves().contains(&slave));
    f.adapter->addSlave(&detail);
    walk(*f.adapter);
    QCOMPARE(firsts, 1 + 4); // first, then once per move
}

void tst_Binding::nullValues_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("string") << "f_Djh" << QVariant(QString());
    QTest::newRow("float") << "f_Gjje" << QVariant(0);
    QTest::newRow("boolean") << "f_Flag" << QVariant(false);
    QTest::newRow("integer") << "f_Dnxh" << QVariant(0);
}

void tst_Binding::nullValues() {
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    Form f;
    f.cdsPrint->setRecNo(1);
    const QVariant v = f.adapter->fieldValue(field);
    QCOMPARE(v.typeId(), expected.typeId());
    QCOMPARE(v, expected);
}

void tst_Binding::fieldReferences_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("resolves");
    QTest::newRow("plain field of default") << "f_Gjje" << true;
    QTest::newRow("dataset quoted field") << "cdsPrint.\"f_Gjje\"" << true;
    QTest::newRow("dataset field") << "cdsPrint.f_Gjje" << true;
    QTest::newRow("letter case") << "CDSPRINT.\"F_GJJE\"" << true;
    QTest::newRow("quoted field with dot and blank") << "cdsPrint.\"f a.b\"" << true;
    QTest::newRow("form dataset field") << "FrmKestrane.cdsPrint.\"f_Djh\"" << true;
    QTest::newRow("through the adapter") << "RMDBDataSet1.\"f_Djh\"" << true;
    QTest::newRow("unknown field") << "cdsPrint.\"f_None\"" << false;
    QTest::newRow("unknown dataset") << "cdsNone.\"f_Djh\"" << false;
    QTest::newRow("unknown form") << "FrmNone.cdsPrint.\"f_Djh\"" << false;
    QTest::newRow("four components") << "a.b.c.d.\"f\"" << false;
    QTest::newRow("expression") << "1 + 2" << false;
}

void tst_Binding::fieldReferences() {
    QFETCH(QString, reference);
    QFETCH(bool, resolves);
    Form f;
    f.form.show(); // a top-level form is found by name among the application's windows
    TRMDataDictionary::FieldRef ref;
    QCOMPARE(TRMDataBinding::resolveField(*f.report, reference, f.cdsPrint, ref), resolves);
    if (resolves)
        QCOMPARE(ref.dataset.data(), f.cdsPrint);
}

void tst_Binding::expandsFieldLines() {
    Form f;
    TRMEvaluator& ev = f.report->evaluator();
    QCOMPARE(ev.expandLine(QStringLiteral("已兑:[cdsPrint.\"f_Gjje\" #N0.00] [cdsPrint.\"f_Djh\"]"),
                           DisplayFormat::defaultWord(), QString(), true),
             QStringLiteral("已兑:12.50 A1"));
    // A null amount reads 0, which HideZeros hides.
    f.cdsPrint->setRecNo(1);
    const uint32_t amount = DisplayFormat::makeWord(fcNumber, 4, 2);
    QCOMPARE(ev.expandLine(QStringLiteral("[cdsPrint.\"f_Gjje\"]"), amount,
                           QStringLiteral("####0.00"), true),
             QString());
    f.cdsPrint->setRecNo(2);
    QCOMPARE(ev.expandLine(QStringLiteral("[cdsPrint.\"f_Gjje\"]"), amount,
                           QStringLiteral("####0.00"), true),
             QStringLiteral("0.00"));
    // A dictionary variable holding a field reference reads the field.
    f.report->Dictionary.Variables = {
        {QStringLiteral("金额"), QStringLiteral("cdsPrint.\"f_Gjje\"")}};
    f.cdsPrint->setRecNo(0);
    QCOMPARE(ev.getValue(QStringLiteral("金额")).toDouble(), 12.5);
}

void tst_Binding::bindPage() {
    Form f;
    TRMPage* page = f.report->addPage();
    auto band = [&](int kind, int top, const QString& dataset = QString()) {
        auto* b = new TRMBandView;
        b->setBandType(kind);
        b->Top = top;
        b->Height = 20;
        b->setDataSet(dataset);
        page->addView(b);
        return b;
    };
    TRMBandView* header = band(btMasterHeader, 0);
    TRMBandView* g1 = band(btGroupHeader, 20);
    TRMBandView* g2 = band(btGroupHeader, 40);
    TRMBandView* data = band(btMasterData, 60, QStringLiteral("RMDBDataSet1"));
    TRMBandView* f2 = band(btGroupFooter, 80);
    TRMBandView* f1 = band(btGroupFooter, 100);
    TRMBandView* footer = band(btMasterFooter, 120);
    auto* memo = new TRMMemoView;
    memo->Top = 62;
    memo->Memo = {QStringLiteral("[f_Gjje]")};
    memo->setProp(QStringLiteral("DataFieldOnly"), true);
    page->addView(memo);
    auto* text = new TRMMemoView;
    text->Top = 64;
    text->Memo = {QStringLiteral("[f_Gjje]")};
    text->setProp(QStringLiteral("TextOnly"), true);
    page->addView(text);
    auto* calc = new TRMCalcMemoView;
    calc->Top = 122;
    calc->Memo = {QStringLiteral("[cdsPrint.\"f_Gjje\"]")};
    calc->Filter = QStringLiteral("[cdsPrint.\"f_Gjje\"] > 1");
    page->addView(calc);

    TRMDataBinding::bindPage(*f.report, *page);
    QCOMPARE(data->Adapter.data(), f.adapter);
    QCOMPARE(data->HeaderBand.data(), header);
    QCOMPARE(data->FooterBand.data(), footer);
    QCOMPARE(data->Groups.size(), 2);
    QCOMPARE(data->Groups[0].data(), g1);
    QCOMPARE(g1->FooterBand.data(), f1);
    QCOMPARE(g2->FooterBand.data(), f2);
    QVERIFY(memo->isBound());
    QVERIFY(!text->isBound());
    QVERIFY(calc->CompiledFilter);
    QCOMPARE(calc->AggregatedExpression, QStringLiteral("cdsPrint.\"f_Gjje\""));
    // The bound memo prints the field with the field's display format.
    QCOMPARE(f.report->expandView(memo), QStringList{QStringLiteral("12.50")});

    calc->Filter = QStringLiteral("(1 +");
    QVERIFY_THROWS_EXCEPTION(Error, TRMDataBinding::bindPage(*f.report, *page));
}

void tst_Binding::dialogFormHostsAdapters() {
    Form f;
    QWidget* host = TRMDataBinding::dialogForm();
    QVERIFY(host);
    QCOMPARE(host->objectName(), QStringLiteral("RMDialogForm"));
    auto* adapter = new TRMDBDataSet(host);
    adapter->setObjectName(QStringLiteral("RMGridDataSet"));
    adapter->setDataSet(f.cdsPrint);
    QCOMPARE(TRMDataBinding::findComponent(*f.report, QStringLiteral("RMDialogForm.RMGridDataSet")),
             adapter);
    TRMDataDictionary::FieldRef ref;
    QVERIFY(TRMDataBinding::resolveField(
        *f.report, QStringLiteral("RMDialogForm.RMGridDataSet.\"f_Djh\""), nullptr, ref));
    delete adapter;
}

QTEST_MAIN(tst_Binding)
#include "tst_Binding.moc"
