#pragma once
// The shortcut-help component: holds the lines, font, brush, position and closing delay of
// the popup and shows it on demand.
#include <QBrush>
#include <QFont>
#include <QObject>
#include <QStringList>

namespace kestrane::ui {

class TRopWin : public QObject {
    Q_OBJECT
public:
    explicit TRopWin(QObject* owner = nullptr);

    QStringList Lines;
    QFont Font;
    QBrush Brush;
    int TimeClose = 0; // milliseconds until the popup closes itself; 0 or less: never
    int xPos = 0;      // left edge on the screen; 0: centred
    int yPos = 0;      // top edge on the screen; 0: centred

    // Shows the popup modally (through the modal seam) and returns when it has closed. With
    // no lines only the message "The Lines is empty" is shown.
    void ShowPopup(QWidget* parent = nullptr);
};

} // namespace kestrane::ui
