// LibreOffice opens a large workbook (10 000 rows of 17 columns of Chinese text and amounts,
// a merged title, a picture) and gives back the same values as CSV; and it draws the metafile
// that carries a picture in the workbook as the picture it was made from.
#include "XlsTestSupport.h"

#include "export/xls/EmfBitmapPicture.h"
#include "export/xls/TqelExcelWriter.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrane::xls;

namespace {

const QStringList kWords{QStringLiteral("食品"),     QStringLiteral("饮料"),
                         QStringLiteral("日用百货"), QStringLiteral("家电"),
                         QStringLiteral("服装鞋帽"), QStringLiteral("生鲜"),
                         QStringLiteral("粮油"),     QStringLiteral("文具")};

// The text of cell (row, column) of the data area, and what a reader shows for it.
QString cellText(int row, int column) {
    switch (column % 4) {
    case 0:
        return QStringLiteral("%1%2号").arg(kWords[(row + column) % kWords.size()]).arg(row);
    case 1:
        return QString::number((row * 37 + column * 11) % 1000000 / 100.0, 'f', 2);
    case 2:
        return QStringLiteral("%1").arg(row % 1000, 6, 10, QLatin1Char('0'));
    default:
        return QStringLiteral("供应商 %1 “%2”").arg(column).arg(kWords[row % kWords.size()]);
    }
}

QString shownAs(int row, int column) {
    const QString t = cellText(row, column);
    if (column % 4 == 1 || column % 4 == 2)
        return QString::number(t.toDouble(), 'g', 15);
    return t;
}

// Splits CSV text into rows of fields (quoted fields may hold commas, quotes and newlines).
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

// Runs LibreOffice headless on `input`, converting it with `filter` into `dir`; returns what it
// printed on its error output.
QString convertWithLibreOffice(const QString& soffice, const QTemporaryDir& dir,
                               const QString& input, const QString& filter) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                      QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                      dir.path(), input});
    if (!p.waitForFinished(800000))
        return QStringLiteral("LibreOffice did not finish");
    return QString::fromLocal8Bit(p.readAllStandardError());
}

} // namespace

class TestXlsLibreOffice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void largeWorkbookKeepsItsValues();
    void pictureMetafileDrawsThePicture();
};

void TestXlsLibreOffice::largeWorkbookKeepsItsValues() {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed; the large-workbook check needs it");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const int rows = 10000, columns = 17;

    TqelXLSWorkbook wb;
    TqelXLSWorksheet& s = wb.AddSheet();
    TqelXLSRange& title = s.AddRange(0, 0, columns - 1, 0);
    title.SetValue(QStringLiteral("已勾兑验收单明细查询"));
    TqelXLSStyle titleLook;
    titleLook.font.style = TqelXLSFont::Bold;
    titleLook.horizontalAlignment = 2;
    title.SetStyle(titleLook);
    TqelXLSStyle cellLook;
    cellLook.font.charset = 134;
    for (int slot :
         {TqelXLSBorders::Left, TqelXLSBorders::Top, TqelXLSBorders::Right, TqelXLSBorders::Bottom})
        cellLook.borders[slot] = {0, 1, 0};
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            TqelXLSRange& range = s.AddRange(c, r + 1, c, r + 1);
            range.SetValue(cellText(r, c));
            cellLook.font.name = c % 2 ? QStringLiteral("Arial") : QStringLiteral("宋体");
            range.SetStyle(cellLook);
        }
        if (r % 50 == 49)
            s.AddPageBreak(r + 2);
    }
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    s.AddImage(columns + 1, 1, columns + 3, 4, &picture, true);
    wb.AddSheet().AddRange(0, 0, 0, 0).SetValue(QStringLiteral("第二页"));

    const QString path = dir.filePath(QStringLiteral("large.xls"));
    TqelExcelWriter().Save(wb, path);

    const QString errors = convertWithLibreOffice(
        soffice, dir, path, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"));
    QFile csv(dir.filePath(QStringLiteral("large.csv")));
    QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(errors));
    const QList<QStringList> table = parseCsv(QString::fromUtf8(csv.readAll()));

    QCOMPARE(table.size(), rows + 1);
    QCOMPARE(table[0][0], QStringLiteral("已勾兑验收单明细查询"));
    for (int r = 0; r < rows; ++r) {
        const QStringList& line = table[r + 1];
        QVERIFY2(line.size() >= columns, qPrintable(QString::number(r)));
        for (int c = 0; c < columns; ++c)
            if (line[c] != shownAs(r, c))
                QFAIL(qPrintable(QStringLiteral("row %1 column %2: %3 instead of %4")
                                     .arg(r)
                                     .arg(c)
                                     .arg(line[c], shownAs(r, c))));
    }
}

// The metafile is our own (a header, one bitmap record, the end record): LibreOffice, an
// independent reader of the format, must draw it as the picture, left half red, right half
// blue, in the picture's size.
void TestXlsLibreOffice::pictureMetafileDrawsThePicture() {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed; the metafile check needs it");
    // Drawings are opened by LibreOffice Draw; a set-up with only the spreadsheet cannot.
    if (!QFile::exists(QStringLiteral("/usr/lib/libreoffice/program/libsdlo.so")))
        QSKIP("LibreOffice Draw is not installed; the metafile check needs it");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage picture(80, 40, QImage::Format_RGB32);
    picture.fill(QColor(220, 20, 30));
    for (int y = 0; y < 40; ++y)
        for (int x = 40; x < 80; ++x)
            picture.setPixel(x, y, qRgb(20, 40, 200));
    const QString emf = dir.filePath(QStringLiteral("picture.emf"));
    QFile file(emf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EmfBitmapPicture::encode(picture));
    file.close();

    const QString errors = convertWithLibreOffice(soffice, dir, emf, QStringLiteral("png"));
    const QImage drawn(dir.filePath(QStringLiteral("picture.png")));
    QVERIFY2(!drawn.isNull(), qPrintable(errors));
    // LibreOffice draws it on a page: find the drawing by its non-white pixels. It must be the
    // picture's size at the metafile's 96 dots per inch, its halves in their colours.
    QRect box;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixelColor(x, y).lightness() < 200)
                box |= QRect(x, y, 1, 1);
    QVERIFY2(qAbs(box.width() - 80) <= 2 && qAbs(box.height() - 40) <= 2,
             qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
    const QColor left = drawn.pixelColor(box.left() + box.width() / 4, box.center().y());
    const QColor right = drawn.pixelColor(box.left() + box.width() * 3 / 4, box.center().y());
    QVERIFY2(left.red() > 180 && left.blue() < 80, qPrintable(left.name()));
    QVERIFY2(right.blue() > 160 && right.red() < 80, qPrintable(right.name()));
}

QTEST_GUILESS_MAIN(TestXlsLibreOffice)
#include "TestXlsLibreOffice.moc"
