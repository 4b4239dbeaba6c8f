#pragma once
// Little-endian writer of report streams; the counterpart of TRMStreamReader (current
// encodings only: the writer always writes the current version).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane::report {

class TRMStreamWriter {
public:
    qsizetype pos() const { return m_data.size(); }
    const QByteArray& data() const { return m_data; }
    QByteArray take() { return std::exchange(m_data, QByteArray()); }

    void u8(uint8_t v) { m_data.append(char(v)); }
    void u16(uint16_t v);
    void i32(int32_t v);
    void bytes(const QByteArray& b) { m_data.append(b); }
    // uint16 length, GBK bytes, byte 0. Longer texts are cut at 65535 bytes on a character
    // boundary (the length field cannot say more).
    void string(const QString& s);
    void stringList(const QStringList& lines);
    // Reserves an int32 to be filled later with patchI32.
    qsizetype reserveI32();
    void patchI32(qsizetype at, int32_t v);

private:
    QByteArray m_data;
};

} // namespace kestrane::report
