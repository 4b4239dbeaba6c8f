#include "ui/modal/ScriptedModalRunner.h"

#include "ui/modal/MessageBox.h"

#include <QDialog>

namespace kestrane::ui {

int defaultButton(int flags) {
    switch (flags & kMbButtonMask) {
    case MbYesNo:
    case MbYesNoCancel:
        return IdYes;
    default:
        return IdOk;
    }
}

void ScriptedModalRunner::queueAnswer(int button) {
    queueMessage([button](const MessageRequest&) { return button; });
}

void ScriptedModalRunner::clear() {
    m_dialogHandlers.clear();
    m_messageHandlers.clear();
    m_messages.clear();
    m_dialogs.clear();
}

int ScriptedModalRunner::runDialog(QDialog& dialog) {
    m_dialogs.append(dialog.objectName().isEmpty()
                         ? QString::fromLatin1(dialog.metaObject()->className())
                         : dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!m_dialogHandlers.empty()) {
        DialogHandler handler = std::move(m_dialogHandlers.front());
        m_dialogHandlers.pop_front();
        handler(dialog);
    }
    const int result = dialog.result();
    dialog.hide();
    return result;
}

int ScriptedModalRunner::showMessage(const MessageRequest& request) {
    m_messages.append(request);
    if (m_messageHandlers.empty())
        return defaultButton(request.flags);
    MessageHandler handler = std::move(m_messageHandlers.front());
    m_messageHandlers.pop_front();
    return handler(request);
}

} // namespace kestrane::ui
