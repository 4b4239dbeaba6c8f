#include "XlsTestSupport.h"

#include "export/xls/TqelExcelWriter.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include <cstring>

namespace xlstest {

QByteArray streamOf(const kestrane::xls::TqelXLSWorkbook& workbook) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    kestrane::xls::TqelExcelWriter writer;
    const quint64 size = writer.WriteStream(workbook, buffer);
    if (size != static_cast<quint64>(bytes.size()))
        qWarning("stream size %llu differs from the buffer's %lld", size, bytes.size());
    return bytes;
}

QList<Record> parse(const QByteArray& stream) {
    QList<Record> out;
    qint64 at = 0;
    while (at + 4 <= stream.size()) {
        Record r;
        r.id = u16(stream, static_cast<int>(at));
        const int len = u16(stream, static_cast<int>(at + 2));
        r.pos = at;
        if (at + 4 + len > stream.size()) {
            qWarning("record %04x at %lld runs past the end", r.id, at);
            break;
        }
        r.data = stream.mid(at + 4, len);
        out.append(r);
        at += 4 + len;
    }
    return out;
}

QList<Record> section(const QList<Record>& records, int sheet) {
    QList<Record> out;
    int current = -2;
    for (const Record& r : records) {
        if (r.id == 0x0809)
            ++current;
        if (current == sheet)
            out.append(r);
        if (r.id == 0x000A && current == sheet)
            break;
    }
    return out;
}

QList<Record> withId(const QList<Record>& records, quint16 id) {
    QList<Record> out;
    for (const Record& r : records)
        if (r.id == id)
            out.append(r);
    return out;
}

quint16 u16(const QByteArray& d, int at) {
    return static_cast<quint16>(static_cast<quint8>(d[at]) | (static_cast<quint8>(d[at + 1]) << 8));
}

quint32 u32(const QByteArray& d, int at) {
    return u16(d, at) | (static_cast<quint32>(u16(d, at + 2)) << 16);
}

double f64(const QByteArray& d, int at) {
    double v;
    std::memcpy(&v, d.constData() + at, 8);
    return v;
}

QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QString python() {
    return QStringLiteral("/usr/bin/python3");
}

QJsonObject check(const QString& file, bool withCells) {
    QProcess p;
    QStringList args{QStringLiteral(XLS_CHECK_SCRIPT), file};
    if (!withCells)
        args << QStringLiteral("--no-cells");
    p.start(python(), args);
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        qWarning("checker failed: %s", p.readAllStandardError().constData());
        return {};
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("checker output is not JSON: %s", qPrintable(error.errorString()));
    return doc.object();
}

} // namespace xlstest
