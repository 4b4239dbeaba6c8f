#pragma once
// Message boxes with the product's captions and the button and icon flags of the classic
// Windows message box, shown through the modal seam (ModalRunner) so that tests and the
// headless driver can answer them.
#include <QString>

class QWidget;

namespace kestrane::ui {

enum MessageFlag : int {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbYesNoCancel = 0x3,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
};
constexpr int kMbButtonMask = 0x0F;
constexpr int kMbIconMask = 0xF0;

enum MessageResult : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

inline const QString kCaptionError = QStringLiteral("错误");
inline const QString kCaptionWarning = QStringLiteral("警告");
inline const QString kCaptionInformation = QStringLiteral("信息");
inline const QString kCaptionQuestion = QStringLiteral("询问");

// Shows the box and returns the pressed button (IdOk, IdCancel, IdYes, IdNo).
int MessageBox(QWidget* parent, const QString& text, const QString& caption, int flags);

// Shorthands for the four kinds the product uses.
void ShowError(QWidget* parent, const QString& text);
void ShowWarning(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);
bool AskYesNo(QWidget* parent, const QString& text);

} // namespace kestrane::ui
