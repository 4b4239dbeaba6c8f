#include "conditions/MessageWindow.h"

#include "conditions/DialogColors.h"
#include "ui/modal/ModalRunner.h"
#include "ui/widgets/TFlatButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace kestrane::conditions {

namespace {

struct ButtonDef {
    int flag;
    const char* name;
    const char16_t* caption;
    int result;
};

const ButtonDef kButtons[] = {
    {MessageWindow::Yes, "Yes", u"是(&Y)", MessageWindow::mrYes},
    {MessageWindow::No, "No", u"不(&N)", MessageWindow::mrNo},
    {MessageWindow::OK, "OK", u"确认(&O)", MessageWindow::mrOk},
    {MessageWindow::Cancel, "Cancel", u"放弃(&C)", MessageWindow::mrCancel},
    {MessageWindow::Abort, "Abort", u"&Abort", MessageWindow::mrAbort},
    {MessageWindow::Retry, "Retry", u"&Retry", MessageWindow::mrRetry},
    {MessageWindow::Ignore, "Ignore", u"&Ignore", MessageWindow::mrIgnore},
    {MessageWindow::All, "All", u"&All", MessageWindow::mrAll},
    {MessageWindow::NoToAll, "NoToAll", u"N&o to All", MessageWindow::mrNoToAll},
    {MessageWindow::YesToAll, "YesToAll", u"Yes to &All", MessageWindow::mrYesToAll},
    {MessageWindow::Help, "Help", u"&Help", MessageWindow::mrNone},
};

QStyle::StandardPixmap iconOf(MessageWindow::Kind kind) {
    switch (kind) {
    case MessageWindow::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageWindow::Error:
        return QStyle::SP_MessageBoxCritical;
    case MessageWindow::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageWindow::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    }
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

QString MessageWindow::captionOf(Kind kind) {
    switch (kind) {
    case Warning:
        return QStringLiteral("警告");
    case Error:
        return QStringLiteral("错误");
    case Information:
        return QStringLiteral("信息");
    case Confirmation:
        return QStringLiteral("询问");
    }
    return QString();
}

MessageWindow::MessageWindow(const QString& text, Kind kind, int buttons, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("MessageWindow"));
    setWindowTitle(captionOf(kind));
    DialogColors::refreshForMessage();
    paintWindowBack(this);
    const QFont font = QApplication::font("QMessageBox");
    setFont(font);

    const int horzMargin = horizontalDialogUnits(font, 8);
    const int vertMargin = verticalDialogUnits(font, 8);
    const int horzSpacing = horizontalDialogUnits(font, 10);
    const int vertSpacing = verticalDialogUnits(font, 10);
    const int buttonSpacing = horizontalDialogUnits(font, 4);
    const int buttonHeight = verticalDialogUnits(font, 14);
    constexpr int kIconSize = 32;

    const QScreen* screen = QApplication::primaryScreen();
    const int wrapWidth = screen ? screen->geometry().width() / 2 : 512;
    const QFontMetrics metrics(font);
    const QRect textRect =
        metrics.boundingRect(QRect(0, 0, wrapWidth, 0), Qt::TextWordWrap | Qt::AlignLeft, text);

    QList<const ButtonDef*> shown;
    int buttonWidth = horizontalDialogUnits(font, 50);
    for (const ButtonDef& def : kButtons) {
        if (!(buttons & def.flag))
            continue;
        shown.append(&def);
        const int captionWidth =
            metrics.size(Qt::TextShowMnemonic, QString::fromUtf16(def.caption)).width() + 8;
        buttonWidth = qMax(buttonWidth, captionWidth);
    }

    const int iconTextWidth = textRect.width() + kIconSize + horzSpacing;
    const int iconTextHeight = qMax(kIconSize, textRect.height());
    const int groupWidth =
        int(shown.size()) * buttonWidth + qMax(0, int(shown.size()) - 1) * buttonSpacing;
    const int clientWidth = qMax(iconTextWidth, groupWidth) + 2 * horzMargin;
    const int clientHeight = iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin;
    setFixedSize(clientWidth, clientHeight);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image"));
    image->setPixmap(style()->standardIcon(iconOf(kind)).pixmap(kIconSize, kIconSize));
    image->setGeometry(horzMargin, vertMargin, kIconSize, kIconSize);

    auto* message = new QLabel(text, this);
    message->setObjectName(QStringLiteral("Message"));
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setGeometry(horzMargin + kIconSize + horzSpacing, vertMargin, textRect.width(),
                         textRect.height());

    int x = (clientWidth - groupWidth) / 2;
    const int y = iconTextHeight + vertMargin + vertSpacing;
    for (const ButtonDef* def : shown) {
        auto* button = new ui::TFlatButton(QString::fromUtf16(def->caption), this);
        button->setObjectName(QString::fromLatin1(def->name));
        button->setColor(DialogColors::back);
        button->setColorBorder(DialogColors::line);
        button->setColorHighLight(DialogColors::line);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(x, y, buttonWidth, buttonHeight);
        const int result = def->result;
        if (result != mrNone)
            connect(button, &QAbstractButton::clicked, this, [this, result] { done(result); });
        x += buttonWidth + buttonSpacing;
    }
    if (!shown.isEmpty())
        findChild<ui::TFlatButton*>(QString::fromLatin1(shown.first()->name))->setFocus();

    // Centred on the screen.
    if (screen)
        move(screen->geometry().center() - rect().center());
}

int MessageWindow::ask(QWidget* parent, const QString& text, Kind kind, int buttons) {
    MessageWindow window(text, kind, buttons, parent);
    const int result = ui::execDialog(window);
    return result == QDialog::Rejected ? mrCancel : result;
}

} // namespace kestrane::conditions
