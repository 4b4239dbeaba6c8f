#include "ui/TAnimate.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace kestrane::ui {

namespace {
constexpr int kFindFolderFrames = 16;
constexpr int kFindFolderInterval = 90;
} // namespace

TAnimate::TAnimate(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Animate1"));
    m_timer.setInterval(kFindFolderInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % qMax(1, frameCount());
        update();
    });
}

void TAnimate::setFileName(const QString& path) {
    m_clip = AviClip::readFile(path);
    m_usesFile = true;
    m_frame = 0;
    m_timer.setInterval(m_clip.frameIntervalMs());
    resize(m_clip.size());
    update();
}

void TAnimate::useFindFolder() {
    m_usesFile = false;
    m_frame = 0;
    m_timer.setInterval(kFindFolderInterval);
    resize(80, 50);
    update();
}

void TAnimate::setActive(bool active) {
    if (active)
        m_timer.start();
    else
        m_timer.stop();
}

int TAnimate::frameCount() const {
    return m_usesFile ? int(m_clip.frames().size()) : kFindFolderFrames;
}

void TAnimate::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_usesFile) {
        if (m_frame < m_clip.frames().size())
            painter.drawImage(0, 0, m_clip.frames().at(m_frame));
        return;
    }
    paintFindFolder(painter);
}

// A yellow folder with a magnifier circling over it.
void TAnimate::paintFindFolder(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF folder(14, 16, 44, 28);
    painter.setPen(QPen(QColor(128, 96, 0), 1));
    painter.setBrush(QColor(240, 200, 80));
    QPainterPath tab;
    tab.addRoundedRect(QRectF(folder.left(), folder.top() - 5, 16, 8), 2, 2);
    painter.drawPath(tab);
    painter.drawRoundedRect(folder, 2, 2);
    painter.setBrush(QColor(255, 224, 120));
    painter.drawRoundedRect(folder.adjusted(0, 6, 0, 0), 2, 2);

    const double angle = 2 * M_PI * m_frame / kFindFolderFrames;
    const QPointF centre(40 + 14 * std::cos(angle), 24 + 8 * std::sin(angle));
    painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(6, 6), centre + QPointF(14, 14));
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(200, 230, 255, 180));
    painter.drawEllipse(centre, 8, 8);
}

} // namespace kestrane::ui
