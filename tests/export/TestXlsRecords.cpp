// The record stream byte by byte: order of the globals and sheet records, the fixed byte
// tables, cell XFs, row blocks, value records, palette, shared strings and record framing.
#include "XlsTestSupport.h"

#include "export/xls/TqelExcelWriter.h"
#include "export/xls/XlsPalette.h"

#include "common/Error.h"

#include <QBuffer>
#include <QTest>

#include <cstdlib>
#include <cstring>

using namespace kestrane::xls;
using namespace xlstest;

namespace {

QList<quint16> ids(const QList<Record>& records) {
    QList<quint16> out;
    for (const Record& r : records)
        out.append(r.id);
    return out;
}

// The cell records (NUMBER, LABELSST, BLANK, MULBLANK) of a sheet as (row, column, id).
struct Cell {
    int row, column;
    quint16 id;
    quint16 xf;
};
QList<Cell> cells(const QList<Record>& sheet) {
    QList<Cell> out;
    for (const Record& r : sheet) {
        if (r.id == 0x0203 || r.id == 0x00FD || r.id == 0x0201) {
            out.append({u16(r.data, 0), u16(r.data, 2), r.id, u16(r.data, 4)});
        } else if (r.id == 0x00BE) {
            const int first = u16(r.data, 2), last = u16(r.data, r.data.size() - 2);
            for (int c = first; c <= last; ++c)
                out.append({u16(r.data, 0), c, r.id, u16(r.data, 4 + 2 * (c - first))});
        }
    }
    return out;
}

// Reassembles the shared strings from the SST and CONTINUE records; fails on a split header.
QStringList sharedStrings(const QList<Record>& globals, bool* headersWhole) {
    QStringList out;
    *headersWhole = true;
    int i = 0;
    while (i < globals.size() && globals[i].id != 0x00FC)
        ++i;
    if (i == globals.size())
        return out;
    const quint32 count = u32(globals[i].data, 4);
    QByteArray data = globals[i].data;
    int at = 8;
    for (quint32 s = 0; s < count; ++s) {
        if (at >= data.size()) {
            data = globals[++i].data;
            at = 0;
        }
        if (data.size() - at < 3)
            *headersWhole = false;
        int remaining = u16(data, at);
        if (quint8(data[at + 2]) != 1)
            *headersWhole = false;
        at += 3;
        QString text;
        for (;;) {
            const int take = std::min(remaining, int(data.size() - at) / 2);
            for (int k = 0; k < take; ++k)
                text.append(QChar(u16(data, at + 2 * k)));
            at += 2 * take;
            remaining -= take;
            if (!remaining)
                break;
            ++i;
            if (globals[i].id != 0x003C)
                return out;
            data = globals[i].data;
            if (quint8(data[0]) != 1) // each continuation repeats the option byte
                *headersWhole = false;
            at = 1;
        }
        out.append(text);
    }
    return out;
}

QByteArray le16s(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    }
    return b;
}

} // namespace

class TestXlsRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyWorkbookHasTheFixedRecordsInOrder();
    void fixedByteTables();
    void fontsAreSharedAndWeighted();
    void cellXfBytesAndSharing();
    void twoByTwoRangeMakesValueBlankMulblankAndMerge();
    void numberLookingTexts_data();
    void numberLookingTexts();
    void numberValuesAreCorrectlyRounded();
    void numbersAndEmptyTexts();
    void sixtyOneRowsMakeTwoBlocks();
    void paletteTakesFreeEntries_data();
    void paletteTakesFreeEntries();
    void equalTextsAreNotMerged();
    void longStringsContinueWithTheOptionByte();
    void manyStringsKeepExtSstSmall();
    void mergedAreasSpreadOverRecords();
    void overlappingRangesNeverShareACell();
    void longTitleFitsTheWriteAccessRecord();
    void pageSetupPageBreaksAndColumns();
    void picturesAndLongRecordFraming();
    void pageBreaksStayWithinTheFormat();
    void refusedWritesAreErrors();
};

void TestXlsRecords::emptyWorkbookHasTheFixedRecordsInOrder() {
    TqelXLSWorkbook wb;
    wb.AddSheet();
    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> globals = section(all, -1);
    QList<quint16> expected{0x0809, 0x00E1, 0x00C1, 0x00E2, 0x005C, 0x0042, 0x0161, 0x01C0,
                            0x013D, 0x009C, 0x0019, 0x0012, 0x0013, 0x01AF, 0x01BC, 0x003D,
                            0x0040, 0x008D, 0x0022, 0x000E, 0x01B7, 0x00DA};
    for (int i = 0; i < 4; ++i)
        expected.append(0x0031);
    for (int i = 0; i < 8; ++i)
        expected.append(0x041E);
    for (int i = 0; i < 21; ++i)
        expected.append(0x00E0);
    for (int i = 0; i < 6; ++i)
        expected.append(0x0293);
    expected << 0x0160 << 0x0085 << 0x008C << 0x000A; // no PALETTE, no SST, no EXTSST
    QCOMPARE(ids(globals), expected);

    const QList<Record> sheet = section(all, 0);
    const QList<quint16> sheetIds{0x0809, 0x020B, 0x000D, 0x000C, 0x000F, 0x0011, 0x0010,
                                  0x005F, 0x002A, 0x002B, 0x0082, 0x0080, 0x0225, 0x0081,
                                  0x0014, 0x0015, 0x0083, 0x0084, 0x0026, 0x0027, 0x0028,
                                  0x0029, 0x00A1, 0x0055, 0x0200, 0x023E, 0x001D, 0x000A};
    QCOMPARE(ids(sheet), sheetIds);
    QCOMPARE(sheet[1].data, QByteArray(16, '\0'));  // INDEX: rows 0 and 0, no blocks
    QCOMPARE(sheet[24].data, QByteArray(14, '\0')); // DIMENSIONS all zero
    // BOUNDSHEET points at the sheet's BOF.
    const Record bound = withId(globals, 0x0085).first();
    QCOMPARE(qint64(u32(bound.data, 0)), sheet[0].pos);
    QCOMPARE(bound.data.mid(4), hex("00 00 06 01") + le16s({'S', 'h', 'e', 'e', 't', '1'}));
    QCOMPARE(all.last().id, quint16(0x000A));
}

