#include "export/xls/TqelXLSRow.h"

#include "export/xls/XlsScreenMetrics.h"

namespace kestrane::xls {

void TqelXLSRow::SetHeightPixels(int pixels) {
    m_height = XlsScreenMetrics::mulDiv(pixels, 1440, XlsScreenMetrics::pixelsPerInchX());
}

} // namespace kestrane::xls
