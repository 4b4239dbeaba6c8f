#pragma once
// Writes a compound file (version 3, 512-byte sectors) holding one stream in its root
// storage. The stream's bytes go straight to the device, starting one sector in, so a large
// stream never needs a second copy in memory: begin() leaves room for the header, the caller
// writes the stream, and finish() lays the allocation tables and the directory behind it and
// fills in the header.
//
// Layout: header, stream sectors (for a stream under 4096 bytes these hold the mini stream,
// which carries the stream in 64-byte mini sectors), mini FAT, directory, FAT, DIFAT. Every
// chain is contiguous, so the tables are written as counting sequences.
#include <QIODevice>
#include <QString>

namespace kestrane::xls {

class CompoundFileWriter {
public:
    static constexpr int SectorSize = 512;
    static constexpr int MiniSectorSize = 64;
    static constexpr quint32 MiniStreamCutoff = 4096;
    // The offset at which the stream's first byte is to be written.
    static constexpr qint64 StreamOffset = SectorSize;

    CompoundFileWriter(QIODevice& device, QString streamName);

    // Reserves the header sector; the device must be empty and seekable.
    void begin();
    // Completes the file around a stream of `streamSize` bytes written since begin().
    void finish(quint64 streamSize);

private:
    void writeZeros(qint64 count);
    void writeSectorsOfEntries(quint64 entryCount, quint32 (*entry)(quint64, const void*),
                               const void* context);
    void write(const QByteArray& bytes);

    QIODevice& m_device;
    QString m_streamName;
};

} // namespace kestrane::xls
