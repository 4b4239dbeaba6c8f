#pragma once
// Takes the title bar off a form whose caption the form shows itself (the condition dialog's
// group box caption, the wait hint).
class QWidget;

namespace kestrane::ui {

// The border a form is designed with, as a dynamic property "borderStyle" holding one of
// these names; a form without the property counts as "bsSizeable".
inline constexpr char kBorderStyleProperty[] = "borderStyle";
// Set by RemoveCaptionBar to the frame the form kept: "thin", "dialog" or "tool".
inline constexpr char kKeptFrameProperty[] = "keptFrame";

// When the form has a border and still has a full title bar: removes the title bar. A form
// with a single or sizeable border keeps a thin one-line border, a dialog border keeps a
// dialog frame, a tool window keeps its style; the form's outer height shrinks by the title
// bar's height while its client area stays as designed. Answers whether anything changed.
bool RemoveCaptionBar(QWidget* form);

} // namespace kestrane::ui
