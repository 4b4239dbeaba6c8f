#include "report/TRMStreamReader.h"

#include "common/Error.h"
#include "common/Gbk.h"

#include <cstring>

namespace kestrane::report {

TRMStreamReader::TRMStreamReader(const QByteArray& data, const QString& what, qsizetype base)
    : m_data(data), m_what(what), m_base(base) {}

void TRMStreamReader::failAt(qsizetype pos, const QString& message) const {
    throw Error(QStringLiteral("%1 offset %2: %3").arg(m_what).arg(pos + m_base).arg(message));
}

void TRMStreamReader::fail(const QString& message) const {
    failAt(m_pos, message);
}

void TRMStreamReader::need(qsizetype n, const char* what) const {
    if (n < 0 || n > remaining())
        fail(QStringLiteral("%1 of %2 bytes but %3 remain")
                 .arg(QString::fromLatin1(what))
                 .arg(n)
                 .arg(remaining()));
}

void TRMStreamReader::seek(qsizetype pos) {
    if (pos < 0 || pos > m_data.size())
        fail(QStringLiteral("position %1 lies outside the stream of %2 bytes")
                 .arg(pos)
                 .arg(m_data.size()));
    m_pos = pos;
}

void TRMStreamReader::checkEndPosition(qint64 end, qsizetype notBefore, const char* of) const {
    if (end < notBefore || end > m_data.size())
        fail(QStringLiteral("end position %1 of the %2 lies outside %3..%4")
                 .arg(end)
                 .arg(QString::fromLatin1(of))
                 .arg(notBefore)
                 .arg(m_data.size()));
}

uint8_t TRMStreamReader::u8(const char* what) {
    need(1, what);
    return uint8_t(m_data[m_pos++]);
}

uint16_t TRMStreamReader::u16(const char* what) {
    need(2, what);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data.constData() + m_pos);
    m_pos += 2;
    return uint16_t(p[0] | (p[1] << 8));
}

int32_t TRMStreamReader::i32(const char* what) {
    need(4, what);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data.constData() + m_pos);
    m_pos += 4;
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                   (uint32_t(p[3]) << 24));
}

float TRMStreamReader::f32(const char* what) {
    const uint32_t bits = uint32_t(i32(what));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

QByteArray TRMStreamReader::bytes(qsizetype n, const char* what) {
    need(n, what);
    QByteArray out = m_data.mid(m_pos, n);
    m_pos += n;
    return out;
}

void TRMStreamReader::skip(qsizetype n, const char* what) {
    need(n, what);
    m_pos += n;
}

QString TRMStreamReader::string(const char* what) {
    const qsizetype start = m_pos;
    const uint16_t n = u16(what);
    if (qsizetype(n) + 1 > remaining())
        failAt(start, QStringLiteral("%1 of %2 bytes but %3 remain")
                          .arg(QString::fromLatin1(what))
                          .arg(n)
                          .arg(remaining()));
    const QString s = gbk::decode(QByteArrayView(m_data.constData() + m_pos, n));
    m_pos += n + 1; // the terminating byte 0
    return s;
}

QStringList TRMStreamReader::stringList(const char* what) {
    const qsizetype start = m_pos;
    const uint16_t count = u16(what);
    if (count == 0) {
        u8(what);
        return {};
    }
    // Each line takes at least three bytes: a count that cannot fit is damage, found before
    // anything is allocated for it.
    if (qsizetype(count) * 3 > remaining())
        failAt(start, QStringLiteral("%1 of %2 lines but %3 bytes remain")
                          .arg(QString::fromLatin1(what))
                          .arg(count)
                          .arg(remaining()));
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const uint16_t n = u16(what);
        if (qsizetype(n) + 1 > remaining())
            fail(QStringLiteral("line of %1 bytes but %2 remain").arg(n).arg(remaining()));
        lines.append(gbk::decode(QByteArrayView(m_data.constData() + m_pos, n)));
        m_pos += n + 1; // separator 13, or 0 after the last line
    }
    return lines;
}

QString TRMStreamReader::oldString(const char* what) {
    const qsizetype end = m_data.indexOf('\0', m_pos);
    if (end < 0)
        fail(QStringLiteral("%1 ended by a byte 0, but none follows")
                 .arg(QString::fromLatin1(what)));
    const QString s = gbk::decode(QByteArrayView(m_data.constData() + m_pos, end - m_pos));
    m_pos = end + 1;
    return s;
}

QStringList TRMStreamReader::oldStringList(const char* what) {
    const QString text = oldString(what);
    if (text.isEmpty())
        return {};
    return text.split(u'\r');
}

} // namespace kestrane::report
