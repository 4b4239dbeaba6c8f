#pragma once
// The pictures of one sheet, in the order they were added.
#include "export/xls/TqelImage.h"

#include <deque>

namespace kestrane::xls {

class TqelImages {
public:
    TqelImage& Add(int anchorColumn, int anchorRow, int endColumn, int endRow,
                   const QImage* picture, bool copy);
    int Count() const { return static_cast<int>(m_items.size()); }
    const TqelImage& At(int i) const { return m_items.at(static_cast<size_t>(i)); }
    TqelImage& At(int i) { return m_items.at(static_cast<size_t>(i)); }

private:
    // A deque keeps every image at its address while more are added.
    std::deque<TqelImage> m_items;
};

} // namespace kestrane::xls
