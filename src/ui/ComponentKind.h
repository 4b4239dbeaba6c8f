#pragma once
// The kind name under which a component takes part in the colour scheme ("TFLATBUTTON",
// "TLABEL", ...). Widgets carry it as a dynamic property, so that any widget of any folder
// (the grid's included) can declare the kind whose colour rules it follows.
//
// Colour properties the scheme reads and writes, as Qt properties holding a TColor (int):
//   color, fontColor, colorBorder, colorFocused, colorHighLight, colorFlat, penColor,
//   fixedColor, fixedFontColor, bigCellColor, gridLineColor, floatingFooterColor,
//   columnsColor (writes every column's colour), columnsTitleColor (every column title),
//   calTitleBackColor, and the indexed colours indexedColor0 .. indexedColor3.
// A widget declares those it has with Q_PROPERTY; what it does not declare is simply not
// recoloured (the value is kept as a dynamic property).
#include <QString>

class QObject;

namespace kestrane::ui {

inline constexpr char kComponentKindProperty[] = "componentKind";

void setComponentKind(QObject* object, const char* kind);
// The kind in upper case; empty for objects that declare none.
QString componentKind(const QObject* object);

} // namespace kestrane::ui
