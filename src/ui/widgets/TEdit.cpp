#include "ui/widgets/TEdit.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    setComponentKind(this, "TEDIT");
    setColor(m_color);
}

void TEdit::setColor(TColor c) {
    m_color = c;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(c));
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace kestrane::ui
