#include "export/xls/TqelImage.h"

namespace kestrane::xls {

TqelImage::TqelImage(int anchorColumn, int anchorRow, int endColumn, int endRow,
                     const QImage* picture, bool copy)
    : anchorColumn(anchorColumn), anchorRow(anchorRow), endColumn(endColumn), endRow(endRow) {
    if (copy && picture) {
        m_own.emplace(picture->copy());
        m_borrowed = &*m_own;
    } else {
        m_borrowed = picture;
    }
}

} // namespace kestrane::xls