void TestXlsRecords::fixedByteTables() {
    TqelXLSWorkbook wb;
    wb.AddSheet();
    wb.AddSheet();
    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> g = section(all, -1);
    QCOMPARE(g[0].data, hex("00 06 05 00 BB 0D CC 07 00 00 00 00 00 06 00 00"));
    QCOMPARE(withId(g, 0x00E1).first().data, hex("E4 04"));
    QCOMPARE(withId(g, 0x013D).first().data, hex("01 00 02 00"));
    QCOMPARE(withId(g, 0x009C).first().data, hex("0E 00"));
    QCOMPARE(withId(g, 0x003D).first().data, le16s({360, 30, 7454, 6240, 0x38, 0, 0, 1, 600}));
    QCOMPARE(withId(g, 0x000E).first().data, hex("01 00"));
    QCOMPARE(withId(g, 0x008C).first().data, hex("56 00 56 00"));
    const QByteArray writeAccess = withId(g, 0x005C).first().data;
    QCOMPARE(writeAccess.size(), 112);
    QCOMPARE(writeAccess.left(3 + 20),
             hex("0A 00 01") + le16s({'q', 'e', 'l', '_', 'R', 'e', 'p', 'o', 'r', 't'}));
    QCOMPARE(writeAccess.mid(23), QByteArray(112 - 23, ' '));

    const QList<Record> xfs = withId(g, 0x00E0);
    QCOMPARE(xfs[0].data, hex("00 00 00 00 F5 FF 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[2].data, hex("01 00 00 00 F5 FF 20 00 00 F4 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[3].data, hex("02 00 00 00 F5 FF 20 00 00 F4 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[14].data, hex("00 00 00 00 F5 FF 20 00 00 F4 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[15].data, hex("00 00 00 00 01 00 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[17].data, hex("01 00 B6 00 F5 FF 20 00 00 F8 00 00 00 00 00 00 00 00 C0 20"));
    QCOMPARE(xfs[20].data, hex("01 00 B5 00 F5 FF 20 00 00 F8 00 00 00 00 00 00 00 00 C0 20"));

    const QList<Record> styles = withId(g, 0x0293);
    const QByteArray expectedStyles[] = {hex("10 80 04 FF"), hex("11 80 07 FF"),
                                         hex("00 80 00 FF"), hex("12 80 05 FF"),
                                         hex("13 80 03 FF"), hex("14 80 06 FF")};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(styles[i].data, expectedStyles[i]);

    const QList<Record> formats = withId(g, 0x041E);
    const QList<int> formatIndex{5, 6, 7, 8, 42, 41, 44, 43};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(int(u16(formats[i].data, 0)), formatIndex[i]);
        const int len = u16(formats[i].data, 2);
        QCOMPARE(formats[i].data.size(), 5 + 2 * len);
        QString text;
        for (int k = 0; k < len; ++k)
            text.append(QChar(u16(formats[i].data, 5 + 2 * k)));
        QVERIFY2(text.contains(QStringLiteral("р")), qPrintable(text));
    }
    QCOMPARE(u16(formats[1].data, 2),
             quint16(QStringLiteral("#,##0\"р.\";[Red]\\-#,##0\"р.\"").size()));

    const QList<Record> sheet1 = section(all, 1);
    QCOMPARE(sheet1[0].data, hex("00 06 10 00 BB 0D CC 07 00 00 00 00 00 00 00 00"));
    QCOMPARE(withId(sheet1, 0x0010).first().data, hex("FC A9 F1 D2 4D 62 50 3F"));
    QCOMPARE(withId(sheet1, 0x0225).first().data, hex("00 00 FF 00"));
    QCOMPARE(withId(sheet1, 0x0081).first().data, hex("C1 04"));
    QCOMPARE(withId(sheet1, 0x0014).first().data, QByteArray());
    QCOMPARE(withId(sheet1, 0x001D).first().data,
             hex("03 00 00 00 00 00 00 01 00 00 00 00 00 00 00"));
    // Only the first sheet is selected.
    QCOMPARE(withId(section(all, 0), 0x023E).first().data,
             hex("B6 06 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00"));
    QCOMPARE(withId(sheet1, 0x023E).first().data,
             hex("B6 04 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00"));
    // SETUP with the defaults: A4, 100 %, page 1, fit 1 x 1, portrait.
    QCOMPARE(withId(sheet1, 0x00A1).first().data,
             hex("09 00 64 00 01 00 01 00 01 00 02 00 00 00 00 00") + QByteArray(16, '\0') +
                 hex("00 00"));
    QCOMPARE(f64(withId(sheet1, 0x0028).first().data, 0), 2.5);
}

void TestXlsRecords::fontsAreSharedAndWeighted() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    TqelXLSRange& plain = s.AddRange(0, 0, 0, 0);
    plain.SetValue(QStringLiteral("a"));
    TqelXLSRange& bold = s.AddRange(1, 0, 1, 0);
    bold.SetValue(QStringLiteral("b"));
    TqelXLSStyle boldLook;
    boldLook.font.style =
        TqelXLSFont::Bold | TqelXLSFont::Italic | TqelXLSFont::Underline | TqelXLSFont::StrikeOut;
    boldLook.font.name = QStringLiteral("宋体");
    boldLook.font.size = 12;
    boldLook.font.charset = 134;
    boldLook.font.color = 0x0000FF; // red
    bold.SetStyle(boldLook);
    TqelXLSRange& plainAgain = s.AddRange(2, 0, 2, 0);
    plainAgain.SetValue(QStringLiteral("c"));

    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> fonts = withId(section(all, -1), 0x0031);
    QCOMPARE(fonts.size(), 6); // four leading fonts, then the two distinct range fonts
    for (int i = 0; i < 4; ++i)
        QCOMPARE(fonts[i].data, fonts[0].data);
    // Leading: Arial 10 pt, window-text colour (black, index 8), weight 100, default charset.
    QCOMPARE(fonts[0].data, hex("C8 00 00 00 08 00 64 00 00 00 00 00 01 00 05 01") +
                                le16s({'A', 'r', 'i', 'a', 'l'}));
    QCOMPARE(fonts[4].data, fonts[0].data); // the range's black Arial
    const QByteArray b = fonts[5].data;
    QCOMPARE(u16(b, 0), quint16(240));
    QCOMPARE(u16(b, 2), quint16(0x000A)); // italic + strike-out
    QCOMPARE(u16(b, 4), quint16(10));     // red
    QCOMPARE(u16(b, 6), quint16(1000));
    QCOMPARE(quint8(b[10]), quint8(1));   // underline
    QCOMPARE(quint8(b[12]), quint8(134)); // charset
    QCOMPARE(quint8(b[14]), quint8(2));   // name length
    QCOMPARE(b.size(), 16 + 4);
    QCOMPARE(QChar(u16(b, 16)), QChar(u'宋'));

    // The ranges' XFs point at fonts 5, 6, 5 (list position + 1; index 4 is never used).
    const QList<Record> xfs = withId(section(all, -1), 0x00E0);
    const QList<Cell> c = cells(section(all, 0));
    QCOMPARE(c.size(), 3);
    QCOMPARE(u16(xfs[c[0].xf].data, 0), quint16(5));
    QCOMPARE(u16(xfs[c[1].xf].data, 0), quint16(6));
    QCOMPARE(c[2].xf, c[0].xf);
}

void TestXlsRecords::cellXfBytesAndSharing() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    TqelXLSRange& one = s.AddRange(0, 0, 0, 0);
    one.SetValue(QStringLiteral("x"));
    TqelXLSRange& framed = s.AddRange(1, 0, 2, 0);
    framed.SetValue(QStringLiteral("y"));
    TqelXLSStyle look;
    look.horizontalAlignment = 3;
    look.verticalAlignment = 1;
    look.wrap = true;
    look.rotation = 90;
    look.borders[TqelXLSBorders::Left] = {0x0000FF, 1, 0};       // thin red
    look.borders[TqelXLSBorders::Right] = {0xFF0000, 3, 0};      // dashed blue
    look.borders[TqelXLSBorders::Top] = {0x00FF00, 4, 0};        // dotted lime
    look.borders[TqelXLSBorders::Bottom] = {0x000000, 11, 0};    // dash-dot-dot black
    look.borders[TqelXLSBorders::DiagonalUp] = {0x00FFFF, 1, 0}; // never written
    look.fillPattern = TqelXLSStyle::PatternSolid;
    look.fillForeground = 0xFFFF00; // aqua
    look.fillBackground = 0xFFFFFF;
    framed.SetStyle(look);
    TqelXLSRange& same = s.AddRange(0, 1, 0, 1);
    same.SetValue(QStringLiteral("z"));

    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> xfs = withId(section(all, -1), 0x00E0);
    QCOMPARE(xfs.size(), 15 + 6 + 2); // the third range shares the first one's XF
    // One cell, default look: font 5, General, bottom alignment, attribute word FC00, no
    // borders, fill colours black (index 8) as mapped.
    QCOMPARE(xfs[21].data, hex("05 00 00 00 01 00 20 00 00 FC 00 00 00 00 00 00 00 00 08 04"));
    // Merged, right + centre + wrap, rotated 90: borders left 1, right 3, top 4, bottom 11;
    // colours red 10, blue 12, lime 11, black 8; solid aqua 15 on white 9.
    QByteArray expected;
    expected += hex("05 00 00 00 01 00");
    expected += char(3 | 8 | (1 << 4));
    expected += char(90);
    expected += hex("20 FC");
    expected += le16s({1 | (3 << 4) | (4 << 8) | (11 << 12), 10 | (12 << 7)});
    const quint32 tb = 11 | (8 << 7) | (1u << 26);
    expected += le16s({int(tb & 0xFFFF), int(tb >> 16), 15 | (9 << 7)});
    QCOMPARE(xfs[22].data, expected);
    const QList<Cell> c = cells(section(all, 0));
    QCOMPARE(c[0].xf, quint16(21));
    QCOMPARE(c[1].xf, quint16(22));
    QCOMPARE(c[2].xf, quint16(22)); // the merged area's second cell
    QCOMPARE(c[3].xf, quint16(21));
}

void TestXlsRecords::twoByTwoRangeMakesValueBlankMulblankAndMerge() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    TqelXLSRange& r = s.AddRange(2, 3, 3, 4);
    r.SetValue(QStringLiteral("合并"));
    const QList<Record> sheet = section(parse(streamOf(wb)), 0);
    const QList<Cell> c = cells(sheet);
    QCOMPARE(c.size(), 4);
    QCOMPARE(c[0].id, quint16(0x00FD));
    QCOMPARE((QList<int>{c[0].row, c[0].column}), (QList<int>{3, 2}));
    QCOMPARE(c[1].id, quint16(0x0201));
    QCOMPARE((QList<int>{c[1].row, c[1].column}), (QList<int>{3, 3}));
    QCOMPARE(c[2].id, quint16(0x00BE));
    QCOMPARE((QList<int>{c[2].row, c[2].column, c[3].row, c[3].column}), (QList<int>{4, 2, 4, 3}));
    const QList<Record> merged = withId(sheet, 0x00E5);
    QCOMPARE(merged.size(), 1);
    QCOMPARE(merged[0].data, le16s({1, 3, 4, 2, 3}));
    const QList<Record> rows = withId(sheet, 0x0208);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].data, le16s({3, 2, 4, 255, 0, 0, 0, 0}));
    QCOMPARE(withId(sheet, 0x0200).first().data, hex("03 00 00 00 05 00 00 00 02 00 04 00 00 00"));
}

