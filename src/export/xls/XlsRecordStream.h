#pragma once
// The BIFF8 record stream on its way to a device. Bytes are gathered in a buffer and handed
// to the device in large pieces; positions count from the stream's first byte, which sits at
// `base` on the device. Fields that are only known later (sheet positions, cell block
// indexes) are patched in place, in the buffer when still there, otherwise on the device.
#include <QByteArray>
#include <QIODevice>

#include <cstring>
#include <vector>

namespace kestrane::xls {

class XlsRecordStream {
public:
    // Longest record data; longer data goes on in CONTINUE records.
    static constexpr int MaxRecordData = 8224;
    static constexpr quint16 ContinueId = 0x003C;

    XlsRecordStream(QIODevice& device, qint64 base);

    quint64 pos() const { return m_flushed + m_buffer.size(); }
    void write(const char* data, size_t size);
    // One record, split into CONTINUE records when the data is longer than 8224 bytes.
    void record(quint16 id, const char* data, size_t size);
    void record(quint16 id, const QByteArray& data) {
        record(id, data.constData(), static_cast<size_t>(data.size()));
    }
    // Overwrites bytes already written at stream position `at`.
    void patch(quint64 at, const char* data, size_t size);
    // Hands everything buffered to the device.
    void flush();

private:
    void deviceWrite(const char* data, qint64 size);

    QIODevice& m_device;
    qint64 m_base;
    quint64 m_flushed = 0;
    std::vector<char> m_buffer;
};

// Little-endian appenders for building record data.
inline void put8(QByteArray& b, quint8 v) {
    b.append(static_cast<char>(v));
}
inline void put16(QByteArray& b, quint16 v) {
    const char d[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    b.append(d, 2);
}
inline void put32(QByteArray& b, quint32 v) {
    const char d[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    b.append(d, 4);
}
inline void putDouble(QByteArray& b, double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    put32(b, static_cast<quint32>(bits));
    put32(b, static_cast<quint32>(bits >> 32));
}
// UTF-16 little-endian code units.
inline void putUtf16(QByteArray& b, QStringView s) {
    for (QChar c : s)
        put16(b, c.unicode());
}

} // namespace kestrane::xls
