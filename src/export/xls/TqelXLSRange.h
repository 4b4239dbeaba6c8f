#pragma once
// One cell, or one merged area of cells, with its value and look.
#include "export/xls/TqelXLSBorders.h"
#include "export/xls/TqelXLSFont.h"

#include <QString>
#include <QVariant>

namespace kestrane::xls {

struct TqelXLSRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class TqelXLSRange {
public:
    enum class Kind { Text, Number, Formula };
    // BIFF8 fill pattern codes the export uses.
    static constexpr quint8 PatternNone = 0;
    static constexpr quint8 PatternSolid = 17;

    explicit TqelXLSRange(const TqelXLSRect& rect) : m_rect(rect) {}

    const TqelXLSRect& Rect() const { return m_rect; }
    bool IsMerged() const { return m_rect.left != m_rect.right || m_rect.top != m_rect.bottom; }

    const QVariant& Value() const { return m_value; }
    // A text value has every CR LF pair turned into a single LF (a cell line break); other
    // values are kept as they are.
    void SetValue(const QVariant& value);
    Kind CellKind() const;

    TqelXLSBorders borders;
    TqelXLSFont font;
    quint8 horizontalAlignment = 0; // 0 general, 1 left, 2 centre, 3 right
    quint8 verticalAlignment = 2;   // 0 top, 1 centre, 2 bottom, 3 justify
    bool wrap = false;
    quint8 rotation = 0;
    quint8 fillPattern = PatternNone;
    quint32 fillForeground = 0;
    quint32 fillBackground = 0;
    QString format;  // empty: General
    QString formula; // empty: no formula

private:
    TqelXLSRect m_rect;
    QVariant m_value;
};

} // namespace kestrane::xls
