#pragma once
// The look of a range: font, alignment, frame lines, fill and number format.
//
// Reports repeat a handful of looks over millions of cells, so a sheet keeps each distinct look
// once and its ranges refer to it: a range's look is read with Style() and changed by giving
// it a whole new look with SetStyle().
#include "export/xls/TqelXLSBorders.h"
#include "export/xls/TqelXLSFont.h"

#include <QString>

#include <cstddef>

namespace kestrane::xls {

struct TqelXLSStyle {
    // BIFF8 fill pattern codes the export uses.
    static constexpr quint8 PatternNone = 0;
    static constexpr quint8 PatternSolid = 17;

    TqelXLSBorders borders;
    TqelXLSFont font;
    quint8 horizontalAlignment = 0; // 0 general, 1 left, 2 centre, 3 right (4 to 6 pass through)
    quint8 verticalAlignment = 2;   // 0 top, 1 centre, 2 bottom, 3 justify
    bool wrap = false;
    quint8 rotation = 0;
    quint8 fillPattern = PatternNone;
    quint32 fillForeground = 0;
    quint32 fillBackground = 0;
    QString format; // empty: General

    bool operator==(const TqelXLSStyle&) const = default;
};

struct TqelXLSStyleHash {
    size_t operator()(const TqelXLSStyle& s) const;
};

} // namespace kestrane::xls