void TestXlsRecords::numberLookingTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("leading zeros") << "000123" << true << 123.0;
    QTest::newRow("negative") << "-5" << true << -5.0;
    QTest::newRow("spaces around") << "  12  " << true << 12.0;
    QTest::newRow("decimals") << "12.50" << true << 12.5;
    QTest::newRow("trailing stop") << "7." << true << 7.0;
    QTest::newRow("leading stop") << "-.25" << true << -0.25;
    QTest::newRow("lone minus") << "-" << false << 0.0;
    QTest::newRow("grouping") << "1,234" << false << 0.0;
    QTest::newRow("inner minus") << "1-2" << false << 0.0;
    QTest::newRow("two stops") << "1.2.3" << false << 0.0;
    QTest::newRow("two minus") << "--1" << false << 0.0;
    QTest::newRow("exponent") << "1e5" << false << 0.0;
    QTest::newRow("full-width digits") << "１２" << false << 0.0;
    QTest::newRow("too large for a double") << QString(400, QChar(u'9')) << false << 0.0;
}

void TestXlsRecords::numberLookingTexts() {
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 0, 0).SetValue(text);
    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> sheet = section(all, 0);
    bool whole = false;
    // The text keeps its shared string either way.
    QCOMPARE(sharedStrings(section(all, -1), &whole), QStringList{text});
    if (number) {
        const QList<Record> n = withId(sheet, 0x0203);
        QCOMPARE(n.size(), 1);
        QCOMPARE(f64(n[0].data, 6), value);
        QVERIFY(withId(sheet, 0x00FD).isEmpty());
    } else {
        const QList<Record> l = withId(sheet, 0x00FD);
        QCOMPARE(l.size(), 1);
        QCOMPARE(u32(l[0].data, 6), 0u);
        QVERIFY(withId(sheet, 0x0203).isEmpty());
    }
}

