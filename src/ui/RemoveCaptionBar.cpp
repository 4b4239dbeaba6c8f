#include "ui/RemoveCaptionBar.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace kestrane::ui {

namespace {

// Draws the frame a captionless window keeps along the edge of its client area, over the
// background and under the children.
class KeptFramePainter : public QObject {
public:
    KeptFramePainter(QWidget* form, int width) : QObject(form), m_width(width) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* form = static_cast<QWidget*>(watched);
            QPainter painter(form);
            const QRect r = form->rect();
            painter.setPen(form->palette().color(QPalette::Dark));
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            if (m_width > 1) {
                painter.setPen(form->palette().color(QPalette::Light));
                painter.drawRect(r.adjusted(1, 1, -2, -2));
            }
        }
        return false;
    }

private:
    int m_width;
};

bool hasFullTitleBar(const QWidget* form) {
    const Qt::WindowFlags flags = form->windowFlags();
    if (flags & Qt::FramelessWindowHint)
        return false;
    if ((flags & Qt::CustomizeWindowHint) && !(flags & Qt::WindowTitleHint))
        return false;
    return true;
}

} // namespace

bool RemoveCaptionBar(QWidget* form) {
    if (!form)
        return false;
    const QVariant designed = form->property(kBorderStyleProperty);
    const QString border = designed.isValid() ? designed.toString() : QStringLiteral("bsSizeable");
    if (border == QLatin1String("bsNone") || !hasFullTitleBar(form))
        return false;

    const char* kept = "thin";
    int frameWidth = 1;
    if (border == QLatin1String("bsDialog")) {
        kept = "dialog";
        frameWidth = 2;
    } else if (border == QLatin1String("bsToolWindow") ||
               border == QLatin1String("bsSizeToolWin")) {
        kept = "tool";
    }

    const bool wasVisible = form->isVisible();
    const QSize client = form->size();
    form->setWindowFlags(form->windowFlags() | Qt::FramelessWindowHint);
    form->resize(client);
    form->setProperty(kKeptFrameProperty, QString::fromLatin1(kept));
    form->setProperty("removedCaptionHeight",
                      form->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, form));
    form->installEventFilter(new KeptFramePainter(form, frameWidth));
    if (wasVisible)
        form->show();
    form->update();
    return true;
}

} // namespace kestrane::ui
