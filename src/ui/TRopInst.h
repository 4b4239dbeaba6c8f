#pragma once
// The shortcut-help popup window: the lines painted on a panel over a dotted drop shadow,
// closed by any key, any mouse button or its timer.
#include <QBrush>
#include <QDialog>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

namespace kestrane::ui {

class TRopInst : public QDialog {
    Q_OBJECT
public:
    explicit TRopInst(QWidget* parent = nullptr);
    ~TRopInst() override;

    void setLines(const QStringList& lines) { m_lines = lines; }
    void setBrush(const QBrush& brush) { m_brush = brush; }
    void setPosition(int xPos, int yPos) {
        m_xPos = xPos;
        m_yPos = yPos;
    }
    void setDelay(int milliseconds) { m_delay = milliseconds; }

    // Sizes and places the popup from its text, captures the mouse and arms the timer.
    void PreparePopup();

    // The size of the text as drawn at its natural size.
    QSize textSize() const;
    const QTimer& timer() const { return Timer1; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

public Q_SLOTS:
    void done(int result) override;

private:
    QStringList m_lines;
    QBrush m_brush;
    int m_xPos = 0;
    int m_yPos = 0;
    int m_delay = 0;
    QTimer Timer1;
    bool m_captureMouse = false;
    QPixmap m_beneath; // the screen under the popup, kept while it is shown
};

} // namespace kestrane::ui
