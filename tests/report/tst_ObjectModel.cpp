// The report object model: defaults, flags, derived and by-name properties, band kinds,
// variables, the add-in registry, ownership and property references in expressions.
#include "report/DisplayFormat.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMCheckBoxView.h"
#include "report/TRMDataset.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMReport.h"
#include "report/TRMVariables.h"
#include "report/TRMViewFactory.h"

#include <QPointer>
#include <QtTest>

using namespace kestrane::report;

class tst_ObjectModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newViewDefaults();
    void propertiesByName_data();
    void propertiesByName();
    void derivedFrame();
    void bandKinds();
    void bandColumnsLimited();
    void variables();
    void factory();
    void ownership();
    void propertyReferences();
    void expandViewUsesOwnFormat();
    void adapterRange();
    void calcMemoExpression();
};

void tst_ObjectModel::newViewDefaults() {
    TRMMemoView memo;
    QCOMPARE(memo.Font.Name, QStringLiteral("Arial"));
    QCOMPARE(memo.Font.Size, 10);
    QCOMPARE(memo.Font.Charset, 134);
    QVERIFY(memo.HideZeros());
    QVERIFY(!memo.WordWrap());
    QCOMPARE(memo.LineSpacing, 2);
    QCOMPARE(memo.Highlight.FontStyle, int(fsBold));
    QCOMPARE(memo.Highlight.FillColor, clWhite);
    QVERIFY(memo.PrintFrame() && memo.PrintVisible());
    QCOMPARE(memo.FillColor, clNone);
    QCOMPARE(memo.GapX, 2);

    TRMBandView band;
    QVERIFY(band.bandFlag(flBandOnFirstPage) && band.bandFlag(flBandOnLastPage));
    QVERIFY(band.bandFlag(flBandPrintColFirst));
    // On bands 0x0400 and 0x0800 are PrintColFirst and RepeatHeader1.
    QCOMPARE(band.Flags, quint16(flBandOnFirstPage | flBandOnLastPage | flBandPrintColFirst));
    QCOMPARE(band.Columns(), 1);
    QCOMPARE(band.ColumnWidth, 200);
    QCOMPARE(band.ColumnGap, 20);
    QCOMPARE(band.NewColumnAfter, 1);
    QCOMPARE(band.RangeBegin, int(rbDefault));
    QCOMPARE(band.RangeEnd, int(reDefault));

    TRMCalcMemoView calc;
    QVERIFY(calc.ResetAfterPrint);
}

void tst_ObjectModel::propertiesByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<quint16>("flags");
    QTest::newRow("word wrap") << "wordwrap" << QVariant(true) << quint16(0x0002 | 0x0C40);
    QTest::newRow("text only") << "TEXTONLY" << QVariant(true) << quint16(0x0010 | 0x0C40);
    QTest::newRow("suppress") << "Suppress" << QVariant(true) << quint16(0x0020 | 0x0C40);
    QTest::newRow("hide zeros off") << "HideZeros" << QVariant(false) << quint16(0x0C00);
    QTest::newRow("merge repeated") << "MergeRepeated" << QVariant(true) << quint16(0x1C40);
    QTest::newRow("stretched") << "stretched" << QVariant(true) << quint16(0x0C41);
    QTest::newRow("print frame off") << "PrintFrame" << QVariant(false) << quint16(0x0840);
    QTest::newRow("rtl") << "RTLReading" << QVariant(true) << quint16(0x0E40);
}

void tst_ObjectModel::propertiesByName() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(quint16, flags);
    TRMMemoView memo;
    QVERIFY(memo.setProp(name, value));
    QCOMPARE(memo.Flags, flags);
    QCOMPARE(memo.prop(name), value);
}

