#pragma once
// One prepared page: paper, margins, geometry, background, the design page it came from,
// and the byte stream of its finished views (a version byte, then view records).
#include <QByteArray>
#include <QRect>

namespace kestrane::report {

struct TRMEMFPage {
    int PaperCode = 9;
    qint32 PaperWidth = 210000; // thousandths of a millimetre
    qint32 PaperHeight = 297000;
    int Orientation = 0;
    qint32 PaperSource = -1;
    qint32 LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    QRect Geometry;            // printable area in the printer's resolution
    int BackgroundIndex = 255; // 255: none
    int DesignPageIndex = 0;
    bool Visible = true;
    QByteArray Stream;
    friend bool operator==(const TRMEMFPage&, const TRMEMFPage&) = default;
};

} // namespace kestrane::report
