#include "conditions/InputWindow.h"

#include "conditions/DialogColors.h"
#include "ui/modal/ModalRunner.h"

#include <QLineEdit>

namespace kestrane::conditions {

namespace {
const QString& refreshed(const QString& title) {
    DialogColors::refreshFromSwitch("colorstyle");
    return title;
}
} // namespace

InputWindow::InputWindow(const QString& title, const QString& prompt, const QString& text,
                         QWidget* parent)
    : PromptWindow(refreshed(title), prompt, parent) {
    setObjectName(QStringLiteral("InputWindow"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("editText"));
    m_edit->setMaxLength(255);
    m_edit->setText(text);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 1px solid %1; }")
                              .arg(ui::toQColor(DialogColors::line).name()));
    placeField(m_edit);
    m_edit->selectAll();
}

QString InputWindow::text() const {
    return m_edit->text();
}

bool InputWindow::ask(QWidget* parent, const QString& title, const QString& prompt, QString& text) {
    InputWindow window(title, prompt, text, parent);
    if (ui::execDialog(window) != QDialog::Accepted)
        return false;
    text = window.text();
    return true;
}

} // namespace kestrane::conditions
