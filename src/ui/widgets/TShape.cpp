#include "ui/widgets/TShape.h"

#include "ui/ComponentKind.h"

#include <QPainter>

namespace kestrane::ui {

TShape::TShape(QWidget* parent) : QWidget(parent) {
    setComponentKind(this, "TSHAPE");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::setPenColor(TColor c) {
    m_penColor = c;
    update();
}

void TShape::setBrushColor(TColor c) {
    m_brushColor = c;
    update();
}

void TShape::setBrushClear(bool clear) {
    m_brushClear = clear;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_brushClear)
        painter.fillRect(rect(), toQColor(m_brushColor));
    painter.setPen(toQColor(m_penColor));
    if (height() <= 1 || width() <= 1)
        painter.drawLine(rect().topLeft(), rect().bottomRight());
    else
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kestrane::ui
