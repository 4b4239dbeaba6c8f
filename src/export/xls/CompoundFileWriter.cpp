#include "export/xls/CompoundFileWriter.h"

#include "common/Error.h"
#include "export/xls/XlsRecordStream.h"

#include <utility>

namespace kestrane::xls {

namespace {

constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kEntriesPerSector = CompoundFileWriter::SectorSize / 4;
constexpr int kHeaderDifatEntries = 109;
// Sector numbers above this are reserved markers; version 3 files also keep sizes in 32 bits.
constexpr quint64 kMaxStreamSize = 0x7FFFFFFFull;

quint64 ceilDiv(quint64 a, quint64 b) {
    return (a + b - 1) / b;
}

// The sectors of the file, in file order after the header.
struct Layout {
    quint64 dataSectors = 0; // stream or mini stream container
    quint64 miniSectors = 0; // 64-byte sectors of the mini stream (small streams only)
    quint64 miniFatSectors = 0;
    quint64 fatSectors = 0;
    quint64 difatSectors = 0;
    bool mini = false;

    quint64 miniFatStart() const { return dataSectors; }
    quint64 directoryStart() const { return dataSectors + miniFatSectors; }
    quint64 fatStart() const { return directoryStart() + 1; }
    quint64 difatStart() const { return fatStart() + fatSectors; }
    quint64 totalSectors() const { return difatStart() + difatSectors; }
};

Layout planLayout(quint64 streamSize) {
    Layout l;
    l.mini = streamSize < CompoundFileWriter::MiniStreamCutoff;
    if (l.mini) {
        l.miniSectors = ceilDiv(streamSize, CompoundFileWriter::MiniSectorSize);
        l.dataSectors = ceilDiv(l.miniSectors * CompoundFileWriter::MiniSectorSize,
                                CompoundFileWriter::SectorSize);
        l.miniFatSectors = ceilDiv(l.miniSectors, kEntriesPerSector);
    } else {
        l.dataSectors = ceilDiv(streamSize, CompoundFileWriter::SectorSize);
    }
    // The FAT must also cover its own sectors and those of the DIFAT, which in turn grows
    // with the FAT: settle both together.
    const quint64 fixed = l.dataSectors + l.miniFatSectors + 1;
    l.fatSectors = ceilDiv(fixed, kEntriesPerSector);
    for (;;) {
        l.difatSectors = l.fatSectors > kHeaderDifatEntries
                             ? ceilDiv(l.fatSectors - kHeaderDifatEntries, kEntriesPerSector - 1)
                             : 0;
        if (fixed + l.fatSectors + l.difatSectors <= l.fatSectors * kEntriesPerSector)
            break;
        ++l.fatSectors;
    }
    return l;
}

void putLe32(char* p, quint32 v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
    p[2] = static_cast<char>((v >> 16) & 0xFF);
    p[3] = static_cast<char>(v >> 24);
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start,
                          quint64 size) {
    QByteArray e;
    e.reserve(128);
    const QString n = name.left(31);
    putUtf16(e, n);
    e.append(64 - e.size(), '\0');
    put16(e, n.isEmpty() ? 0 : static_cast<quint16>((n.size() + 1) * 2));
    put8(e, type);
    put8(e, 1); // black: a tree of one node per level is trivially balanced
    put32(e, kNoStream);
    put32(e, kNoStream);
    put32(e, child);
    e.append(16 + 4 + 8 + 8, '\0'); // class id, state bits, creation and modification times
    put32(e, start);
    put32(e, static_cast<quint32>(size));
    put32(e, 0);
    return e;
}

struct FatContext {
    const Layout* layout;
};

quint32 fatEntry(quint64 i, const void* context) {
    const Layout& l = *static_cast<const FatContext*>(context)->layout;
    auto chain = [](quint64 i, quint64 start, quint64 count) {
        return i + 1 < start + count ? static_cast<quint32>(i + 1) : kEndOfChain;
    };
    if (i < l.dataSectors)
        return chain(i, 0, l.dataSectors);
    if (i < l.directoryStart())
        return chain(i, l.miniFatStart(), l.miniFatSectors);
    if (i == l.directoryStart())
        return kEndOfChain;
    if (i < l.difatStart())
        return kFatSect;
    if (i < l.totalSectors())
        return kDifSect;
    return kFreeSect;
}

quint32 miniFatEntry(quint64 i, const void* context) {
    const Layout& l = *static_cast<const FatContext*>(context)->layout;
    if (i < l.miniSectors)
        return i + 1 < l.miniSectors ? static_cast<quint32>(i + 1) : kEndOfChain;
    return kFreeSect;
}

} // namespace

CompoundFileWriter::CompoundFileWriter(QIODevice& device, QString streamName)
    : m_device(device), m_streamName(std::move(streamName)) {}

void CompoundFileWriter::begin() {
    writeZeros(SectorSize);
}

void CompoundFileWriter::finish(quint64 streamSize) {
    if (streamSize > kMaxStreamSize)
        throw Error(QStringLiteral("工作簿数据超过 2 GB, 无法保存为 Excel 97-2003 文件"));
    const Layout l = planLayout(streamSize);
    const quint64 dataBytes = l.dataSectors * SectorSize;
    if (!m_device.seek(StreamOffset + static_cast<qint64>(streamSize)))
        throw Error(QStringLiteral("写入复合文档失败: %1").arg(m_device.errorString()));
    writeZeros(static_cast<qint64>(dataBytes - streamSize));

    FatContext context{&l};
    if (l.miniFatSectors)
        writeSectorsOfEntries(l.miniFatSectors * kEntriesPerSector, miniFatEntry, &context);

    // Directory: the root entry (holding the mini stream, if any), the stream, two unused.
    QByteArray dir;
    const quint32 rootStart = l.mini && l.dataSectors ? 0 : kEndOfChain;
    const quint64 rootSize = l.mini ? l.miniSectors * MiniSectorSize : 0;
    dir += directoryEntry(QStringLiteral("Root Entry"), 5, 1, rootStart, rootSize);
    const quint32 streamStart = streamSize ? 0 : kEndOfChain;
    dir += directoryEntry(m_streamName, 2, kNoStream, streamStart, streamSize);
    for (int i = 0; i < 2; ++i) {
        QByteArray unused = directoryEntry(QString(), 0, kNoStream, 0, 0);
        dir += unused;
    }
    write(dir);

    writeSectorsOfEntries(l.fatSectors * kEntriesPerSector, fatEntry, &context);

    // DIFAT sectors: the locations of the FAT sectors beyond the 109 in the header, 127 per
    // sector, each sector ending with the location of the next.
    for (quint64 s = 0; s < l.difatSectors; ++s) {
        QByteArray sector(SectorSize, '\0');
        for (int k = 0; k < kEntriesPerSector - 1; ++k) {
            const quint64 fatIndex = kHeaderDifatEntries + s * (kEntriesPerSector - 1) + k;
            putLe32(sector.data() + 4 * k, fatIndex < l.fatSectors
                                               ? static_cast<quint32>(l.fatStart() + fatIndex)
                                               : kFreeSect);
        }
        putLe32(sector.data() + SectorSize - 4, s + 1 < l.difatSectors
                                                    ? static_cast<quint32>(l.difatStart() + s + 1)
                                                    : kEndOfChain);
        write(sector);
    }

    QByteArray h;
    h.reserve(SectorSize);
    h.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    h.append(16, '\0'); // class id
    put16(h, 0x003E);   // minor version
    put16(h, 0x0003);   // major version: 512-byte sectors
    put16(h, 0xFFFE);   // little-endian
    put16(h, 9);        // sector shift
    put16(h, 6);        // mini sector shift
    h.append(6, '\0');
    put32(h, 0); // directory sectors (always 0 in version 3)
    put32(h, static_cast<quint32>(l.fatSectors));
    put32(h, static_cast<quint32>(l.directoryStart()));
    put32(h, 0); // transaction signature
    put32(h, MiniStreamCutoff);
    put32(h, l.miniFatSectors ? static_cast<quint32>(l.miniFatStart()) : kEndOfChain);
    put32(h, static_cast<quint32>(l.miniFatSectors));
    put32(h, l.difatSectors ? static_cast<quint32>(l.difatStart()) : kEndOfChain);
    put32(h, static_cast<quint32>(l.difatSectors));
    for (int k = 0; k < kHeaderDifatEntries; ++k)
        put32(h, k < static_cast<int>(l.fatSectors) ? static_cast<quint32>(l.fatStart() + k)
                                                    : kFreeSect);
    if (!m_device.seek(0))
        throw Error(QStringLiteral("写入复合文档失败: %1").arg(m_device.errorString()));
    write(h);
}

void CompoundFileWriter::writeSectorsOfEntries(quint64 entryCount,
                                               quint32 (*entry)(quint64, const void*),
                                               const void* context) {
    constexpr quint64 kChunkEntries = 64 * kEntriesPerSector;
    QByteArray chunk;
    for (quint64 i = 0; i < entryCount; i += kChunkEntries) {
        const quint64 n = std::min(kChunkEntries, entryCount - i);
        chunk.resize(static_cast<qsizetype>(n * 4));
        for (quint64 k = 0; k < n; ++k)
            putLe32(chunk.data() + 4 * k, entry(i + k, context));
        write(chunk);
    }
}

void CompoundFileWriter::writeZeros(qint64 count) {
    static const QByteArray zeros(64 * 1024, '\0');
    while (count > 0) {
        const qint64 n = std::min<qint64>(count, zeros.size());
        if (m_device.write(zeros.constData(), n) != n)
            throw Error(QStringLiteral("写入复合文档失败: %1").arg(m_device.errorString()));
        count -= n;
    }
}

void CompoundFileWriter::write(const QByteArray& bytes) {
    if (m_device.write(bytes) != bytes.size())
        throw Error(QStringLiteral("写入复合文档失败: %1").arg(m_device.errorString()));
}

} // namespace kestrane::xls
