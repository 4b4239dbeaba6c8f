// Workbooks saved to disk and read back by outside readers (xlrd with formatting, olefile):
// what they see must be what was put in. Also the format's limits: a workbook that cannot be
// stored fails with a message naming the limit and leaves no file behind.
#include "XlsTestSupport.h"

#include "common/Error.h"
#include "export/xls/TqelExcelWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace kestrane::xls;
using namespace xlstest;

namespace {

QJsonArray rgbOf(quint32 color) {
    return QJsonArray{int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)};
}

// The cell [row, column, ctype, value, xf] that xlrd reports at (row, column).
QJsonArray cellAt(const QJsonObject& sheet, int row, int column) {
    for (const QJsonValue& v : sheet[QStringLiteral("cells")].toArray()) {
        const QJsonArray c = v.toArray();
        if (c[0].toInt() == row && c[1].toInt() == column)
            return c;
    }
    return {};
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestXlsReaders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void xlrdReadsWhatWasWritten();
    void smallAndEmptyWorkbooksOpen();
    void fullHeightSheetOpens();
    void limitsFailWithoutLeavingAFile_data();
    void limitsFailWithoutLeavingAFile();
    void unwritableFolderFails();

private:
    QTemporaryDir m_dir;
};

void TestXlsReaders::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(python()), "the outside checker needs /usr/bin/python3");
}

