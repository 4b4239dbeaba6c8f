#pragma once
// A drawn rectangle: frames around controls and separator lines of the dialogs.
#include "ui/TColor.h"

#include <QWidget>

namespace kestrane::ui {

class TShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(int brushColor READ brushColor WRITE setBrushColor)
public:
    explicit TShape(QWidget* parent = nullptr);

    TColor penColor() const { return m_penColor; }
    void setPenColor(TColor c);
    TColor brushColor() const { return m_brushColor; }
    void setBrushColor(TColor c);
    // A clear brush draws only the outline.
    void setBrushClear(bool clear);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor m_penColor = clBlack;
    TColor m_brushColor = clWhite;
    bool m_brushClear = true;
};

} // namespace kestrane::ui
