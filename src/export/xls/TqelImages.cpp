#include "export/xls/TqelImages.h"

namespace kestrane::xls {

TqelImage& TqelImages::Add(int anchorColumn, int anchorRow, int endColumn, int endRow,
                           const QImage* picture, bool copy) {
    return m_items.emplace_back(anchorColumn, anchorRow, endColumn, endRow, picture, copy);
}

} // namespace kestrane::xls
