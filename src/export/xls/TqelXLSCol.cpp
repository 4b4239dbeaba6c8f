#include "export/xls/TqelXLSCol.h"

#include "export/xls/XlsScreenMetrics.h"

#include <algorithm>

namespace kestrane::xls {

void TqelXLSCol::SetWidth(int width) {
    m_width = std::clamp(width, 0, MaxWidth);
}

void TqelXLSCol::SetWidthPixels(int pixels) {
    SetWidth(XlsScreenMetrics::mulDiv(pixels, 256, XlsScreenMetrics::arialXWidth()));
}

} // namespace kestrane::xls
