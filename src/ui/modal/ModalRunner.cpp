#include "ui/modal/ModalRunner.h"

#include "ui/modal/MessageBox.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kestrane::ui {

namespace {

QMessageBox::Icon iconFor(int flags) {
    switch (flags & kMbIconMask) {
    case MbIconError:
        return QMessageBox::Critical;
    case MbIconQuestion:
        return QMessageBox::Question;
    case MbIconWarning:
        return QMessageBox::Warning;
    case MbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The buttons of each flag set, in display order, with their results.
QList<QPair<QString, int>> buttonsFor(int flags) {
    switch (flags & kMbButtonMask) {
    case MbOkCancel:
        return {{QStringLiteral("确定"), IdOk}, {QStringLiteral("取消"), IdCancel}};
    case MbYesNoCancel:
        return {{QStringLiteral("是"), IdYes},
                {QStringLiteral("否"), IdNo},
                {QStringLiteral("取消"), IdCancel}};
    case MbYesNo:
        return {{QStringLiteral("是"), IdYes}, {QStringLiteral("否"), IdNo}};
    default:
        return {{QStringLiteral("确定"), IdOk}};
    }
}

class DefaultModalRunner : public ModalRunner {
public:
    int runDialog(QDialog& dialog) override { return dialog.exec(); }

    int showMessage(const MessageRequest& request) override {
        QMessageBox box(iconFor(request.flags), request.caption, request.text,
                        QMessageBox::NoButton, request.parent);
        QList<QPair<QAbstractButton*, int>> buttons;
        for (const auto& [label, result] : buttonsFor(request.flags)) {
            auto role = (result == IdCancel || result == IdNo) ? QMessageBox::RejectRole
                                                               : QMessageBox::AcceptRole;
            buttons.append({box.addButton(label, role), result});
        }
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first().first));
        box.exec();
        for (const auto& [button, result] : buttons)
            if (box.clickedButton() == button)
                return result;
        // Closed with the window's close button or Escape.
        return buttons.size() == 1 ? IdOk : IdCancel;
    }
};

DefaultModalRunner g_defaultRunner;
ModalRunner* g_runner = nullptr;

} // namespace

ModalRunner& modalRunner() {
    return g_runner ? *g_runner : g_defaultRunner;
}

void setModalRunner(ModalRunner* runner) {
    g_runner = runner;
}

int execDialog(QDialog& dialog) {
    return modalRunner().runDialog(dialog);
}

ScopedModalRunner::ScopedModalRunner(ModalRunner& runner) : m_previous(g_runner) {
    g_runner = &runner;
}

ScopedModalRunner::~ScopedModalRunner() {
    g_runner = m_previous;
}

} // namespace kestrane::ui
