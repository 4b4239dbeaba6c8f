#include "ui/TFrmHint.h"

#include "ui/RemoveCaptionBar.h"
#include "ui/TAnimate.h"
#include "ui/TColor.h"
#include "ui/modal/CommandBoundary.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>

namespace kestrane::ui {

QString TFrmHint::animationFile() {
    return QDir::current().filePath(QStringLiteral("Resource/Turtle.avi"));
}

TFrmHint::TFrmHint(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FrmHint"));
    setTopLevelErrorsSilenced(true);
    setAttribute(Qt::WA_DeleteOnClose);

    setProperty(kBorderStyleProperty, QStringLiteral("bsSizeable"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(clBtnFace));
    setPalette(p);
    setAutoFillBackground(true);
    resize(332, 87);

    Animate1 = new TAnimate(this);
    Label1 = new QLabel(QStringLiteral("正在统计，请稍候..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("宋体"));
    labelFont.setPixelSize(14);
    Label1->setFont(labelFont);
    Label1->adjustSize();

    RemoveCaptionBar(this);

    bool fromFile = false;
    if (QFileInfo::exists(animationFile())) {
        try {
            Animate1->setFileName(animationFile());
            fromFile = true;
        } catch (const std::exception&) {
            // A clip that cannot be played leaves the built-in animation.
        }
    }
    if (fromFile) {
        Animate1->move(32, 2);
        Label1->move(93, 69);
    } else {
        Animate1->useFindFolder();
        Animate1->move(16, 20);
        Label1->move(116, 40);
    }
    Animate1->setActive(true);

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace kestrane::ui