// Number-looking texts of every length and decimal position become exactly the double the C
// library reads from them (bit for bit, not nearly).
void TestXlsRecords::numberValuesAreCorrectlyRounded() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    QStringList texts{QStringLiteral("0.1"),
                      QStringLiteral("0.3"),
                      QStringLiteral("123456789012345"),
                      QStringLiteral("1234567890123456"),
                      QStringLiteral("9007199254740993"),
                      QStringLiteral("0.0000000000000000000001"),
                      QStringLiteral("0.00000000000000000000001"),
                      QStringLiteral("-0"),
                      QStringLiteral("99999999999999.95"),
                      QStringLiteral("-000.000123450")};
    quint64 seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return int((seed >> 33) % quint64(n));
    };
    while (texts.size() < 3000) {
        QString t = next(4) == 0 ? QStringLiteral("-") : QString();
        const int length = 1 + next(24);
        const int stop = next(length + 2) - 1; // -1: no full stop
        for (int i = 0; i < length; ++i) {
            if (i == stop)
                t += QLatin1Char('.');
            t += QLatin1Char(char('0' + next(10)));
        }
        texts << t;
    }
    for (int i = 0; i < texts.size(); ++i)
        s.AddRange(0, i, 0, i).SetValue(texts[i]);
    const QList<Record> numbers = withId(section(parse(streamOf(wb)), 0), 0x0203);
    QCOMPARE(numbers.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        const double expected = std::strtod(texts[i].toLatin1().constData(), nullptr);
        const double written = f64(numbers[i].data, 6);
        QVERIFY2(std::memcmp(&expected, &written, sizeof(double)) == 0,
                 qPrintable(texts[i] + QStringLiteral(" -> %1").arg(written, 0, 'g', 17)));
    }
}

