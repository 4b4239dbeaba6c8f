#include "ui/widgets/TMemo.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setComponentKind(this, "TMEMO");
    setColor(m_color);
}

void TMemo::setColor(TColor c) {
    m_color = c;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(c));
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace kestrane::ui
