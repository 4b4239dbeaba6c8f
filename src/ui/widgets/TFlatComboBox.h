#pragma once
// A drop-down list with a flat one-pixel border in its own colour.
#include "ui/TColor.h"

#include <QComboBox>

namespace kestrane::ui {

class TFlatComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
    Q_PROPERTY(int colorBorder READ colorBorder WRITE setColorBorder)
public:
    explicit TFlatComboBox(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);
    TColor colorBorder() const { return m_colorBorder; }
    void setColorBorder(TColor c);

private:
    void restyle();
    TColor m_color = clWhite;
    TColor m_colorBorder = clBtnShadow;
};

} // namespace kestrane::ui