void TestXlsRecords::numbersAndEmptyTexts() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 0, 0).SetValue(0.1 + 0.2); // written exactly, no SST entry
    s.AddRange(1, 0, 1, 0).SetValue(QString()); // empty text: formatted blank cell
    s.AddRange(2, 0, 2, 0).SetValue(qQNaN());   // no finite value: kept as its text
    s.AddRange(3, 0, 3, 0).SetValue(QStringLiteral(" "));
    const QList<Record> all = parse(streamOf(wb));
    const QList<Cell> c = cells(section(all, 0));
    QCOMPARE(c.size(), 4);
    QCOMPARE(c[0].id, quint16(0x0203));
    QCOMPARE(f64(withId(section(all, 0), 0x0203).first().data, 6), 0.1 + 0.2);
    QCOMPARE(c[1].id, quint16(0x0201));
    QCOMPARE(c[2].id, quint16(0x00FD));
    QCOMPARE(c[3].id, quint16(0x00FD));
    bool whole = false;
    const QStringList strings = sharedStrings(section(all, -1), &whole);
    QCOMPARE(strings.size(), 2);
    QCOMPARE(strings[1], QStringLiteral(" "));
    const QList<Record> labels = withId(section(all, 0), 0x00FD);
    QCOMPARE(u32(labels[0].data, 6), 0u);
    QCOMPARE(u32(labels[1].data, 6), 1u);
}

void TestXlsRecords::sixtyOneRowsMakeTwoBlocks() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    for (int r = 0; r < 61; ++r)
        for (int col = 0; col < 3; ++col)
            s.AddRange(col, r + 2, col, r + 2)
                .SetValue(r % 2 ? QString::number(r) : QStringLiteral("行%1").arg(r));
    s.RowAt(5).SetHeight(400);
    const QByteArray stream = streamOf(wb);
    const QList<Record> sheet = section(parse(stream), 0);
    const QList<Record> dbcells = withId(sheet, 0x00D7);
    QCOMPARE(dbcells.size(), 2);
    const Record index = withId(sheet, 0x020B).first();
    QCOMPARE(index.data.size(), 16 + 8);
    QCOMPARE(u32(index.data, 4), 2u);
    QCOMPARE(u32(index.data, 8), 63u);
    QCOMPARE(qint64(u32(index.data, 16)), dbcells[0].pos);
    QCOMPARE(qint64(u32(index.data, 20)), dbcells[1].pos);
    QCOMPARE(dbcells[0].data.size(), 4 + 2 * 60);
    QCOMPARE(dbcells[1].data.size(), 4 + 2);

    const QList<Record> rows = withId(sheet, 0x0208);
    QCOMPARE(rows.size(), 61);
    QCOMPARE(u16(rows[3].data, 6), quint16(400)); // row 5 has its own height
    QCOMPARE(u16(rows[3].data, 12), quint16(0x40));
    QCOMPARE(u16(rows[4].data, 6), quint16(255));
    // Each block: the ROW records, then the cells, then DBCELL; its offsets lead back to the
    // block's first ROW record and to each row's first cell record.
    for (int b = 0; b < 2; ++b) {
        const Record& db = dbcells[b];
        const qint64 firstRow = db.pos - u32(db.data, 0);
        QCOMPARE(firstRow, rows[b * 60].pos);
        const int n = (db.data.size() - 4) / 2;
        qint64 at = firstRow + 20; // the block's second ROW record
        for (int k = 0; k < n; ++k) {
            at += u16(db.data, 4 + 2 * k);
            QVERIFY(at < stream.size());
            const quint16 id = u16(stream, int(at));
            QVERIFY2(id == 0x0203 || id == 0x00FD, qPrintable(QString::number(id, 16)));
            QCOMPARE(int(u16(stream, int(at) + 4)), 2 + b * 60 + k); // that row's first cell
            QCOMPARE(int(u16(stream, int(at) + 6)), 0);
        }
    }
}

void TestXlsRecords::paletteTakesFreeEntries_data() {
    QTest::addColumn<QList<quint32>>("colours"); // font colours of successive ranges
    QTest::addColumn<QList<int>>("indices");
    QTest::addColumn<bool>("changed");
    QTest::newRow("only known colours")
        << QList<quint32>{0x000000, 0x0000FF, 0xFF9999} << QList<int>{8, 10, 24} << false;
    QTest::newRow("one new colour") << QList<quint32>{0x123456} << QList<int>{24} << true;
    QTest::newRow("two new colours")
        << QList<quint32>{0x123456, 0x654321} << QList<int>{24, 25} << true;
    // 0xFF9999 is the default entry 24 and in use, so a new colour skips it.
    QTest::newRow("entry in use is kept")
        << QList<quint32>{0xFF9999, 0x123456} << QList<int>{24, 25} << true;
    QTest::newRow("system window colour") << QList<quint32>{0xFF000005} << QList<int>{9} << false;
}

