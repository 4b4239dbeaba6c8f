#include "conditions/ChoiceWindow.h"

#include "conditions/DialogColors.h"
#include "ui/modal/ModalRunner.h"
#include "ui/widgets/TFlatComboBox.h"

namespace kestrane::conditions {

namespace {
// The switch has to be read before the base class paints the window.
const QString& refreshed(const QString& title) {
    DialogColors::refreshFromSwitch("style");
    return title;
}
} // namespace

ChoiceWindow::ChoiceWindow(const QString& title, const QString& prompt, const QStringList& items,
                           QWidget* parent)
    : PromptWindow(refreshed(title), prompt, parent) {
    setObjectName(QStringLiteral("ChoiceWindow"));
    m_list = new ui::TFlatComboBox(this);
    m_list->setObjectName(QStringLiteral("cbxItems"));
    m_list->setColorBorder(DialogColors::line);
    m_list->addItems(items);
    m_list->setCurrentIndex(items.isEmpty() ? -1 : 0);
    placeField(m_list);
}

QString ChoiceWindow::selected() const {
    return m_list->currentText();
}

bool ChoiceWindow::ask(QWidget* parent, const QString& title, const QString& prompt,
                       const QStringList& items, QString& answer) {
    ChoiceWindow window(title, prompt, items, parent);
    answer.clear();
    if (ui::execDialog(window) != QDialog::Accepted)
        return false;
    answer = window.selected();
    return true;
}

} // namespace kestrane::conditions