void tst_ObjectModel::derivedFrame() {
    TRMMemoView memo;
    QVERIFY(memo.setProp(QStringLiteral("FrameTyp"), 8 | 1));
    QVERIFY(memo.TopFrame.Visible && memo.RightFrame.Visible);
    QVERIFY(!memo.LeftFrame.Visible && !memo.BottomFrame.Visible);
    QVERIFY(memo.setProp(QStringLiteral("FrameWidth"), 2.5));
    QCOMPARE(memo.BottomFrame.Width, 2.5);
    QVERIFY(memo.setProp(QStringLiteral("Font.Name"), QStringLiteral("宋体")));
    QCOMPARE(memo.Font.Name, QStringLiteral("宋体"));
    QVERIFY(memo.setProp(QStringLiteral("leftframe.color"), 255));
    QCOMPARE(memo.LeftFrame.Color, 255);
    QVERIFY(memo.setProp(QStringLiteral("DataFieldOnly"), true));
    QCOMPARE(memo.Flags2, qint32(fl2DataFieldOnly));
    QVERIFY(memo.setProp(QStringLiteral("DataField"), QStringLiteral("[a]")));
    QCOMPARE(memo.Memo, QStringList{QStringLiteral("[a]")});
    QVERIFY(!memo.setProp(QStringLiteral("NoSuchProperty"), 1));
    QVERIFY(!memo.prop(QStringLiteral("NoSuchProperty")).isValid());
}

void tst_ObjectModel::bandKinds() {
    QCOMPARE(TRMBandView::bandKindName(btReportTitle), QStringLiteral("标题"));
    QCOMPARE(TRMBandView::bandKindName(btMasterData), QStringLiteral("主项数据"));
    QCOMPARE(TRMBandView::bandKindName(btGroupFooter), QStringLiteral("分组注脚"));
    QCOMPARE(TRMBandView::bandKindName(btNone), QStringLiteral("无"));
    QVERIFY(TRMBandView::bandKindName(23).isEmpty());
    TRMBandView band;
    QVERIFY(band.setProp(QStringLiteral("BandType"), int(btGroupHeader)));
    QVERIFY(band.setProp(QStringLiteral("Condition"), QStringLiteral("[ds.\"f_Bmbm\"]")));
    QCOMPARE(band.FormatString, QStringLiteral("[ds.\"f_Bmbm\"]"));
    QCOMPARE(band.prop(QStringLiteral("DataSet")), QVariant(QStringLiteral("[ds.\"f_Bmbm\"]")));
    QVERIFY(band.setProp(QStringLiteral("GroupsPerPage"), 4));
    QCOMPARE(band.LinesPerPage, 4);
}

void tst_ObjectModel::bandColumnsLimited() {
    TRMBandView band;
    QVERIFY(band.setProp(QStringLiteral("Columns"), 150));
    QCOMPARE(band.Columns(), 99);
}

void tst_ObjectModel::variables() {
    TRMVariables v;
    v.SetVariable(QStringLiteral("Title"), QStringLiteral("a"));
    v.SetVariable(QStringLiteral("TITLE"), QStringLiteral("b"));
    QCOMPARE(v.Count(), 1);
    QCOMPARE(v.GetVariable(QStringLiteral("title")), QVariant(QStringLiteral("b")));
    QCOMPARE(v.NameAt(0), QStringLiteral("Title"));
    QCOMPARE(v.IndexOf(QStringLiteral("none")), -1);
    QVERIFY(!v.GetVariable(QStringLiteral("none")).isValid());
    v.SetVariable(QStringLiteral("n"), 3);
    v.Delete(0);
    QCOMPARE(v.NameAt(0), QStringLiteral("n"));
    QCOMPARE(v.ValueAt(0), QVariant(3));
    v.Clear();
    QCOMPARE(v.Count(), 0);
}

void tst_ObjectModel::factory() {
    for (int kind : {0, 1, 2, 3, 4, 5, 7, 8}) {
        std::unique_ptr<TRMView> v(TRMViewFactory::create(kind, nullptr));
        QVERIFY(v);
        QCOMPARE(v->viewKind(), kind);
    }
    QVERIFY(!TRMViewFactory::create(6, nullptr));
    QVERIFY(!TRMViewFactory::create(10, nullptr));
    for (const char* name : {"TRMRichView", "TRMCheckBoxView", "TRMShapeView", "TRMDiagonalView",
                             "TRMRoundRectView"}) {
        std::unique_ptr<TRMView> v(TRMViewFactory::createAddIn(QString::fromLatin1(name), nullptr));
        QVERIFY(v);
        QCOMPARE(v->viewKind(), int(gtAddIn));
        QCOMPARE(v->rmClassName(), QString::fromLatin1(name));
    }
    QVERIFY(!TRMViewFactory::createAddIn(QStringLiteral("TRMChartView"), nullptr));
    TRMViewFactory::registerAddIn(QStringLiteral("TRMChartView"),
                                  [](QObject* p) { return new TRMCheckBoxView(p); });
    QVERIFY(TRMViewFactory::isRegistered(QStringLiteral("trmchartview")));
    TRMViewFactory::unregisterAddIn(QStringLiteral("TRMChartView"));
    QVERIFY(!TRMViewFactory::isRegistered(QStringLiteral("TRMChartView")));
}

