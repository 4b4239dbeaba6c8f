#pragma once
// One frame line of a cell or merged area.
#include <QtGlobal>

namespace kestrane::xls {

struct TqelXLSBorder {
    // 24-bit 0x00BBGGRR colour; a value with the top bit set names a system colour.
    quint32 color = 0;
    // BIFF8 line style code: 0 none, 1 thin, 3 dashed, 4 dotted, 9 dash-dot, 11 dash-dot-dot.
    quint8 lineStyle = 0;
    quint8 flags = 0;

    bool operator==(const TqelXLSBorder&) const = default;
};

} // namespace kestrane::xls
