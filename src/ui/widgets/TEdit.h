#pragma once
// A single-line edit.
#include "ui/TColor.h"

#include <QLineEdit>

namespace kestrane::ui {

class TEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
public:
    explicit TEdit(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);

private:
    TColor m_color = clWindow;
};

} // namespace kestrane::ui