void TestXlsReaders::xlrdReadsWhatWasWritten() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    s.SetName(QStringLiteral("已勾兑验收单明细"));
    struct Look {
        int left, top, right, bottom;
        QString text;
        QString font;
        int size;
        quint8 style;
        quint32 color;
        quint8 h, v;
        bool wrap;
        quint8 border;  // line style on all four sides
        quint32 bcolor; // border colour
        quint32 fill;   // 0x1FFFFFFF: none
    };
    const QList<Look> looks{
        {0, 0, 3, 1, QStringLiteral("供应商名称"), QStringLiteral("宋体"), 12, TqelXLSFont::Bold,
         0x0000FF, 2, 1, false, 1, 0x000000, 0x1FFFFFFF},
        {0, 2, 0, 2, QStringLiteral("00123"), QStringLiteral("Arial"), 10, 0, 0x000000, 3, 2, false,
         1, 0x000000, 0x1FFFFFFF},
        {1, 2, 1, 2, QStringLiteral("食品\n饮料"), QStringLiteral("宋体"), 9, TqelXLSFont::Italic,
         0x123456, 1, 3, true, 3, 0x0000FF, 0xCCFFFF},
        {2, 2, 3, 3, QStringLiteral("-12.5"), QStringLiteral("黑体"), 11, 0, 0x008000, 2, 0, false,
         4, 0x654321, 0x00FFFF},
        {0, 3, 0, 3, QStringLiteral("面积(㎡)"), QStringLiteral("Arial"), 10, 0, 0x000000, 1, 1,
         false, 0, 0, 0x1FFFFFFF},
    };
    for (const Look& l : looks) {
        TqelXLSRange& r = s.AddRange(l.left, l.top, l.right, l.bottom);
        r.SetValue(l.text);
        TqelXLSStyle look;
        look.font.name = l.font;
        look.font.size = l.size;
        look.font.style = l.style;
        look.font.color = l.color;
        look.horizontalAlignment = l.h;
        look.verticalAlignment = l.v;
        look.wrap = l.wrap;
        for (int slot : {TqelXLSBorders::Left, TqelXLSBorders::Right, TqelXLSBorders::Top,
                         TqelXLSBorders::Bottom})
            look.borders[slot] = {l.bcolor, l.border, 0};
        if (l.fill != 0x1FFFFFFF) {
            look.fillPattern = TqelXLSStyle::PatternSolid;
            look.fillForeground = l.fill;
            look.fillBackground = 0xFFFFFF;
        }
        r.SetStyle(look);
    }
    s.AddRange(5, 0, 5, 0).SetValue(1234.75);
    s.ColAt(0).SetWidth(4000);
    s.ColAt(2).SetWidth(1000);
    s.RowAt(2).SetHeight(600);
    s.AddPageBreak(3);
    s.AddPageBreak(1);
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    s.AddImage(6, 1, 8, 4, &picture, false);
    TqelXLSWorksheet& second = wb.AddSheet();
    second.SetName(QStringLiteral("A sheet name of forty characters, long!"));
    second.AddRange(0, 0, 0, 0).SetValue(QStringLiteral("第二页"));

    const QString path = m_dir.filePath(QStringLiteral("read.xls"));
    TqelExcelWriter().Save(wb, path);
    const QJsonObject out = check(path);
    QVERIFY(!out.isEmpty());

    // The container holds exactly the one stream, of the record stream's size.
    QCOMPARE(out[QStringLiteral("streams")].toArray(), QJsonArray{QStringLiteral("Workbook")});
    QCOMPARE(out[QStringLiteral("workbook_size")].toInteger(), streamOf(wb).size());
    QCOMPARE(out[QStringLiteral("user_name")].toString(), QStringLiteral("qel_Report"));

    const QJsonArray sheets = out[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[0][QStringLiteral("name")].toString(), QStringLiteral("已勾兑验收单明细"));
    QCOMPARE(sheets[1][QStringLiteral("name")].toString(),
             QStringLiteral("A sheet name of forty character"));
    const QJsonObject sh = sheets[0].toObject();
    const QJsonArray fonts = out[QStringLiteral("fonts")].toArray();
    const QJsonArray xfs = out[QStringLiteral("xfs")].toArray();
    const QJsonObject colours = out[QStringLiteral("colour_map")].toObject();
    auto rgb = [&](int index) { return colours[QString::number(index)].toArray(); };

    for (const Look& l : looks) {
        const QString where = QStringLiteral("%1,%2").arg(l.top).arg(l.left);
        const QJsonArray c = cellAt(sh, l.top, l.left);
        QVERIFY2(!c.isEmpty(), qPrintable(where));
        double number = 0;
        bool isNumber = false;
        number = l.text.trimmed().toDouble(&isNumber);
        if (isNumber) {
            QCOMPARE(c[2].toInt(), 2);
            QCOMPARE(c[3].toDouble(), number);
        } else {
            QCOMPARE(c[2].toInt(), 1);
            QCOMPARE(c[3].toString(), l.text);
        }
        const QJsonObject xf = xfs[c[4].toInt()].toObject();
        const QJsonObject font = fonts[xf[QStringLiteral("font")].toInt()].toObject();
        QCOMPARE(font[QStringLiteral("name")].toString(), l.font);
        QCOMPARE(font[QStringLiteral("height")].toInt(), l.size * 20);
        QCOMPARE(font[QStringLiteral("weight")].toInt(),
                 (l.style & TqelXLSFont::Bold) ? 1000 : 100);
        QCOMPARE(font[QStringLiteral("italic")].toBool(), bool(l.style & TqelXLSFont::Italic));
        QCOMPARE(rgb(font[QStringLiteral("colour_index")].toInt()), rgbOf(l.color));
        QCOMPARE(xf[QStringLiteral("hor")].toInt(), int(l.h));
        QCOMPARE(xf[QStringLiteral("vert")].toInt(), int(l.v));
        QCOMPARE(xf[QStringLiteral("wrap")].toInt(), int(l.wrap));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(xf[QStringLiteral("styles")][k].toInt(), int(l.border));
            if (l.border)
                QCOMPARE(rgb(xf[QStringLiteral("colours")][k].toInt()), rgbOf(l.bcolor));
        }
        if (l.fill != 0x1FFFFFFF) {
            QCOMPARE(xf[QStringLiteral("pattern")].toInt(), 1);
            QCOMPARE(rgb(xf[QStringLiteral("fg")].toInt()), rgbOf(l.fill));
        } else {
            QCOMPARE(xf[QStringLiteral("pattern")].toInt(), 0);
        }
        // Every other cell of the area is a blank with the same format.
        for (int row = l.top; row <= l.bottom; ++row)
            for (int col = l.left; col <= l.right; ++col)
                if (row != l.top || col != l.left) {
                    const QJsonArray b = cellAt(sh, row, col);
                    QCOMPARE(b[2].toInt(), 6);
                    QCOMPARE(b[4].toInt(), c[4].toInt());
                }
    }
    QCOMPARE(cellAt(sh, 0, 5)[3].toDouble(), 1234.75);
    QCOMPARE(sh[QStringLiteral("merged")].toArray(),
             (QJsonArray{QJsonArray{0, 2, 0, 4}, QJsonArray{2, 4, 2, 4}}));
    QCOMPARE(sh[QStringLiteral("colwidths")][QStringLiteral("0")].toInt(), 4000);
    QCOMPARE(sh[QStringLiteral("colwidths")][QStringLiteral("2")].toInt(), 1000);
    QCOMPARE(sh[QStringLiteral("rowheights")][QStringLiteral("2")].toInt(), 600);
    QCOMPARE(sh[QStringLiteral("rowheights")][QStringLiteral("1")].toInt(), 255);
    QCOMPARE(sh[QStringLiteral("pagebreaks")].toArray(), (QJsonArray{1, 3}));
    QCOMPARE(cellAt(sheets[1].toObject(), 0, 0)[3].toString(), QStringLiteral("第二页"));
}