void TestXlsRecords::paletteTakesFreeEntries() {
    QFETCH(QList<quint32>, colours);
    QFETCH(QList<int>, indices);
    QFETCH(bool, changed);
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    for (int i = 0; i < colours.size(); ++i) {
        TqelXLSRange& r = s.AddRange(i, 0, i, 0);
        r.SetValue(QStringLiteral("t"));
        TqelXLSStyle look;
        look.font.color = colours[i];
        r.SetStyle(look);
    }
    const QList<Record> globals = section(parse(streamOf(wb)), -1);
    const QList<Record> fonts = withId(globals, 0x0031);
    QCOMPARE(fonts.size(), 4 + colours.size());
    for (int i = 0; i < colours.size(); ++i)
        QCOMPARE(int(u16(fonts[4 + i].data, 4)), indices[i]);
    const QList<Record> palette = withId(globals, 0x0092);
    QCOMPARE(palette.size(), changed ? 1 : 0);
    if (!changed)
        return;
    QCOMPARE(palette[0].data.size(), 2 + 56 * 4);
    QCOMPARE(u16(palette[0].data, 0), quint16(56));
    for (int i = 0; i < colours.size(); ++i) {
        const int at = 2 + 4 * (indices[i] - 8);
        const quint32 c = XlsPalette::resolveSystemColor(colours[i]);
        QCOMPARE(palette[0].data.mid(at, 4), le16s({int(c & 0xFFFF), int(c >> 16)}));
    }
    // Untouched entries keep the default colours.
    const quint32 black = XlsPalette::defaults()[0];
    QCOMPARE(u32(palette[0].data, 2), black);
}

void TestXlsRecords::equalTextsAreNotMerged() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    for (int i = 0; i < 3; ++i)
        s.AddRange(i, 0, i, 0).SetValue(QStringLiteral("同一文本"));
    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> g = section(all, -1);
    const Record sst = withId(g, 0x00FC).first();
    QCOMPARE(u32(sst.data, 0), 3u);
    QCOMPARE(u32(sst.data, 4), 3u);
    bool whole = false;
    QCOMPARE(sharedStrings(g, &whole), QStringList(3, QStringLiteral("同一文本")));
    const QList<Record> labels = withId(section(all, 0), 0x00FD);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(u32(labels[i].data, 6), quint32(i));
    const Record ext = withId(g, 0x00FF).first();
    QCOMPARE(ext.data.size(), 2 + 8);
    QCOMPARE(u16(ext.data, 0), quint16(8));
    QCOMPARE(qint64(u32(ext.data, 2)), sst.pos + 12); // first string after the two counts
    QCOMPARE(u16(ext.data, 6), quint16(12));
}

void TestXlsRecords::longStringsContinueWithTheOptionByte() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    QStringList texts;
    // Lengths chosen so record ends fall inside strings, right after them and near a header.
    const QList<int> lengths{5000, 4000, 4105, 1, 8000, 12000, 2, 4109, 32767};
    for (int i = 0; i < lengths.size(); ++i) {
        QString t;
        for (int k = 0; k < lengths[i]; ++k)
            t.append(QChar(u'一' + (k + i) % 500));
        texts.append(t);
        s.AddRange(0, i, 0, i).SetValue(t);
    }
    const QByteArray stream = streamOf(wb);
    const QList<Record> g = section(parse(stream), -1);
    bool whole = false;
    QCOMPARE(sharedStrings(g, &whole), texts);
    QVERIFY(whole);
    int continues = 0;
    for (const Record& r : g) {
        QVERIFY(r.data.size() <= 8224);
        if (r.id == 0x003C)
            ++continues;
    }
    QVERIFY(continues >= 10);
    // EXTSST: the 1st and 9th strings; each position is a string header inside its record.
    const Record ext = withId(g, 0x00FF).first();
    QCOMPARE(ext.data.size(), 2 + 2 * 8);
    for (int b = 0; b < 2; ++b) {
        const quint32 pos = u32(ext.data, 2 + 8 * b);
        const quint16 offset = u16(ext.data, 6 + 8 * b);
        QCOMPARE(int(u16(stream, int(pos))), lengths[b * 8]);
        QCOMPARE(quint8(stream[pos + 2]), quint8(1));
        const quint16 recordId = u16(stream, int(pos - offset));
        QVERIFY(recordId == 0x00FC || recordId == 0x003C);
    }
}