void tst_ObjectModel::ownership() {
    TRMReport report;
    TRMPage* page = report.addPage();
    auto* memo = new TRMMemoView;
    page->addView(memo);
    QPointer<TRMMemoView> watch(memo);
    QCOMPARE(memo->parent(), page);
    delete memo;
    QVERIFY(page->views().isEmpty());
    auto* second = new TRMMemoView;
    page->addView(second);
    watch = second;
    report.ClearDesign();
    QVERIFY(watch.isNull());
    QCOMPARE(report.pageCount(), 0);
}

void tst_ObjectModel::propertyReferences() {
    TRMReport report;
    TRMPage* page = report.addPage();
    auto* memo = new TRMMemoView;
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->Left = 33;
    page->addView(memo);
    page->PaperWidth = 100000;
    TRMEvaluator& ev = report.evaluator();
    QCOMPARE(ev.getValue(QStringLiteral("memo1.left")), QVariant(33));
    QCOMPARE(ev.getValue(QStringLiteral("PAGE1.PaperWidth")), QVariant(qint32(100000)));
    QCOMPARE(ev.evaluate(QStringLiteral("[Memo1.Left] + 1")), QVariant(34));
    // OnGetValue answers before everything else.
    report.OnGetValue = [](const QString& name, QVariant& v, bool& handled) {
        if (name == u"Memo1.Left") {
            v = 7;
            handled = true;
        }
    };
    QCOMPARE(ev.getValue(QStringLiteral("Memo1.Left")), QVariant(7));
}

void tst_ObjectModel::expandViewUsesOwnFormat() {
    TRMReport report;
    TRMVariables globals;
    report.evaluator().globalVariables = &globals;
    globals.SetVariable(QStringLiteral("Amount"), 12.5);
    globals.SetVariable(QStringLiteral("Zero"), 0.0);
    TRMPage* page = report.addPage();
    auto* memo = new TRMMemoView;
    page->addView(memo);
    memo->FormatWord = DisplayFormat::makeWord(fcNumber, 4, 2);
    memo->FormatString = QStringLiteral("####0.00");
    memo->Memo = {QStringLiteral("金额:[Amount]"), QStringLiteral("[Zero]")};
    QCOMPARE(report.expandView(memo), (QStringList{"金额:12.50", ""}));
    memo->setProp(QStringLiteral("HideZeros"), false);
    QCOMPARE(report.expandView(memo), (QStringList{"金额:12.50", "0.00"}));
    memo->setProp(QStringLiteral("TextOnly"), true);
    QCOMPARE(report.expandView(memo), memo->Memo);
}

void tst_ObjectModel::adapterRange() {
    // An adapter over no dataset with reCount yields exactly RangeEndCount records.
    TRMDataset ds;
    ds.RangeEnd = reCountRecords;
    ds.RangeEndCount = 3;
    int n = 0;
    for (ds.First(); !ds.Eof() && n < 100; ds.Next())
        ++n;
    QCOMPARE(n, 3);
    TRMDataset slave;
    ds.addSlave(&slave);
    int slaveFirsts = 0;
    slave.OnFirst = [&slaveFirsts] { ++slaveFirsts; };
    ds.First();
    ds.Next();
    QCOMPARE(slaveFirsts, 2);
}

void tst_ObjectModel::calcMemoExpression() {
    TRMCalcMemoView calc;
    calc.Memo = {QStringLiteral("合计:[cdsPrint.\"f_Gjje\" #N0.00] 元"), QStringLiteral("[x]")};
    QCOMPARE(calc.aggregatedExpression(), QStringLiteral("cdsPrint.\"f_Gjje\" #N0.00"));
}

QTEST_MAIN(tst_ObjectModel)
#include "tst_ObjectModel.moc"
