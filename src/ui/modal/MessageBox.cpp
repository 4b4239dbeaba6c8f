#include "ui/modal/MessageBox.h"

#include "ui/modal/ModalRunner.h"

namespace kestrane::ui {

int MessageBox(QWidget* parent, const QString& text, const QString& caption, int flags) {
    return modalRunner().showMessage(MessageRequest{parent, text, caption, flags});
}

void ShowError(QWidget* parent, const QString& text) {
    MessageBox(parent, text, kCaptionError, MbOk | MbIconError);
}

void ShowWarning(QWidget* parent, const QString& text) {
    MessageBox(parent, text, kCaptionWarning, MbOk | MbIconWarning);
}

void ShowInformation(QWidget* parent, const QString& text) {
    MessageBox(parent, text, kCaptionInformation, MbOk | MbIconInformation);
}

bool AskYesNo(QWidget* parent, const QString& text) {
    return MessageBox(parent, text, kCaptionQuestion, MbYesNo | MbIconQuestion) == IdYes;
}

} // namespace kestrane::ui
