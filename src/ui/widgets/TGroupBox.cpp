#include "ui/widgets/TGroupBox.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent) {
    setComponentKind(this, "TGROUPBOX");
    setColor(m_color);
}

void TGroupBox::setColor(TColor c) {
    m_color = c;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(c));
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace kestrane::ui
