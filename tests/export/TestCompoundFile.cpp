// The compound-file container on its own: streams from one byte to well past the size that
// needs DIFAT sectors, read back by olefile (which is told to reject anything incorrect).
#include "XlsTestSupport.h"

#include "export/xls/CompoundFileWriter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrane::xls;

class TestCompoundFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void streamOfAnySizeReadsBack_data();
    void streamOfAnySizeReadsBack();
};

void TestCompoundFile::streamOfAnySizeReadsBack_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("fileSize");
    // Mini stream: 64-byte mini sectors in one or more 512-byte sectors, one mini FAT sector.
    QTest::newRow("1 byte") << qint64(1) << qint64(512 * 5);
    QTest::newRow("64 bytes") << qint64(64) << qint64(512 * 5);
    QTest::newRow("4095 bytes") << qint64(4095) << qint64(512 * (1 + 8 + 1 + 1 + 1));
    // Regular sectors from 4096 bytes on.
    QTest::newRow("4096 bytes") << qint64(4096) << qint64(512 * (1 + 8 + 1 + 1));
    QTest::newRow("4097 bytes") << qint64(4097) << qint64(512 * (1 + 9 + 1 + 1));
    // 109 FAT sectors still fit the header; beyond that DIFAT sectors list the rest.
    QTest::newRow("header FAT list full") << qint64(13841) * 512 << qint64(-1);
    QTest::newRow("one DIFAT sector") << qint64(7'500'000) << qint64(-1);
    QTest::newRow("two DIFAT sectors") << qint64(16'500'000) << qint64(-1);
}

void TestCompoundFile::streamOfAnySizeReadsBack() {
    QFETCH(qint64, size);
    QFETCH(qint64, fileSize);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.xls"));
    QByteArray stream(size, Qt::Uninitialized);
    QRandomGenerator rng{quint32(size)};
    for (qint64 i = 0; i < size; ++i)
        stream[i] = char(rng.generate() & 0xFF);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
        CompoundFileWriter w(f, QStringLiteral("Workbook"));
        w.begin();
        QCOMPARE(f.pos(), CompoundFileWriter::StreamOffset);
        QCOMPARE(f.write(stream), size);
        w.finish(quint64(size));
    }
    const qint64 written = QFileInfo(path).size();
    QCOMPARE(written % 512, 0);
    if (fileSize > 0)
        QCOMPARE(written, fileSize);

    QProcess p;
    p.start(xlstest::python(),
            {QStringLiteral(XLS_CHECK_SCRIPT), QStringLiteral("--stream"), path});
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QJsonObject out = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    QCOMPARE(out[QStringLiteral("streams")].toArray(), QJsonArray{QStringLiteral("Workbook")});
    QCOMPARE(out[QStringLiteral("size")].toInteger(), size);
    QCOMPARE(out[QStringLiteral("read")].toInteger(), size);
    QCOMPARE(out[QStringLiteral("sector_size")].toInt(), 512);
    QCOMPARE(
        out[QStringLiteral("sha1")].toString(),
        QString::fromLatin1(QCryptographicHash::hash(stream, QCryptographicHash::Sha1).toHex()));

    // Header fields olefile does not insist on.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.read(512);
    QCOMPARE(header.left(8), xlstest::hex("D0 CF 11 E0 A1 B1 1A E1"));
    QCOMPARE(xlstest::u16(header, 26), quint16(3));
    QCOMPARE(xlstest::u32(header, 56), 4096u);
    const quint32 difatSectors = xlstest::u32(header, 72);
    const quint32 fatSectors = xlstest::u32(header, 44);
    QCOMPARE(difatSectors, fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0u);
}

QTEST_GUILESS_MAIN(TestCompoundFile)
#include "TestCompoundFile.moc"
