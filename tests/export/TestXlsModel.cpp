// The workbook model's own rules: names and titles, bounds, column and row objects, values.
#include "common/Error.h"
#include "export/xls/TqelXLSWorkbook.h"
#include "export/xls/XlsTextStore.h"

#include <QTest>

using namespace kestrane::xls;

class TestXlsModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titleIsTrimmedAndCut_data();
    void titleIsTrimmedAndCut();
    void sheetNamesAreNumberedAndCut_data();
    void sheetNamesAreNumberedAndCut();
    void boundsFollowRangesColumnsAndRows();
    void columnAndRowObjectsAreFoundOrAppended();
    void invalidIndicesAreRefused();
    void pageBreaksAreListedOnce();
    void widthIsKeptWithinColumnLimit();
    void pixelConversionsRound();
    void setValueTurnsCrLfIntoLf();
    void cellKindFollowsValueType_data();
    void cellKindFollowsValueType();
    void rangeDefaults();
    void looksAreKeptOncePerWorkbook();
    void imagesCopyOrBorrowThePicture();
};

void TestXlsModel::titleIsTrimmedAndCut_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default") << QString() << QString(); // marker: keep the default
    QTest::newRow("trimmed") << QStringLiteral("  报表  ") << QStringLiteral("报表");
    const QString seventy(70, QChar(u'汉'));
    QTest::newRow("cut to 66") << seventy << QString(66, QChar(u'汉'));
    // 65 letters then a surrogate pair: cutting at 66 would split the pair.
    const QString pair = QString(65, QChar(u'a')) + QString::fromUtf8("😀") + QStringLiteral("b");
    QTest::newRow("pair kept whole") << pair << QString(65, QChar(u'a'));
}

void TestXlsModel::titleIsTrimmedAndCut() {
    QFETCH(QString, input);
    QFETCH(QString, expected);
    TqelXLSWorkbook wb;
    if (input.isNull()) {
        QCOMPARE(wb.Title(), QStringLiteral("qel_Report"));
        return;
    }
    wb.SetTitle(input);
    QCOMPARE(wb.Title(), expected);
}

void TestXlsModel::sheetNamesAreNumberedAndCut_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("40 characters") << QStringLiteral("0123456789012345678901234567890123456789")
                                   << QStringLiteral("0123456789012345678901234567890");
    QTest::newRow("cut then trimmed")
        << (QString(30, QChar(u'x')) + QStringLiteral("  tail")) << QString(30, QChar(u'x'));
    QTest::newRow("chinese") << QStringLiteral(" 已勾兑验收单 ") << QStringLiteral("已勾兑验收单");
}

void TestXlsModel::sheetNamesAreNumberedAndCut() {
    QFETCH(QString, input);
    QFETCH(QString, expected);
    TqelXLSWorkbook wb;
    QCOMPARE(wb.AddSheet().Name(), QStringLiteral("Sheet1"));
    TqelXLSWorksheet& second = wb.AddSheet();
    QCOMPARE(second.Name(), QStringLiteral("Sheet2"));
    QCOMPARE(second.Workbook(), &wb);
    second.SetName(input);
    QCOMPARE(second.Name(), expected);
    wb.Clear();
    QCOMPARE(wb.SheetCount(), 0);
    QCOMPARE(wb.AddSheet().Name(), QStringLiteral("Sheet1"));
}

void TestXlsModel::boundsFollowRangesColumnsAndRows() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    QCOMPARE(s.Bounds().minColumn, -1);
    QCOMPARE(s.Bounds().maxRow, -1);
    s.AddRange(3, 5, 4, 7);
    QCOMPARE(s.Bounds().minColumn, 3);
    QCOMPARE(s.Bounds().minRow, 5);
    QCOMPARE(s.Bounds().maxColumn, 4);
    QCOMPARE(s.Bounds().maxRow, 7);
    s.ColAt(9);
    QCOMPARE(s.Bounds().maxColumn, 9);
    QCOMPARE(s.Bounds().maxRow, 7); // a column does not widen the rows
    s.RowAt(1);
    QCOMPARE(s.Bounds().minRow, 1);
    QCOMPARE(s.Bounds().minColumn, 3);
    s.AddRange(0, 2, 0, 2);
    QCOMPARE(s.Bounds().minColumn, 0);
    // A rectangle given backwards is taken as its first cell's column and row.
    TqelXLSRange& back = s.AddRange(6, 20, 5, 19);
    QCOMPARE(back.Rect().right, 6);
    QCOMPARE(back.Rect().bottom, 20);
    QVERIFY(!back.IsMerged());
}

