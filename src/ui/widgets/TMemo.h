#pragma once
// A plain multi-line text control.
#include "ui/TColor.h"

#include <QPlainTextEdit>

namespace kestrane::ui {

class TMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
public:
    explicit TMemo(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);

private:
    TColor m_color = clWindow;
};

} // namespace kestrane::ui
