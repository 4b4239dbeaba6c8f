#pragma once
// An enhanced metafile that shows a bitmap: a header, one StretchDIBits record carrying the
// picture as a 24-bit device-independent bitmap drawn at (0, 0) in its own size, and the end
// record. It is what a picture looks like once drawn onto a metafile canvas of its size; the
// workbook's picture records carry it.
#include <QByteArray>
#include <QImage>

namespace kestrane::xls {

class EmfBitmapPicture {
public:
    // Reference resolution of the metafile: 96 pixels per inch.
    static constexpr int DotsPerInch = 96;

    static QByteArray encode(const QImage& picture);
};

} // namespace kestrane::xls
