#include "ui/TColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace kestrane::ui {

QColor toQColor(TColor color) {
    const uint32_t value = uint32_t(color);
    if ((value & 0xFF000000u) == 0xFF000000u) {
        const QPalette palette = QGuiApplication::palette();
        switch (value & 0xFFu) {
        case 0x05:
            return palette.color(QPalette::Base);
        case 0x08:
            return palette.color(QPalette::Text);
        case 0x0F:
            return palette.color(QPalette::Button);
        case 0x10:
            return palette.color(QPalette::Dark);
        case 0x18:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace kestrane::ui
