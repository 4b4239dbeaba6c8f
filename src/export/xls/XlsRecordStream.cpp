#include "export/xls/XlsRecordStream.h"

#include "common/Error.h"

#include <algorithm>

namespace kestrane::xls {

namespace {
constexpr size_t kFlushSize = 1 << 20;
}

XlsRecordStream::XlsRecordStream(QIODevice& device, qint64 base) : m_device(device), m_base(base) {
    m_buffer.reserve(kFlushSize + 2 * MaxRecordData);
}

void XlsRecordStream::write(const char* data, size_t size) {
    if (size >= kFlushSize) {
        flush();
        deviceWrite(data, static_cast<qint64>(size));
        m_flushed += size;
        return;
    }
    m_buffer.insert(m_buffer.end(), data, data + size);
    if (m_buffer.size() >= kFlushSize)
        flush();
}

void XlsRecordStream::record(quint16 id, const char* data, size_t size) {
    size_t done = 0;
    quint16 current = id;
    do {
        const size_t piece = std::min<size_t>(size - done, MaxRecordData);
        const char header[4] = {static_cast<char>(current & 0xFF), static_cast<char>(current >> 8),
                                static_cast<char>(piece & 0xFF), static_cast<char>(piece >> 8)};
        write(header, 4);
        if (piece)
            write(data + done, piece);
        done += piece;
        current = ContinueId;
    } while (done < size);
}

void XlsRecordStream::patch(quint64 at, const char* data, size_t size) {
    if (at >= m_flushed) {
        std::memcpy(m_buffer.data() + (at - m_flushed), data, size);
        return;
    }
    flush();
    if (!m_device.seek(m_base + static_cast<qint64>(at)))
        throw Error(QStringLiteral("写入工作簿失败: 无法定位到 %1 (%2)")
                        .arg(at)
                        .arg(m_device.errorString()));
    deviceWrite(data, static_cast<qint64>(size));
    if (!m_device.seek(m_base + static_cast<qint64>(m_flushed)))
        throw Error(QStringLiteral("写入工作簿失败: 无法定位到 %1 (%2)")
                        .arg(m_flushed)
                        .arg(m_device.errorString()));
}

void XlsRecordStream::flush() {
    if (m_buffer.empty())
        return;
    deviceWrite(m_buffer.data(), static_cast<qint64>(m_buffer.size()));
    m_flushed += m_buffer.size();
    m_buffer.clear();
}

void XlsRecordStream::deviceWrite(const char* data, qint64 size) {
    if (m_device.write(data, size) != size)
        throw Error(QStringLiteral("写入工作簿失败: %1").arg(m_device.errorString()));
}

} // namespace kestrane::xls