void TestXlsReaders::smallAndEmptyWorkbooksOpen() {
    // An empty sheet: a stream far below 4096 bytes, kept in the container's mini stream.
    TqelXLSWorkbook wb;
    wb.AddSheet();
    const QString path = m_dir.filePath(QStringLiteral("empty.xls"));
    TqelExcelWriter().Save(wb, path);
    QJsonObject out = check(path);
    QVERIFY(out[QStringLiteral("workbook_size")].toInteger() < 4096);
    QCOMPARE(out[QStringLiteral("workbook_size")].toInteger(), streamOf(wb).size());
    QCOMPARE(out[QStringLiteral("sheets")][0][QStringLiteral("nrows")].toInt(), 0);

    // A one-cell workbook replaces the file in place.
    wb.Sheet(0).AddRange(0, 0, 0, 0).SetValue(QStringLiteral("一"));
    TqelExcelWriter().Save(wb, path);
    out = check(path);
    QCOMPARE(cellAt(out[QStringLiteral("sheets")][0].toObject(), 0, 0)[3].toString(),
             QStringLiteral("一"));
}

void TestXlsReaders::fullHeightSheetOpens() {
    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    for (int r = 0; r < TqelExcelWriter::MaxRows; ++r)
        s.AddRange(0, r, 0, r).SetValue(QString::number(r));
    s.AddRange(255, 0, 255, 0).SetValue(QStringLiteral("IV1"));
    const QString path = m_dir.filePath(QStringLiteral("full.xls"));
    TqelExcelWriter().Save(wb, path);
    const QJsonObject out = check(path, false);
    QCOMPARE(out[QStringLiteral("sheets")][0][QStringLiteral("nrows")].toInt(), 65536);
    QCOMPARE(out[QStringLiteral("sheets")][0][QStringLiteral("ncols")].toInt(), 256);
}