void TestXlsModel::columnAndRowObjectsAreFoundOrAppended() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    TqelXLSCol& c5 = s.ColAt(5);
    QCOMPARE(c5.Width(), 2048);
    c5.SetWidth(3000);
    s.ColAt(2);
    QCOMPARE(&s.ColAt(5), &c5);
    QCOMPARE(s.ColAt(5).Width(), 3000);
    QCOMPARE(s.Columns().size(), size_t(2));
    QCOMPARE(s.Columns().back().Index(), 2); // appended at the end, not sorted
    TqelXLSRow& r = s.RowAt(4);
    QCOMPARE(r.Height(), 255);
    for (int i = 0; i < 1000; ++i)
        s.RowAt(i);
    QCOMPARE(&s.RowAt(4), &r); // still the same object after many more rows
    QCOMPARE(s.Rows().size(), size_t(1000));
    QCOMPARE(s.FindRow(999)->Index(), 999);
    QVERIFY(!s.FindRow(1000));
}

void TestXlsModel::invalidIndicesAreRefused() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, s.AddRange(-1, 0, 0, 0));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, s.AddRange(0, -3, 0, 0));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, s.ColAt(-1));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, s.RowAt(-1));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, s.AddPageBreak(-2));
    QCOMPARE(s.Bounds().maxRow, -1);
    QVERIFY(s.Ranges().empty());
}

void TestXlsModel::pageBreaksAreListedOnce() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddPageBreak(40);
    s.AddPageBreak(10);
    s.AddPageBreak(40);
    QCOMPARE(s.PageBreaks(), (QList<int>{40, 10}));
}

void TestXlsModel::widthIsKeptWithinColumnLimit() {
    TqelXLSCol c(0);
    c.SetWidth(70000);
    QCOMPARE(c.Width(), TqelXLSCol::MaxWidth);
    c.SetWidth(65280);
    QCOMPARE(c.Width(), 65280);
    c.SetWidth(-5);
    QCOMPARE(c.Width(), 0);
}

void TestXlsModel::pixelConversionsRound() {
    // Without a GUI application the classic screen applies: "x" is 7 pixels, 96 dpi.
    TqelXLSCol c(0);
    c.SetWidthPixels(7);
    QCOMPARE(c.Width(), 256);
    c.SetWidthPixels(10); // 2560 / 7 = 365.71
    QCOMPARE(c.Width(), 366);
    c.SetWidthPixels(100000); // beyond a column's widest
    QCOMPARE(c.Width(), TqelXLSCol::MaxWidth);
    TqelXLSRow r(0);
    r.SetHeightPixels(17); // 17 * 1440 / 96 = 255
    QCOMPARE(r.Height(), 255);
    r.SetHeightPixels(1); // 15
    QCOMPARE(r.Height(), 15);
}

void TestXlsModel::setValueTurnsCrLfIntoLf() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& sheet = wb.AddSheet();
    TqelXLSRange& r = sheet.AddRange(0, 0, 0, 0);
    r.SetValue(QStringLiteral("第一行\r\n第二行\r\n\r\n末\r行"));
    QCOMPARE(r.Value().toString(), QStringLiteral("第一行\n第二行\n\n末\r行"));
    QCOMPARE(r.Value().typeId(), int(QMetaType::QString));
    r.SetValue(12.5);
    QCOMPARE(r.Value().typeId(), int(QMetaType::Double));
    QCOMPARE(r.Value().toDouble(), 12.5);
    // Texts are kept in large shared blocks: one longer than a block, and many after it, each
    // come back whole and unchanged.
    const QString longText(XlsTextStore::BlockChars + 3, QChar(u'长'));
    TqelXLSRange& big = sheet.AddRange(1, 0, 1, 0);
    big.SetText(longText);
    std::vector<TqelXLSRange*> small;
    for (int i = 0; i < 1000; ++i) {
        small.push_back(&sheet.AddRange(2, i, 2, i));
        small.back()->SetText(QStringLiteral("第%1行\r\n").arg(i).repeated(300));
    }
    QCOMPARE(big.Text(), QStringView(longText));
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(small[size_t(i)]->Value().toString(),
                 QStringLiteral("第%1行\n").arg(i).repeated(300));
}

void TestXlsModel::cellKindFollowsValueType_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("kind");
    const int text = int(TqelXLSRange::Kind::Text), number = int(TqelXLSRange::Kind::Number);
    QTest::newRow("short") << QVariant::fromValue<short>(-3) << QString() << number;
    QTest::newRow("int") << QVariant(42) << QString() << number;
    QTest::newRow("uchar") << QVariant::fromValue<uchar>(200) << QString() << number;
    QTest::newRow("float") << QVariant::fromValue<float>(1.5f) << QString() << number;
    QTest::newRow("double") << QVariant(2.25) << QString() << number;
    QTest::newRow("int64 is text") << QVariant(qlonglong(7)) << QString() << text;
    QTest::newRow("string") << QVariant(QStringLiteral("12")) << QString() << text;
    QTest::newRow("empty") << QVariant() << QString() << text;
    QTest::newRow("formula wins") << QVariant(1) << QStringLiteral("A1+1")
                                  << int(TqelXLSRange::Kind::Formula);
}