void TestXlsRecords::manyStringsKeepExtSstSmall() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    const int n = 3000;
    for (int i = 0; i < n; ++i)
        s.AddRange(i % 10, i / 10, i % 10, i / 10).SetValue(QStringLiteral("文本%1").arg(i));
    const QByteArray stream = streamOf(wb);
    const QList<Record> g = section(parse(stream), -1);
    const Record ext = withId(g, 0x00FF).first();
    const int bucket = u16(ext.data, 0);
    const int buckets = (ext.data.size() - 2) / 8;
    QVERIFY(bucket >= 8);
    QVERIFY(buckets <= 128);
    QCOMPARE(buckets, (n + bucket - 1) / bucket);
    for (int b = 0; b < buckets; ++b) {
        const quint32 pos = u32(ext.data, 2 + 8 * b);
        const QString expected = QStringLiteral("文本%1").arg(b * bucket);
        QCOMPARE(int(u16(stream, int(pos))), expected.size());
        QCOMPARE(QChar(u16(stream, int(pos) + 3)), QChar(u'文'));
    }
}

void TestXlsRecords::mergedAreasSpreadOverRecords() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    const int n = 2100;
    for (int i = 0; i < n; ++i)
        s.AddRange(0, 2 * i, 1, 2 * i + 1).SetValue(QString::number(i));
    const QList<Record> merged = withId(section(parse(streamOf(wb)), 0), 0x00E5);
    QCOMPARE(merged.size(), 3);
    QCOMPARE(u16(merged[0].data, 0), quint16(1027));
    QCOMPARE(u16(merged[1].data, 0), quint16(1027));
    QCOMPARE(u16(merged[2].data, 0), quint16(n - 2054));
    QCOMPARE(merged[0].data.size(), 2 + 8 * 1027);
    // Range order continues across the records.
    QCOMPARE(u16(merged[1].data, 2), quint16(2 * 1027));
    QCOMPARE(u16(merged[2].data, 2 + 8 * (n - 2054 - 1)), quint16(2 * (n - 1)));
}

void TestXlsRecords::overlappingRangesNeverShareACell() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 2, 1).SetValue(QStringLiteral("first"));  // A1:C2
    s.AddRange(1, 1, 3, 2).SetValue(QStringLiteral("second")); // B2:D3, overlaps B2:C2
    s.AddRange(5, 0, 6, 0).SetValue(QStringLiteral("third"));  // F1:G1, alone
    s.AddRange(5, 0, 5, 0).SetValue(QStringLiteral("fourth")); // F1 again
    const QList<Record> sheet = section(parse(streamOf(wb)), 0);
    QSet<QPair<int, int>> seen;
    int lastRow = -1, lastColumn = -1;
    for (const Cell& c : cells(sheet)) {
        QVERIFY2(!seen.contains({c.row, c.column}), "a cell written twice");
        seen.insert({c.row, c.column});
        if (c.row == lastRow)
            QVERIFY(c.column > lastColumn); // columns ascend within a row
        lastRow = c.row;
        lastColumn = c.column;
    }
    QCOMPARE(seen.size(), 6 + 4 + 2); // A1:C2, the free part of B2:D3 (D2, B3:D3), F1:G1
    const QList<Record> merged = withId(sheet, 0x00E5);
    QCOMPARE(merged.size(), 1);
    // Only the areas that kept all their cells stay merged: A1:C2 and F1:G1.
    QCOMPARE(merged[0].data, le16s({2, 0, 1, 0, 2, 0, 0, 5, 6}));
}

void TestXlsRecords::longTitleFitsTheWriteAccessRecord() {
    TqelXLSWorkbook wb;
    wb.SetTitle(QString(60, QChar(u'题')));
    QCOMPARE(wb.Title().size(), 60);
    wb.AddSheet();
    const QByteArray d = withId(section(parse(streamOf(wb)), -1), 0x005C).first().data;
    QCOMPARE(d.size(), 112);
    QCOMPARE(int(u16(d, 0)), 54);
    QCOMPARE(QChar(u16(d, 3 + 2 * 53)), QChar(u'题'));
    QCOMPARE(d.mid(3 + 108), QByteArray(1, ' '));
}

void TestXlsRecords::pageSetupPageBreaksAndColumns() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 0, 0).SetValue(QStringLiteral("a"));
    s.AddPageBreak(30);
    s.AddPageBreak(10);
    s.ColAt(4).SetWidth(5000);
    s.ColAt(1).SetWidth(300);
    TqelXLSPageSetup& ps = s.PageSetup();
    ps.landscape = true;
    ps.paperSize = 8;
    ps.firstPageNumber = 3;
    ps.blackAndWhite = true;
    ps.leftToRight = true;
    ps.headerCenter = QStringLiteral("页眉");
    ps.footerLeft = QStringLiteral("L");
    ps.footerRight = QStringLiteral("R");
    ps.printGridLines = true;
    ps.centerHorizontally = true;
    const QList<Record> sheet = section(parse(streamOf(wb)), 0);
    QCOMPARE(withId(sheet, 0x001B).first().data, le16s({2, 10, 0, 255, 30, 0, 255}));
    const QList<Record> cols = withId(sheet, 0x007D);
    QCOMPARE(cols.size(), 2);
    QCOMPARE(cols[0].data, le16s({1, 1, 300, 0, 0}) + QByteArray(1, '\0'));
    QCOMPARE(cols[1].data, le16s({4, 4, 5000, 0, 0}) + QByteArray(1, '\0'));
    QCOMPARE(withId(sheet, 0x0014).first().data, hex("04 00 01") + le16s({'&', 'C', u'页', u'眉'}));
    QCOMPARE(withId(sheet, 0x0015).first().data,
             hex("06 00 01") + le16s({'&', 'L', 'L', '&', 'R', 'R'}));
    QCOMPARE(withId(sheet, 0x002B).first().data, hex("01 00"));
    QCOMPARE(withId(sheet, 0x002A).first().data, hex("00 00"));
    QCOMPARE(withId(sheet, 0x0083).first().data, hex("01 00"));
    const QByteArray setup = withId(sheet, 0x00A1).first().data;
    QCOMPARE(setup.size(), 34);
    QCOMPARE(u16(setup, 0), quint16(8));
    QCOMPARE(u16(setup, 4), quint16(3));
    QCOMPARE(u16(setup, 10), quint16(0x0001 | 0x0008 | 0x0080)); // landscape: no 0x0002
    // DIMENSIONS covers the columns too.
    QCOMPARE(withId(sheet, 0x0200).first().data, hex("00 00 00 00 01 00 00 00 00 00 05 00 00 00"));
}

