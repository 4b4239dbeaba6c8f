#pragma once
// The layout the choice and input windows share: client area 180 x 63 dialog units of
// "宋体" 9 pt, the prompt at (8, 8), the field at (8, 19) 164 units wide, and the buttons
// "确认(&O)" and "放弃(&C)" at x 38 and 92, y 41, 50 x 14 units. Enter confirms, Escape
// cancels.
#include <QDialog>

class QLabel;

namespace kestrane::ui {
class TFlatButton;
}

namespace kestrane::conditions {

class PromptWindow : public QDialog {
    Q_OBJECT
public:
    PromptWindow(const QString& title, const QString& prompt, QWidget* parent);

protected:
    // Places the window's field under the prompt.
    void placeField(QWidget* field);
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_prompt;
    ui::TFlatButton* m_ok;
    ui::TFlatButton* m_cancel;
};

} // namespace kestrane::conditions
