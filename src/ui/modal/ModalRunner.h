#pragma once
// The one seam through which every modal dialog and message box of the product is shown.
// The default runner uses Qt's modal loops. Tests and the headless batch driver install
// their own runner, which opens the dialog without a nested event loop, drives it through
// real widget events and reads the result; so nothing ever blocks on a modal loop there.
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace kestrane::ui {

struct MessageRequest {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    int flags = 0;
};

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows the dialog modally; returns its result code (QDialog::Accepted or Rejected).
    virtual int runDialog(QDialog& dialog) = 0;
    // Shows a message box; returns the pressed button (MessageResult).
    virtual int showMessage(const MessageRequest& request) = 0;
};

// The runner in use: the default one unless a test or the batch driver installed another.
ModalRunner& modalRunner();
// Installs a runner (not owned); nullptr restores the default.
void setModalRunner(ModalRunner* runner);

// Shows a dialog through the current runner.
int execDialog(QDialog& dialog);

// Installs a runner for the lifetime of the object.
class ScopedModalRunner {
public:
    explicit ScopedModalRunner(ModalRunner& runner);
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner&) = delete;
    ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;

private:
    ModalRunner* m_previous;
};

} // namespace kestrane::ui
