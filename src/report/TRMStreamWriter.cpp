#include "report/TRMStreamWriter.h"

#include "common/Gbk.h"

namespace kestrane::report {

namespace {
QByteArray gbkLimited(const QString& s) {
    QByteArray b = gbk::encode(s);
    if (b.size() > 0xFFFF)
        b = gbk::encode(gbk::truncateToBytes(s, 0xFFFF));
    return b;
}
} // namespace

void TRMStreamWriter::u16(uint16_t v) {
    m_data.append(char(v & 0xFF));
    m_data.append(char(v >> 8));
}

void TRMStreamWriter::i32(int32_t v) {
    const uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i)
        m_data.append(char((u >> (8 * i)) & 0xFF));
}

void TRMStreamWriter::string(const QString& s) {
    const QByteArray b = gbkLimited(s);
    u16(uint16_t(b.size()));
    m_data.append(b);
    u8(0);
}

void TRMStreamWriter::stringList(const QStringList& lines) {
    const qsizetype count = std::min<qsizetype>(lines.size(), 0xFFFF);
    u16(uint16_t(count));
    if (count == 0) {
        u8(0);
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray b = gbkLimited(lines[i]);
        u16(uint16_t(b.size()));
        m_data.append(b);
        u8(i + 1 < count ? 13 : 0);
    }
}

qsizetype TRMStreamWriter::reserveI32() {
    const qsizetype at = m_data.size();
    i32(0);
    return at;
}

void TRMStreamWriter::patchI32(qsizetype at, int32_t v) {
    const uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i)
        m_data[at + i] = char((u >> (8 * i)) & 0xFF);
}

} // namespace kestrane::report
