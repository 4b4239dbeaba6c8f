#pragma once
// The condition dialog's message window: an icon, a text that wraps at half the screen width
// and a centred row of flat buttons, laid out in dialog units of the system message font.
#include <QDialog>

namespace kestrane::conditions {

class MessageWindow : public QDialog {
    Q_OBJECT
public:
    enum Kind { Warning, Error, Information, Confirmation };
    enum Button : int {
        Yes = 0x1,
        No = 0x2,
        OK = 0x4,
        Cancel = 0x8,
        Abort = 0x10,
        Retry = 0x20,
        Ignore = 0x40,
        All = 0x80,
        NoToAll = 0x100,
        YesToAll = 0x200,
        Help = 0x400,
    };
    // Modal results of the buttons.
    enum Result : int {
        mrNone = 0,
        mrOk = 1,
        mrCancel = 2,
        mrAbort = 3,
        mrRetry = 4,
        mrIgnore = 5,
        mrYes = 6,
        mrNo = 7,
        mrAll = 8,
        mrNoToAll = 9,
        mrYesToAll = 10,
    };

    MessageWindow(const QString& text, Kind kind, int buttons, QWidget* parent = nullptr);

    // Shows the window through the modal seam and returns the result of the pressed button
    // (mrCancel when it was closed without one).
    static int ask(QWidget* parent, const QString& text, Kind kind, int buttons);

    static QString captionOf(Kind kind);
};

} // namespace kestrane::conditions
