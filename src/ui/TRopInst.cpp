#include "ui/TRopInst.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace kestrane::ui {

namespace {

// 8 x 8 pattern of the shadow: a set bit keeps the screen, a clear bit darkens it.
constexpr uchar kShadowRows[8] = {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};

// AND-combines the pattern with `image` inside `area` (client coordinates).
void darken(QImage& image, const QRect& area) {
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar bits = kShadowRows[y & 7];
        for (int x = r.left(); x <= r.right(); ++x)
            if (!((bits >> (7 - (x & 7))) & 1))
                line[x] = qRgb(0, 0, 0);
    }
}

} // namespace

TRopInst::TRopInst(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("RopInst"));
    // The window paints everything itself; nothing is erased behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(false);
    connect(&Timer1, &QTimer::timeout, this, [this] { done(QDialog::Accepted); });
}

TRopInst::~TRopInst() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

QSize TRopInst::textSize() const {
    const QFontMetrics metrics(font());
    return metrics
        .boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::TextExpandTabs, m_lines.join(u'\n'))
        .size();
}

void TRopInst::PreparePopup() {
    const QSize text = textSize();
    QScreen* screen = QApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const int left = m_xPos != 0 ? m_xPos : (screenSize.width() - text.width()) / 2;
    const int top = m_yPos != 0 ? m_yPos : (screenSize.height() - text.height()) / 2;
    setGeometry(left, top, text.width() + 40, text.height() + 30);
    if (screen)
        m_beneath = screen->grabWindow(0, left, top, width(), height());
    // Every click, wherever on the screen, reaches the popup once it shows.
    m_captureMouse = true;
    if (m_delay > 0) {
        Timer1.setInterval(m_delay);
        Timer1.start();
    }
}

void TRopInst::done(int result) {
    Timer1.stop();
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    QDialog::done(result);
}

void TRopInst::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_captureMouse)
        grabMouse();
}

void TRopInst::keyPressEvent(QKeyEvent*) {
    done(QDialog::Accepted);
}

void TRopInst::mousePressEvent(QMouseEvent*) {
    done(QDialog::Accepted);
}

void TRopInst::paintEvent(QPaintEvent*) {
    const int w = width(), h = height();
    QImage canvas(size(), QImage::Format_RGB32);
    // What the screen showed before the popup; without a picture of it, the window colour.
    if (!m_beneath.isNull() && m_beneath.size() == size())
        canvas = m_beneath.toImage().convertToFormat(QImage::Format_RGB32);
    else
        canvas.fill(palette().color(QPalette::Window));
    // Text on the canvas must come out the size it was measured at on the screen.
    canvas.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    canvas.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    {
        QPainter painter(&canvas);
        painter.setFont(font());
        const QRect panel(QPoint(1, 1), QPoint(w - 16, h - 16));
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::white);
        painter.drawRect(panel);
        painter.setBrush(m_brush);
        painter.drawRect(panel);
        painter.setPen(Qt::black);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(QRect(QPoint(6, 6), QPoint(w - 21, h - 21)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_lines.join(u'\n'));
    }
    darken(canvas, QRect(QPoint(16, h - 16), QPoint(w - 1, h - 1)));
    darken(canvas, QRect(QPoint(w - 16, 16), QPoint(w - 1, h - 1)));
    QPainter(this).drawImage(0, 0, canvas);
}

} // namespace kestrane::ui
