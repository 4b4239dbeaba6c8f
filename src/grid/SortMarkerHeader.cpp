#include "grid/SortMarkerHeader.h"

#include "grid/TAdvDBGridEh.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kestrane::grid {

SortMarkerHeader::SortMarkerHeader(TAdvDBGridEh* grid)
    : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {
    setSectionsClickable(true);
    connect(this, &QHeaderView::sectionResized, this, [this] {
        if (m_resizing)
            m_resized = true;
    });
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void SortMarkerHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    const TColumnEh* column = m_grid->column(logicalIndex);
    if (!column || column->Title.SortMarker == smNoneEh)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const int size = 7;
    const int x = rect.right() - size - 4;
    const int y = rect.center().y() - size / 2;
    QPainterPath triangle;
    if (column->Title.SortMarker == smUpEh) {
        triangle.moveTo(x, y + size);
        triangle.lineTo(x + size, y + size);
        triangle.lineTo(x + size / 2.0, y);
    } else {
        triangle.moveTo(x, y);
        triangle.lineTo(x + size, y);
        triangle.lineTo(x + size / 2.0, y + size);
    }
    triangle.closeSubpath();
    painter->fillPath(triangle, palette().color(QPalette::Shadow));
    if (m_grid->sortMarkedColumns().size() > 1) {
        QFont small = painter->font();
        small.setPointSizeF(small.pointSizeF() * 0.75);
        painter->setFont(small);
        painter->drawText(QRect(x - 12, rect.top(), 11, rect.height()), Qt::AlignCenter,
                          QString::number(column->Title.SortIndex));
    }
    painter->restore();
}

void SortMarkerHeader::mousePressEvent(QMouseEvent* e) {
    m_pressedSection = logicalIndexAt(e->position().toPoint());
    m_pressModifiers = e->modifiers();
    QHeaderView::mousePressEvent(e);
    // Pressing on a border starts a resize, shown by the split cursor.
    m_resizing = cursor().shape() == Qt::SplitHCursor;
    m_resized = false;
}

void SortMarkerHeader::mouseReleaseEvent(QMouseEvent* e) {
    const int section = logicalIndexAt(e->position().toPoint());
    const bool click =
        e->button() == Qt::LeftButton && section >= 0 && section == m_pressedSection && !m_resizing;
    QHeaderView::mouseReleaseEvent(e);
    if (click)
        Q_EMIT titleClicked(section, m_pressModifiers | e->modifiers());
    if (m_resizing && m_resized)
        Q_EMIT columnsResizedByUser();
    m_pressedSection = -1;
    m_resizing = false;
}

} // namespace kestrane::grid
