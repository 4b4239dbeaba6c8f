#include "ui/widgets/TFlatButton.h"

#include "ui/ComponentKind.h"

#include <QPainter>

namespace kestrane::ui {

TFlatButton::TFlatButton(QWidget* parent) : QAbstractButton(parent) {
    setComponentKind(this, "TFLATBUTTON");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

TFlatButton::TFlatButton(const QString& text, QWidget* parent) : TFlatButton(parent) {
    setText(text);
}

void TFlatButton::setColor(TColor c) {
    m_color = c;
    update();
}
void TFlatButton::setColorBorder(TColor c) {
    m_colorBorder = c;
    update();
}
void TFlatButton::setColorFocused(TColor c) {
    m_colorFocused = c;
    update();
}
void TFlatButton::setColorHighLight(TColor c) {
    m_colorHighLight = c;
    update();
}

QSize TFlatButton::sizeHint() const {
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    const int iconWidth = icon().isNull() ? 0 : iconSize().width() + 4;
    return QSize(text.width() + iconWidth + 16, qMax(text.height(), iconSize().height()) + 10);
}

void TFlatButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TFlatButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TFlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    QColor face = toQColor(m_hover || hasFocus() ? m_colorFocused : m_color);
    if (isDown())
        face = face.darker(115);
    painter.fillRect(rect(), face);
    painter.setPen(toQColor(m_colorBorder));
    painter.drawRect(frame);
    if (m_hover || hasFocus()) {
        painter.setPen(toQColor(m_colorHighLight));
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
    }
    QRect content = rect().adjusted(2, 2, -2, -2);
    if (isDown())
        content.translate(1, 1);
    if (!icon().isNull()) {
        const QSize size = iconSize();
        const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text()) + 4;
        const int x = content.left() + (content.width() - size.width() - textWidth) / 2;
        icon().paint(&painter,
                     QRect(QPoint(x, content.top() + (content.height() - size.height()) / 2), size),
                     Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        content.setLeft(x + size.width() + 4);
        if (text().isEmpty())
            return;
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        painter.drawText(content, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
        return;
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace kestrane::ui
