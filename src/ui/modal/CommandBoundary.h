#pragma once
// Every user command runs inside this boundary. An error escaping the command is shown with
// the default error display, or swallowed once the module has been told to silence top-level
// errors (which happens when the first wait hint of a query is created).
#include <functional>

class QWidget;

namespace kestrane::ui {

// Runs the command; returns false when it ended with an error.
bool runCommand(QWidget* owner, const std::function<void()>& command);

void setTopLevelErrorsSilenced(bool silenced);
bool topLevelErrorsSilenced();

} // namespace kestrane::ui
