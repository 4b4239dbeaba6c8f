#include "query/ToolBarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kestrane::query {

namespace {

void drawMagnifier(QPainter& p) {
    p.setPen(QPen(QColor(30, 60, 150), 2));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.drawLine(QPointF(9, 9), QPointF(14, 14));
}

void drawChecklist(QPainter& p) {
    p.setPen(QPen(QColor(40, 110, 40), 1.5));
    for (int y : {3, 8, 13}) {
        p.drawRect(QRectF(1.5, y - 1.5, 3, 3));
        p.drawLine(QPointF(7, y), QPointF(15, y));
    }
}

void drawDocument(QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 20), 1.2));
    p.setBrush(QColor(255, 250, 220));
    p.drawRect(QRectF(3, 1.5, 10, 13));
    for (int y : {5, 8, 11})
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

void drawFunnel(QPainter& p) {
    QPainterPath funnel;
    funnel.moveTo(1, 2);
    funnel.lineTo(15, 2);
    funnel.lineTo(9.5, 8);
    funnel.lineTo(9.5, 14);
    funnel.lineTo(6.5, 12);
    funnel.lineTo(6.5, 8);
    funnel.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 140), 1));
    p.setBrush(QColor(120, 190, 240));
    p.drawPath(funnel);
}

void drawPreview(QPainter& p) {
    drawDocument(p);
    p.setPen(QPen(QColor(30, 60, 150), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(7, 7, 6, 6));
    p.drawLine(QPointF(12, 12), QPointF(15, 15));
}

void drawPrinter(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(1.5, 6, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 10, 8, 4.5));
}

void drawHelp(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 200));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

void drawExit(QPainter& p) {
    p.setPen(QPen(QColor(110, 70, 30), 1.2));
    p.setBrush(QColor(200, 160, 110));
    p.drawRect(QRectF(2, 1.5, 8, 13));
    p.setPen(QPen(QColor(190, 30, 30), 2));
    p.drawLine(QPointF(8, 8), QPointF(15, 8));
    p.drawLine(QPointF(12, 5), QPointF(15, 8));
    p.drawLine(QPointF(12, 11), QPointF(15, 8));
}

} // namespace

QIcon toolBarImage(int index) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        drawMagnifier(p);
        break;
    case 1:
        drawChecklist(p);
        break;
    case 2:
        drawDocument(p);
        break;
    case 3:
        drawFunnel(p);
        break;
    case 4:
        drawPreview(p);
        break;
    case 5:
        drawPrinter(p);
        break;
    case 6:
        drawHelp(p);
        break;
    default:
        drawExit(p);
    }
    return QIcon(pixmap);
}

} // namespace kestrane::query
