// The stock templates of the six query views: stored as text, read back through the
// template reader, bound to a print dataset like the query form's, and expanded.
#include "data/MemTable.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMDBDataSet.h"
#include "report/TRMDataBinding.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMQueryTemplates.h"
#include "report/TRMReport.h"

#include <QWidget>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::report;

class tst_QueryTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void views_data();
    void views();
    void unknownView();
};

void tst_QueryTemplates::views_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("amounts");
    QTest::newRow("单据汇总") << "单据汇总"
                              << QStringList{"f_Hsdwh", "f_Hsdwmc", "f_Bmbm",   "f_Bmmc",  "f_gjlx",
                                             "f_Rzrq",  "f_Djh",    "f_Fptjdh", "f_Gysbm", "f_Csmc",
                                             "f_Gjje",  "f_Ygsl",   "f_Ygws",   "f_Ygje",  "f_Gdrq",
                                             "f_Gdrbm", "f_Gdrmc"}
                              << 4;
    QTest::newRow("厂商汇总") << "厂商汇总" << QStringList{"f_Gysbm", "f_Csmc", "f_Gjje",
                                                           "f_Ygsl",  "f_Ygws", "f_Ygje"}
                              << 4;
    QTest::newRow("部门汇总") << "部门汇总" << QStringList{"f_Bmbm", "f_Bmmc", "f_Gjje",
                                                           "f_Ygsl", "f_Ygws", "f_Ygje"}
                              << 4;
    QTest::newRow("商品汇总") << "商品汇总" << QStringList{"f_Spbm", "f_Spmc", "f_Gjje",
                                                           "f_Ygsl", "f_Ygws", "f_Ygje"}
                              << 4;
    QTest::newRow("提交单汇总") << "提交单汇总"
                                << QStringList{"f_Gysbm", "f_Csmc",  "f_Gjje",  "f_Ygsl",
                                               "f_Ygws",  "f_Ygje",  "f_Fpje",  "f_Fptjdh",
                                               "f_Gdrq",  "f_Gdrbm", "f_Gdrmc", "f_Bz"}
                                << 5;
    QTest::newRow("明细") << "明细"
                          << QStringList{"f_Hsdwh", "f_Hsdwmc", "f_Bmbm", "f_Bmmc",  "f_gjlx",
                                         "f_Rzrq",  "f_Djh",    "f_Dnxh", "f_Gysbm", "f_Csmc",
                                         "f_Spbm",  "f_Spmc",   "f_Gjje", "f_Ygsl",  "f_Ygws",
                                         "f_Ygje",  "f_Fptjdh", "f_Gdrq", "f_Gdrbm", "f_Gdrmc"}
                          << 4;
}

void tst_QueryTemplates::views() {
    QFETCH(QString, view);
    QFETCH(QStringList, fields);
    QFETCH(int, amounts);

    // The query form: the print dataset with the view's fields and the template's adapter.
    QWidget form;
    form.setObjectName(QStringLiteral("FrmKestrane"));
    auto* cdsPrint = new MemTable(&form);
    cdsPrint->setObjectName(QStringLiteral("cdsPrint"));
    QList<FieldDef> defs;
    for (const QString& f : fields) {
        const bool amount =
            QStringList{"f_Gjje", "f_Ygsl", "f_Ygws", "f_Ygje", "f_Fpje"}.contains(f);
        defs.append(FieldDef{f, QString(), amount ? FieldType::Float : FieldType::String, 20});
    }
    cdsPrint->setFieldDefs(defs);
    cdsPrint->createDataSet();
    QVariantList row;
    for (const FieldDef& d : defs)
        row.append(d.type == FieldType::Float ? QVariant(12.5) : QVariant(QStringLiteral("文本")));
    cdsPrint->appendRecord(row);
    cdsPrint->first();
    auto* adapter = new TRMDBDataSet(&form);
    adapter->setObjectName(QStringLiteral("RMDBDataSet1"));
    adapter->setDataSet(cdsPrint);
    auto* report = new TRMReport(&form);
    TRMVariables vars;
    report->evaluator().globalVariables = &vars;
    vars.SetVariable(QStringLiteral("cxtj"), QStringLiteral("查询条件：  2005-01-15"));
    vars.SetVariable(QStringLiteral("cxrq"), QStringLiteral("20050310"));

    const QString text = TRMQueryTemplates::templateText(view);
    QVERIFY(text.endsWith(u'#'));
    QVERIFY(report->LoadTemplateText(text));
    QCOMPARE(report->pageCount(), 1);
    TRMPage* page = report->page(0);
    for (int kind : {btReportTitle, btPageHeader, btMasterData, btMasterFooter, btPageFooter})
        QCOMPARE(page->bandsOfKind(kind).size(), 1);
    TRMBandView* data = page->bandsOfKind(btMasterData).first();
    QCOMPARE(data->DataSet(), QStringLiteral("RMDBDataSet1"));
    TRMDataBinding::bindPage(*report, *page);
    QCOMPARE(data->Adapter.data(), adapter);

    QStringList titleTexts, headerTexts, dataTexts, footerTexts;
    int sums = 0;
    for (TRMView* v : page->views()) {
        if (qobject_cast<TRMBandView*>(v))
            continue;
        TRMBandView* band = TRMDataBinding::bandOf(*page, *v);
        QVERIFY2(band, qPrintable(v->objectName()));
        const QString expanded = report->expandView(v).join(u'\n');
        switch (band->BandType()) {
        case btReportTitle:
            titleTexts.append(expanded);
            break;
        case btPageHeader:
            headerTexts.append(expanded);
            break;
        case btMasterData:
            dataTexts.append(expanded);
            QVERIFY(v->isBound());
            break;
        case btMasterFooter:
            if (auto* calc = qobject_cast<TRMCalcMemoView*>(v)) {
                QCOMPARE(calc->DBCalcType, int(rmdcSum));
                QCOMPARE(calc->DataBand, QStringLiteral("MasterData1"));
                QCOMPARE(calc->FormatString, QStringLiteral("####0.00"));
                ++sums;
            } else {
                footerTexts.append(expanded);
            }
            break;
        case btPageFooter:
            QCOMPARE(expanded, QStringLiteral("第1页"));
            break;
        }
    }
    QVERIFY(titleTexts.contains(QStringLiteral("查询条件：  2005-01-15")));
    QVERIFY(titleTexts.contains(QStringLiteral("查询日期:20050310")));
    QCOMPARE(headerTexts.size(), fields.size());
    QCOMPARE(dataTexts.size(), fields.size());
    QCOMPARE(dataTexts.count(QStringLiteral("12.50")), amounts);
    QCOMPARE(dataTexts.count(QStringLiteral("文本")), fields.size() - amounts);
    QCOMPARE(sums, amounts);
    QVERIFY(footerTexts.contains(QStringLiteral("合计")));
}

void tst_QueryTemplates::unknownView() {
    QVERIFY(TRMQueryTemplates::templateText(QStringLiteral("无此视图")).isEmpty());
    QCOMPARE(TRMQueryTemplates::viewNames().size(), 6);
    QCOMPARE(TRMQueryTemplates::sortName(), QStringLiteral("已勾验收单"));
}

QTEST_MAIN(tst_QueryTemplates)
#include "tst_QueryTemplates.moc"
