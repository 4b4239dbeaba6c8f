#include "export/xls/EmfBitmapPicture.h"

#include "export/xls/XlsRecordStream.h"

namespace kestrane::xls {

namespace {
constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmrStretchDiBits = 81;
constexpr quint32 kEmrEof = 14;
constexpr quint32 kHeaderSize = 88;
constexpr quint32 kStretchFixedSize = 80;
constexpr quint32 kBitmapInfoSize = 40;
constexpr quint32 kEofSize = 20;
constexpr quint32 kSrcCopy = 0x00CC0020;
// Reference device: 960 x 960 pixels on 254 x 254 millimetres, i.e. 96 dpi.
constexpr int kDevicePixels = 960;
constexpr int kDeviceMillimetres = 254;

void putRect(QByteArray& b, int left, int top, int right, int bottom) {
    put32(b, static_cast<quint32>(left));
    put32(b, static_cast<quint32>(top));
    put32(b, static_cast<quint32>(right));
    put32(b, static_cast<quint32>(bottom));
}
} // namespace

QByteArray EmfBitmapPicture::encode(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width();
    const int h = rgb.height();
    const quint32 stride = static_cast<quint32>((w * 3 + 3) & ~3);
    const quint32 bitsSize = stride * static_cast<quint32>(h);
    const quint32 stretchSize = kStretchFixedSize + kBitmapInfoSize + bitsSize;
    const quint32 total = kHeaderSize + stretchSize + kEofSize;

    QByteArray b;
    b.reserve(static_cast<qsizetype>(total));
    // Bounds are inclusive device pixels; the frame is in 0.01 mm.
    const int frameRight = (w * 2540 + DotsPerInch / 2) / DotsPerInch - 1;
    const int frameBottom = (h * 2540 + DotsPerInch / 2) / DotsPerInch - 1;

    // EMR_HEADER
    put32(b, kEmrHeader);
    put32(b, kHeaderSize);
    putRect(b, 0, 0, w - 1, h - 1);
    putRect(b, 0, 0, frameRight, frameBottom);
    put32(b, 0x464D4520); // " EMF"
    put32(b, 0x00010000);
    put32(b, total);
    put32(b, 3); // records
    put16(b, 1); // handles: index 0 is reserved
    put16(b, 0);
    put32(b, 0); // description length
    put32(b, 0); // description offset
    put32(b, 0); // palette entries
    put32(b, kDevicePixels);
    put32(b, kDevicePixels);
    put32(b, kDeviceMillimetres);
    put32(b, kDeviceMillimetres);

    // EMR_STRETCHDIBITS
    put32(b, kEmrStretchDiBits);
    put32(b, stretchSize);
    putRect(b, 0, 0, w - 1, h - 1);
    put32(b, 0); // xDest
    put32(b, 0); // yDest
    put32(b, 0); // xSrc
    put32(b, 0); // ySrc
    put32(b, static_cast<quint32>(w));
    put32(b, static_cast<quint32>(h));
    put32(b, kStretchFixedSize);                   // bitmap info offset
    put32(b, kBitmapInfoSize);                     // bitmap info size
    put32(b, kStretchFixedSize + kBitmapInfoSize); // bits offset
    put32(b, bitsSize);
    put32(b, 0); // DIB_RGB_COLORS
    put32(b, kSrcCopy);
    put32(b, static_cast<quint32>(w));
    put32(b, static_cast<quint32>(h));
    // BITMAPINFOHEADER: 24 bits, uncompressed, bottom-up rows.
    put32(b, kBitmapInfoSize);
    put32(b, static_cast<quint32>(w));
    put32(b, static_cast<quint32>(h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0); // BI_RGB
    put32(b, bitsSize);
    put32(b, 3780); // 96 dpi in pixels per metre
    put32(b, 3780);
    put32(b, 0);
    put32(b, 0);
    const qsizetype bitsAt = b.size();
    b.resize(bitsAt + static_cast<qsizetype>(bitsSize));
    char* bits = b.data() + bitsAt;
    for (int y = 0; y < h; ++y) {
        const uchar* src = rgb.constScanLine(h - 1 - y);
        char* dst = bits + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = static_cast<char>(src[3 * x + 2]); // the DIB keeps blue first
            dst[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
            dst[3 * x + 2] = static_cast<char>(src[3 * x]);
        }
        std::fill(dst + 3 * w, dst + stride, '\0');
    }

    // EMR_EOF
    put32(b, kEmrEof);
    put32(b, kEofSize);
    put32(b, 0);  // palette entries
    put32(b, 16); // palette offset
    put32(b, kEofSize);
    return b;
}

} // namespace kestrane::xls
