#pragma once
// A label with its own background and text colours.
#include "ui/TColor.h"

#include <QLabel>

namespace kestrane::ui {

class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
    Q_PROPERTY(int fontColor READ fontColor WRITE setFontColor)
public:
    explicit TLabel(const QString& text = QString(), QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);
    TColor fontColor() const { return m_fontColor; }
    void setFontColor(TColor c);

private:
    void repaletteLabel();
    TColor m_color = clBtnFace;
    TColor m_fontColor = clBlack;
};

} // namespace kestrane::ui
