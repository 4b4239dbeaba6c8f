#include "ui/modal/CommandBoundary.h"

#include "ui/modal/MessageBox.h"

#include <QCoreApplication>
#include <exception>

namespace kestrane::ui {

namespace {
bool g_silenced = false;

// The default display of an error that reached the top: an error box with the message.
void showDefault(QWidget* owner, const QString& message) {
    if (g_silenced)
        return;
    MessageBox(owner, message, kCaptionError, MbOk | MbIconError);
}
} // namespace

bool runCommand(QWidget* owner, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        showDefault(owner, QString::fromUtf8(e.what()));
    } catch (...) {
        showDefault(owner, QStringLiteral("未知错误"));
    }
    return false;
}

void setTopLevelErrorsSilenced(bool silenced) {
    g_silenced = silenced;
}

bool topLevelErrorsSilenced() {
    return g_silenced;
}

} // namespace kestrane::ui
