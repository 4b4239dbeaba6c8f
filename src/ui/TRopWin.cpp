#include "ui/TRopWin.h"

#include "ui/TRopInst.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ModalRunner.h"

namespace kestrane::ui {

TRopWin::TRopWin(QObject* owner) : QObject(owner) {}

void TRopWin::ShowPopup(QWidget* parent) {
    if (Lines.isEmpty()) {
        MessageBox(nullptr, QStringLiteral("The Lines is empty"), QStringLiteral("Error"), MbOk);
        return;
    }
    // The popup lives only while it is shown; it goes also when something fails on the way.
    TRopInst popup(parent);
    popup.setFont(Font);
    popup.setBrush(Brush);
    popup.setLines(Lines);
    popup.setPosition(xPos, yPos);
    popup.setDelay(TimeClose);
    popup.PreparePopup();
    execDialog(popup);
}

} // namespace kestrane::ui
