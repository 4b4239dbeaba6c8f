#pragma once
// A second export of DllKestrane for drivers that run the module without a person in front
// of it (the headless batch mode of the substitute host, and tests): every message box and
// modal dialog of the module then goes to the given runner instead of a modal loop.
#include "kestrane/GetFormOne.h"

namespace kestrane::ui {
class ModalRunner;
}

extern "C" {
// Installs `runner` (not owned; nullptr restores the interactive default).
KESTRANE_EXPORT void KestraneSetModalRunner(kestrane::ui::ModalRunner* runner);
using KestraneSetModalRunnerFunction = void (*)(kestrane::ui::ModalRunner*);
}
