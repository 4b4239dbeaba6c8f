#include "grid/GridFooter.h"

#include "grid/TAdvDBGridEh.h"

#include <QHeaderView>
#include <QPainter>

namespace kestrane::grid {

GridFooter::GridFooter(TAdvDBGridEh* grid) : QWidget(grid), m_grid(grid) {
    setObjectName(QStringLiteral("Footer"));
    setAutoFillBackground(true);
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_grid->footerColor());
    QHeaderView* header = m_grid->horizontalHeader();
    const int offset = m_grid->viewport()->x() - x();
    painter.setPen(palette().color(QPalette::Mid));
    for (int logical = 0; logical < m_grid->columnCount(); ++logical) {
        if (header->isSectionHidden(logical))
            continue;
        const int left = header->sectionViewportPosition(logical) + offset;
        const QRect cell(left, 0, header->sectionSize(logical), height());
        if (cell.right() < 0 || cell.left() > width())
            continue;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(cell.topRight(), cell.bottomRight());
        const TColumnEh* column = m_grid->column(logical);
        const QString text = column->Footer.Value;
        if (text.isEmpty())
            continue;
        painter.setPen(palette().color(QPalette::WindowText));
        const bool sum = column->Footer.ValueType == fvtSum;
        painter.drawText(cell.adjusted(3, 0, -3, 0),
                         (sum ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
}

} // namespace kestrane::grid
