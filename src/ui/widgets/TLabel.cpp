#include "ui/widgets/TLabel.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TLabel::TLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setComponentKind(this, "TLABEL");
    setAutoFillBackground(true);
    repaletteLabel();
}

void TLabel::setColor(TColor c) {
    m_color = c;
    repaletteLabel();
}

void TLabel::setFontColor(TColor c) {
    m_fontColor = c;
    repaletteLabel();
}

void TLabel::repaletteLabel() {
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(m_color));
    p.setColor(QPalette::WindowText, toQColor(m_fontColor));
    setPalette(p);
}

} // namespace kestrane::ui