void TestXlsModel::cellKindFollowsValueType() {
    QFETCH(QVariant, value);
    QFETCH(QString, formula);
    QFETCH(int, kind);
    TqelXLSWorkbook wb;
    TqelXLSRange& r = wb.AddSheet().AddRange(0, 0, 0, 0);
    r.SetValue(value);
    r.SetFormula(formula);
    QCOMPARE(int(r.CellKind()), kind);
    QCOMPARE(r.Value(), value);
    QCOMPARE(r.Formula(), formula);
}

void TestXlsModel::rangeDefaults() {
    TqelXLSWorkbook wb;
    TqelXLSRange& r = wb.AddSheet().AddRange(1, 1, 2, 1);
    QVERIFY(r.IsMerged());
    QCOMPARE(r.Style().font.name, QStringLiteral("Arial"));
    QCOMPARE(r.Style().font.size, 10);
    QCOMPARE(r.Style().font.color, 0u);
    QCOMPARE(r.Style().horizontalAlignment, quint8(0));
    QCOMPARE(r.Style().verticalAlignment, quint8(2));
    QCOMPARE(r.Style().rotation, quint8(0));
    for (int i = 0; i < TqelXLSBorders::Count; ++i)
        QCOMPARE(r.Style().borders[i].lineStyle, quint8(0));
    const TqelXLSPageSetup& ps = wb.Sheet(0).PageSetup();
    QCOMPARE(ps.paperSize, 9);
    QCOMPARE(ps.leftMargin, 2.0);
    QCOMPARE(ps.topMargin, 2.5);
    QCOMPARE(ps.scalePercent, 100);
}

void TestXlsModel::looksAreKeptOncePerWorkbook() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& first = wb.AddSheet();
    TqelXLSWorksheet& second = wb.AddSheet();
    TqelXLSStyle bold;
    bold.font.style = TqelXLSFont::Bold;
    TqelXLSStyle framed;
    framed.borders[TqelXLSBorders::Left] = {0x123456, 1, 0};
    std::vector<TqelXLSRange*> ranges;
    for (int i = 0; i < 12; ++i) {
        TqelXLSRange& r = (i % 2 ? second : first).AddRange(0, i, 0, i);
        // Five looks in turn: more than the workbook's short memory of recent looks.
        TqelXLSStyle look = i % 3 ? bold : framed;
        look.fillForeground = quint32(i % 5);
        r.SetStyle(look);
        ranges.push_back(&r);
    }
    // The default look and the nine combinations of frame/bold and fill 0..4 that occur
    // (ranges 7, 10 and 11 repeat those of ranges 2, 5 and 1).
    QCOMPARE(wb.Styles().size(), size_t(10));
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(ranges[size_t(i)]->Style().font.style, quint8(i % 3 ? TqelXLSFont::Bold : 0));
        QCOMPARE(ranges[size_t(i)]->Style().fillForeground, quint32(i % 5));
    }
    // Ranges 1 and 11 have equal looks and so share one; giving range 1 a new look leaves
    // range 11 alone.
    QCOMPARE(&ranges[1]->Style(), &ranges[11]->Style());
    TqelXLSStyle changed = ranges[1]->Style();
    changed.wrap = true;
    ranges[1]->SetStyle(changed);
    QVERIFY(ranges[1]->Style().wrap);
    QVERIFY(!ranges[11]->Style().wrap);
    QCOMPARE(ranges[11]->Style().fillForeground, 1u);
}

void TestXlsModel::imagesCopyOrBorrowThePicture() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    TqelImage& own = s.AddImage(1, 2, 3, 4, &picture, true);
    TqelImage& borrowed = s.AddImage(0, 0, 1, 1, &picture, false);
    picture.fill(Qt::blue);
    QVERIFY(own.OwnsPicture());
    QCOMPARE(own.Picture()->pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(!borrowed.OwnsPicture());
    QCOMPARE(borrowed.Picture(), &picture);
    QCOMPARE(own.lineColor, 0xFFFFFFu);
    QCOMPARE(own.anchorX, 0);
    QCOMPARE(own.endRow, 4);
    QCOMPARE(s.Images().Count(), 2);
}

QTEST_GUILESS_MAIN(TestXlsModel)
#include "TestXlsModel.moc"
