#pragma once
// A picture anchored to sheet cells. The image either keeps its own copy of the picture or
// borrows the caller's, which must then outlive the workbook's save.
#include <QImage>

#include <optional>

namespace kestrane::xls {

class TqelImage {
public:
    TqelImage(int anchorColumn, int anchorRow, int endColumn, int endRow, const QImage* picture,
              bool copy);

    const QImage* Picture() const { return m_borrowed; }
    bool OwnsPicture() const { return m_own.has_value(); }

    int anchorColumn;
    int anchorX = 0; // 1/1024 of the column width
    int anchorRow;
    int anchorY = 0; // 1/256 of the row height
    int endColumn;
    int endX = 0;
    int endRow;
    int endY = 0;
    quint32 lineColor = 0xFFFFFF;
    quint8 lineStyle = 0;
    quint8 lineWeight = 0;
    int horizontalScale = 0; // percent; 0 keeps the end anchor
    int verticalScale = 0;

private:
    std::optional<QImage> m_own;
    const QImage* m_borrowed = nullptr;
};

} // namespace kestrane::xls
