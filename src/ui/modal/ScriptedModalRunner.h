#pragma once
// A runner that answers dialogs and message boxes from a script, for tests and the batch
// driver. A dialog is shown (not exec'd), handed to the next dialog handler, which presses
// its buttons through real events, and its result is read back. Message boxes are recorded
// and answered by the next message handler, or with their first button when none is queued.
#include "ui/modal/ModalRunner.h"

#include <QList>
#include <deque>

namespace kestrane::ui {

class ScriptedModalRunner : public ModalRunner {
public:
    using DialogHandler = std::function<void(QDialog&)>;
    using MessageHandler = std::function<int(const MessageRequest&)>;

    void queueDialog(DialogHandler handler) { m_dialogHandlers.push_back(std::move(handler)); }
    void queueMessage(MessageHandler handler) { m_messageHandlers.push_back(std::move(handler)); }
    // Answers the next message box with a fixed button.
    void queueAnswer(int button);

    const QList<MessageRequest>& messages() const { return m_messages; }
    // Object names (or class names when unnamed) of the dialogs shown, in order.
    const QStringList& dialogs() const { return m_dialogs; }
    void clear();

    int runDialog(QDialog& dialog) override;
    int showMessage(const MessageRequest& request) override;

private:
    std::deque<DialogHandler> m_dialogHandlers;
    std::deque<MessageHandler> m_messageHandlers;
    QList<MessageRequest> m_messages;
    QStringList m_dialogs;
};

// The first button of a box with these flags (what Enter would press).
int defaultButton(int flags);

} // namespace kestrane::ui
