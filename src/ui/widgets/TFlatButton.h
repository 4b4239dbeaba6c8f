#pragma once
// The flat button of the product's dialogs: a filled face with a one-pixel border, a focus
// colour under the mouse and a highlight line. Not a QPushButton on purpose: Enter in a
// dialog must not press a "default" button behind the dialog's own key handling.
#include "ui/TColor.h"

#include <QAbstractButton>

namespace kestrane::ui {

class TFlatButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
    Q_PROPERTY(int colorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(int colorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(int colorHighLight READ colorHighLight WRITE setColorHighLight)
public:
    explicit TFlatButton(QWidget* parent = nullptr);
    TFlatButton(const QString& text, QWidget* parent);

    TColor color() const { return m_color; }
    void setColor(TColor c);
    TColor colorBorder() const { return m_colorBorder; }
    void setColorBorder(TColor c);
    TColor colorFocused() const { return m_colorFocused; }
    void setColorFocused(TColor c);
    TColor colorHighLight() const { return m_colorHighLight; }
    void setColorHighLight(TColor c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TColor m_color = clBtnFace;
    TColor m_colorBorder = clBtnShadow;
    TColor m_colorFocused = clWhite;
    TColor m_colorHighLight = clWhite;
    bool m_hover = false;
};

} // namespace kestrane::ui
