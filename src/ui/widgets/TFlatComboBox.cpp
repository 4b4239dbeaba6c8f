#include "ui/widgets/TFlatComboBox.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TFlatComboBox::TFlatComboBox(QWidget* parent) : QComboBox(parent) {
    setComponentKind(this, "TFLATCOMBOBOX");
    restyle();
}

void TFlatComboBox::setColor(TColor c) {
    m_color = c;
    restyle();
}

void TFlatComboBox::setColorBorder(TColor c) {
    m_colorBorder = c;
    restyle();
}

void TFlatComboBox::restyle() {
    setStyleSheet(QStringLiteral("QComboBox { background: %1; border: 1px solid %2; "
                                 "padding-left: 3px; color: black; }"
                                 "QComboBox QAbstractItemView { background: white; }")
                      .arg(toQColor(m_color).name(), toQColor(m_colorBorder).name()));
}

} // namespace kestrane::ui
