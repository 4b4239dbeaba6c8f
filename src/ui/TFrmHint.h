#pragma once
// The wait hint: a small window that stays on top while a query is prepared and run, with an
// animation and the text "正在统计，请稍候...".
#include <QWidget>

class QLabel;

namespace kestrane::ui {

class TAnimate;

class TFrmHint : public QWidget {
    Q_OBJECT
public:
    // Creating the first hint also silences every later top-level error of the module: once
    // a query is under way, errors reaching the top are not shown any more. Closing the hint
    // deletes it, so keep it in a QPointer.
    explicit TFrmHint(QWidget* owner = nullptr);

    TAnimate* animation() const { return Animate1; }
    QLabel* label() const { return Label1; }

    // The clip the hint plays when it exists, relative to the current directory.
    static QString animationFile();

private:
    TAnimate* Animate1;
    QLabel* Label1;
};

} // namespace kestrane::ui
