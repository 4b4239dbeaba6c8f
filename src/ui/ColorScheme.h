#pragma once
// The user's colour choice, section [ColorOption] of the per-user INI file, applied to a form
// and every component it owns according to the component's kind (see ComponentKind.h).
#include "ui/TColor.h"

class QWidget;

namespace kestrane::ui {

struct ColorSettings {
    int style = 1; // 0 leaves every colour as designed
    TColor back = 15528176;
    TColor line = 12349763;
    TColor title = 12349763;
    TColor menu = 65535;
};

// Reads the five settings with their defaults. A value that is not a whole number throws
// kestrane::Error.
ColorSettings ReadColorSettings();

// Recolours `form` and its components. With no form only the settings are read (and may
// throw as above). Throws kestrane::Error for a setting that is not a whole number; the form
// is then not recoloured at all.
void ApplyColorScheme(QWidget* form);

// A setting's text as a whole number (decimal, or "$"/"0x" hexadecimal, leading spaces
// allowed); throws kestrane::Error naming the text otherwise.
int SettingToInt(const QString& text);

} // namespace kestrane::ui
