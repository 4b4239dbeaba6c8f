#pragma once
// Colours as the product stores and compares them: 24-bit values 0x00BBGGRR, written in
// settings as decimal integers, plus the system colours (high byte 0xFF, low byte the
// system colour index) that designs use for button faces, windows and tooltips.
#include <QColor>
#include <cstdint>

namespace kestrane::ui {

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clGreen = 0x008000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clBtnShadow = TColor(0xFF000010);
constexpr TColor clWindow = TColor(0xFF000005);
constexpr TColor clWindowText = TColor(0xFF000008);
constexpr TColor clInfoBk = TColor(0xFF000018);

// The light yellow of the dialogs' designs, and a grey the scheme uses for button faces.
constexpr TColor kDesignYellow = 14614267; // 0xDEFEFB
constexpr TColor kSchemeGrey = 14084846;   // 0xD6EAEE

// The colour to paint with; system colours resolve through the application palette.
QColor toQColor(TColor color);

} // namespace kestrane::ui