void TestXlsReaders::limitsFailWithoutLeavingAFile_data() {
    using Fill = std::function<void(TqelXLSWorkbook&)>;
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<QString>("named");
    QTest::newRow("row 65537") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().AddRange(0, 65536, 0, 65536).SetValue(QStringLiteral("x"));
    }) << QStringLiteral("65536");
    QTest::newRow("merged down past the last row") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().AddRange(0, 65500, 0, 65600).SetValue(QStringLiteral("x"));
    }) << QStringLiteral("65536");
    QTest::newRow("row object past the last row")
        << Fill([](TqelXLSWorkbook& wb) { wb.AddSheet().RowAt(70000); }) << QStringLiteral("65536");
    QTest::newRow("column 257") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().AddRange(250, 0, 256, 0).SetValue(QStringLiteral("x"));
    }) << QStringLiteral("256");
    QTest::newRow("text of 32768 characters") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().AddRange(0, 0, 0, 0).SetValue(QString(32768, QChar(u'字')));
    }) << QStringLiteral("32767");
    QTest::newRow("no sheet") << Fill([](TqelXLSWorkbook&) {}) << QStringLiteral("工作表");
    QTest::newRow("same sheet name") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().SetName(QStringLiteral("Data"));
        wb.AddSheet().SetName(QStringLiteral("data"));
    }) << QStringLiteral("data");
    QTest::newRow("blank sheet name")
        << Fill([](TqelXLSWorkbook& wb) { wb.AddSheet().SetName(QStringLiteral("   ")); })
        << QStringLiteral("名称");
    QTest::newRow("slash in sheet name")
        << Fill([](TqelXLSWorkbook& wb) { wb.AddSheet().SetName(QStringLiteral("2005/01")); })
        << QStringLiteral("/");
    QTest::newRow("formula cell") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().AddRange(0, 0, 0, 0).SetFormula(QStringLiteral("A2+1"));
    }) << QStringLiteral("A1");
    QTest::newRow("header of 300 characters") << Fill([](TqelXLSWorkbook& wb) {
        wb.AddSheet().PageSetup().headerCenter = QString(300, QChar(u'页'));
    }) << QStringLiteral("255");
    QTest::newRow("4100 cell formats") << Fill([](TqelXLSWorkbook& wb) {
        TqelXLSWorksheet& s = wb.AddSheet();
        for (int i = 0; i < 4100; ++i) {
            TqelXLSRange& r = s.AddRange(i % 200, i / 200, i % 200, i / 200);
            r.SetValue(QStringLiteral("x"));
            TqelXLSStyle look;
            look.font.size = 1 + i % 300;
            look.horizontalAlignment = quint8((i / 300) % 7);
            look.verticalAlignment = quint8(i / 2100);
            r.SetStyle(look);
        }
    }) << QStringLiteral("4035");
    QTest::newRow("600 fonts") << Fill([](TqelXLSWorkbook& wb) {
        TqelXLSWorksheet& s = wb.AddSheet();
        for (int i = 0; i < 600; ++i) {
            TqelXLSRange& r = s.AddRange(0, i, 0, i);
            r.SetValue(QStringLiteral("x"));
            TqelXLSStyle look;
            look.font.size = 1 + i;
            r.SetStyle(look);
        }
    }) << QStringLiteral("512");
    QTest::newRow("picture past the last column") << Fill([](TqelXLSWorkbook& wb) {
        static const QImage picture(4, 4, QImage::Format_RGB32);
        wb.AddSheet().AddImage(250, 0, 300, 2, &picture, true);
    }) << QStringLiteral("256");
}

void TestXlsReaders::limitsFailWithoutLeavingAFile() {
    QFETCH(std::function<void(TqelXLSWorkbook&)>, fill);
    QFETCH(QString, named);
    TqelXLSWorkbook wb;
    fill(wb);
    const QString fresh =
        m_dir.filePath(QStringLiteral("fresh-%1.xls").arg(QTest::currentDataTag()));
    QString message;
    try {
        TqelExcelWriter().Save(wb, fresh);
    } catch (const kestrane::Error& e) {
        message = e.message();
    }
    QVERIFY2(message.contains(named), qPrintable(message));
    QVERIFY(!QFile::exists(fresh));

    // An existing file at the path stays as it was.
    const QString existing = m_dir.filePath(QStringLiteral("existing.xls"));
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("previous export");
    }
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, TqelExcelWriter().Save(wb, existing));
    QCOMPARE(fileBytes(existing), QByteArray("previous export"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("existing.xls*")}, QDir::Files).size(),
             1);
}

void TestXlsReaders::unwritableFolderFails() {
    TqelXLSWorkbook wb;
    wb.AddSheet().AddRange(0, 0, 0, 0).SetValue(QStringLiteral("x"));
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/out.xls"));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error, TqelExcelWriter().Save(wb, path));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestXlsReaders)
#include "TestXlsReaders.moc"
