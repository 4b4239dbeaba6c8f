#pragma once
// A group box whose caption serves as a title.
#include "ui/TColor.h"

#include <QGroupBox>

namespace kestrane::ui {

class TGroupBox : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
public:
    explicit TGroupBox(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);

private:
    TColor m_color = clBtnFace;
};

} // namespace kestrane::ui