void TestXlsRecords::picturesAndLongRecordFraming() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 0, 0).SetValue(QStringLiteral("图"));
    QImage picture(120, 50, QImage::Format_RGB32); // 120 * 3 = 360 bytes a row, 18000 in all
    picture.fill(QColor(10, 20, 30));
    TqelImage& im = s.AddImage(1, 2, 4, 6, &picture, true);
    im.lineColor = 0x123456;
    const QList<Record> all = parse(streamOf(wb));
    const QList<Record> sheet = section(all, 0);
    int i = 0;
    while (sheet[i].id != 0x005D)
        ++i;
    const QByteArray obj = sheet[i].data;
    QCOMPARE(obj.size(), 60);
    QCOMPARE(obj.left(34), hex("01 00 00 00 08 00 01 00 14 06") +
                               le16s({1, 0, 2, 0, 4, 0, 6, 0, 0}) + QByteArray(6, '\0'));
    // Background and foreground white (9), line colour: the first free entry (24).
    QCOMPARE(obj.mid(34, 8), hex("09 09 01 00 18 00 00 00"));
    QCOMPARE(obj.mid(42), hex("00 00 02 00") + QByteArray(14, '\0'));
    // IMDATA, cut into 8224-byte pieces.
    QCOMPARE(sheet[i + 1].id, quint16(0x007F));
    QByteArray imdata = sheet[i + 1].data;
    QCOMPARE(imdata.size(), 8224);
    int k = i + 2;
    while (sheet[k].id == 0x003C) {
        QVERIFY(sheet[k].data.size() <= 8224);
        imdata += sheet[k++].data;
    }
    QCOMPARE(sheet[k].id, quint16(0x023E));
    QCOMPARE(u16(imdata, 0), quint16(2));
    QCOMPARE(u16(imdata, 2), quint16(1));
    const QByteArray emf = imdata.mid(8);
    QCOMPARE(qsizetype(u32(imdata, 4)), emf.size());
    QCOMPARE(u32(emf, 0), 1u);           // EMR_HEADER
    QCOMPARE(u32(emf, 40), 0x464D4520u); // " EMF"
    QCOMPARE(qsizetype(u32(emf, 48)), emf.size());
    QCOMPARE(u32(emf, 16), 119u); // bounds right
    QCOMPARE(u32(emf, 20), 49u);  // bounds bottom
    QCOMPARE(u32(emf, 88), 81u);  // EMR_STRETCHDIBITS
    const int bits = 88 + 120;
    QCOMPARE(QByteArray(emf.mid(bits, 3)), QByteArray("\x1E\x14\x0A", 3)); // blue, green, red
    QCOMPARE(u32(emf, emf.size() - 20), 14u);                              // EMR_EOF
    QCOMPARE(withId(section(all, -1), 0x0092).size(), 1);
}

void TestXlsRecords::pageBreaksStayWithinTheFormat() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.AddRange(0, 0, 0, 65535).SetValue(QStringLiteral("tall"));
    // Added from the bottom up; one more than a sheet can hold, plus one below the last row.
    s.AddPageBreak(65536);
    for (int i = 1100; i >= 1; --i)
        s.AddPageBreak(i * 50);
    const QList<Record> sheet = section(parse(streamOf(wb)), 0);
    const QByteArray d = withId(sheet, 0x001B).first().data;
    QCOMPARE(int(u16(d, 0)), TqelExcelWriter::MaxPageBreaks);
    QCOMPARE(d.size(), 2 + 6 * TqelExcelWriter::MaxPageBreaks);
    for (int i = 0; i < TqelExcelWriter::MaxPageBreaks; ++i)
        QCOMPARE(int(u16(d, 2 + 6 * i)), (i + 1) * 50); // ascending, the first ones kept
}

void TestXlsRecords::refusedWritesAreErrors() {
    TqelXLSWorkbook wb;
    wb.AddSheet().AddRange(0, 0, 0, 0).SetValue(QStringLiteral("x"));
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, TqelExcelWriter().WriteStream(wb, readOnly));
}

QTEST_GUILESS_MAIN(TestXlsRecords)
#include "TestXlsRecords.moc"
