#include "conditions/PromptWindow.h"

#include "conditions/DialogColors.h"
#include "ui/widgets/TFlatButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace kestrane::conditions {

PromptWindow::PromptWindow(const QString& title, const QString& prompt, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    setFont(QFont(QStringLiteral("宋体"), 9));
    paintWindowBack(this);
    const QFont f = font();
    auto h = [&](int units) { return horizontalDialogUnits(f, units); };
    auto v = [&](int units) { return verticalDialogUnits(f, units); };
    setFixedSize(h(180), v(63));

    m_prompt = new QLabel(prompt, this);
    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->move(h(8), v(8));
    m_prompt->adjustSize();

    auto makeButton = [&](const QString& caption, const char* name, int x) {
        auto* button = new ui::TFlatButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setColor(DialogColors::back);
        button->setColorBorder(DialogColors::line);
        button->setColorHighLight(DialogColors::line);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(h(x), v(41), h(50), v(14));
        return button;
    };
    m_ok = makeButton(QStringLiteral("确认(&O)"), "btnOK", 38);
    m_cancel = makeButton(QStringLiteral("放弃(&C)"), "btnCancel", 92);
    connect(m_ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void PromptWindow::placeField(QWidget* field) {
    const QFont f = font();
    field->setGeometry(horizontalDialogUnits(f, 8), verticalDialogUnits(f, 19),
                       horizontalDialogUnits(f, 164), field->sizeHint().height());
    field->setFocus();
}

void PromptWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kestrane::conditions
