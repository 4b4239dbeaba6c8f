#include "ui/AviClip.h"

#include "common/Error.h"

#include <QFile>
#include <functional>

namespace kestrane::ui {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr int kMaxDimension = 4096;
constexpr int kMaxFrames = 10000;

[[noreturn]] void fail(qsizetype offset, const QString& what) {
    throw Error(QStringLiteral("AVI, byte %1: %2").arg(offset).arg(what));
}

struct Reader {
    const QByteArray& bytes;

    uint32_t u32(qsizetype at) const {
        if (at < 0 || at + 4 > bytes.size())
            fail(at, QStringLiteral("4 bytes needed but the file ends"));
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t i32(qsizetype at) const { return int32_t(u32(at)); }
    uint16_t u16(qsizetype at) const {
        if (at < 0 || at + 2 > bytes.size())
            fail(at, QStringLiteral("2 bytes needed but the file ends"));
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
        return uint16_t(p[0] | p[1] << 8);
    }
    QByteArray fourcc(qsizetype at) const {
        if (at < 0 || at + 4 > bytes.size())
            fail(at, QStringLiteral("a chunk identifier needed but the file ends"));
        return bytes.mid(at, 4);
    }
};

struct Format {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    int bitCount = 0;
    uint32_t compression = 0;
    QList<QRgb> palette;
};

void decodeRgb(const Reader& r, qsizetype at, uint32_t size, const Format& f, QImage& image) {
    const int bytesPerPixel = f.bitCount / 8;
    const qsizetype stride = ((qsizetype(f.width) * f.bitCount + 31) / 32) * 4;
    if (qsizetype(size) < stride * f.height)
        fail(at, QStringLiteral("frame of %1 bytes, %2 needed").arg(size).arg(stride * f.height));
    const uchar* data = reinterpret_cast<const uchar*>(r.bytes.constData() + at);
    for (int y = 0; y < f.height; ++y) {
        const uchar* row = data + stride * (f.bottomUp ? f.height - 1 - y : y);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < f.width; ++x) {
            if (bytesPerPixel == 1) {
                const int index = row[x];
                out[x] = index < f.palette.size() ? f.palette[index] : qRgb(0, 0, 0);
            } else {
                const uchar* p = row + x * bytesPerPixel;
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
}

// RLE8 frames draw over the previous one: runs, literal runs, end of line, end of frame and
// position deltas, the way bitmap RLE8 is defined.
void decodeRle8(const Reader& r, qsizetype at, uint32_t size, const Format& f, QImage& image) {
    const uchar* data = reinterpret_cast<const uchar*>(r.bytes.constData() + at);
    qsizetype i = 0;
    int x = 0, row = 0;
    auto put = [&](int index) {
        if (x < f.width && row < f.height) {
            const int y = f.bottomUp ? f.height - 1 - row : row;
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] =
                index < f.palette.size() ? f.palette[index] : qRgb(0, 0, 0);
        }
        ++x;
    };
    while (i + 1 < qsizetype(size)) {
        const uchar count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (i + 1 >= qsizetype(size))
                fail(at + i, QStringLiteral("delta cut short"));
            x += data[i];
            row += data[i + 1];
            i += 2;
        } else {
            if (i + value > qsizetype(size))
                fail(at + i, QStringLiteral("literal run of %1 bytes cut short").arg(value));
            for (int k = 0; k < value; ++k)
                put(data[i + k]);
            i += value + (value & 1);
        }
    }
}

} // namespace

AviClip AviClip::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开动画文件 %1").arg(path));
    return read(file.readAll());
}

AviClip AviClip::read(const QByteArray& bytes) {
    const Reader r{bytes};
    if (r.fourcc(0) != "RIFF" || r.fourcc(8) != "AVI ")
        fail(0, QStringLiteral("not an AVI file"));
    AviClip clip;
    Format format;
    bool haveFormat = false;
    QImage current;

    // Walks the chunks between `begin` and `end`, descending into lists.
    std::function<void(qsizetype, qsizetype)> walk = [&](qsizetype begin, qsizetype end) {
        qsizetype at = begin;
        while (at + 8 <= end) {
            const QByteArray id = r.fourcc(at);
            const uint32_t size = r.u32(at + 4);
            const qsizetype body = at + 8;
            if (qsizetype(size) > end - body)
                fail(at,
                     QStringLiteral("chunk of %1 bytes but %2 remain").arg(size).arg(end - body));
            if (id == "LIST" || id == "RIFF") {
                if (size < 4)
                    fail(at, QStringLiteral("list without a type"));
                walk(body + 4, body + size);
            } else if (id == "avih") {
                const uint32_t microseconds = r.u32(body);
                if (microseconds > 0)
                    clip.m_intervalMs = int(qBound<uint32_t>(10, microseconds / 1000, 10000));
            } else if (id == "strf" && !haveFormat) {
                const uint32_t headerSize = r.u32(body);
                const int32_t width = r.i32(body + 4);
                const int32_t height = r.i32(body + 8);
                format.bitCount = r.u16(body + 14);
                format.compression = r.u32(body + 16);
                uint32_t colours = r.u32(body + 32);
                if (width <= 0 || width > kMaxDimension || height == 0 ||
                    qAbs(height) > kMaxDimension)
                    fail(body, QStringLiteral("frame size %1 x %2").arg(width).arg(height));
                format.width = width;
                format.height = qAbs(height);
                format.bottomUp = height > 0;
                const bool supported =
                    (format.compression == kBiRgb &&
                     (format.bitCount == 8 || format.bitCount == 24 || format.bitCount == 32)) ||
                    (format.compression == kBiRle8 && format.bitCount == 8);
                if (!supported)
                    fail(body, QStringLiteral("frames of %1 bits, compression %2 not supported")
                                   .arg(format.bitCount)
                                   .arg(format.compression));
                if (format.bitCount == 8) {
                    if (colours == 0 || colours > 256)
                        colours = 256;
                    const qsizetype paletteAt = body + headerSize;
                    if (paletteAt + qsizetype(colours) * 4 > body + size)
                        colours = uint32_t(qMax<qsizetype>(0, (body + size - paletteAt) / 4));
                    for (uint32_t c = 0; c < colours; ++c) {
                        const uint32_t bgra = r.u32(paletteAt + c * 4);
                        format.palette.append(
                            qRgb((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
                    }
                }
                haveFormat = true;
                current = QImage(format.width, format.height, QImage::Format_RGB32);
                current.fill(Qt::black);
                clip.m_size = current.size();
            } else if (id.size() == 4 && id.at(0) == '0' && id.at(1) == '0' &&
                       (id.endsWith("db") || id.endsWith("dc"))) {
                if (!haveFormat)
                    fail(at, QStringLiteral("frame before the stream format"));
                if (clip.m_frames.size() >= kMaxFrames)
                    fail(at, QStringLiteral("more than %1 frames").arg(kMaxFrames));
                if (format.compression == kBiRle8)
                    decodeRle8(r, body, size, format, current);
                else
                    decodeRgb(r, body, size, format, current);
                clip.m_frames.append(current.copy());
            }
            at = body + size + (size & 1);
        }
    };
    const qsizetype riffEnd = qMin<qsizetype>(bytes.size(), 8 + qsizetype(r.u32(4)));
    walk(12, riffEnd);
    if (clip.m_frames.isEmpty())
        fail(0, QStringLiteral("no frames"));
    return clip;
}

} // namespace kestrane::ui
