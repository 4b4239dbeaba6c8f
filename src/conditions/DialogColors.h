#pragma once
// The two colours the condition dialog's message, choice and input windows share: the line
// colour of their borders and the back colour of their faces. Each window takes the values
// current when it is built; building a window may first refresh them from [ColorOption].
#include "ui/TColor.h"

#include <QFont>

class QWidget;

namespace kestrane::conditions {

struct DialogColors {
    static ui::TColor line;
    static ui::TColor back;

    // Every message window sets the back colour from "backcolor".
    static void refreshForMessage();
    // The choice and input windows switch to the user's scheme when `key` (their switch in
    // [ColorOption], default "0") holds anything but "0".
    static void refreshFromSwitch(const char* key);
    // Restores the start values (clGreen and the design yellow).
    static void reset();
};

// Horizontal dialog units are quarters of the font's average character width, vertical
// ones eighths of its height.
int horizontalDialogUnits(const QFont& font, int units);
int verticalDialogUnits(const QFont& font, int units);

// The face colour of a small window: its background.
void paintWindowBack(QWidget* window);

} // namespace kestrane::conditions
