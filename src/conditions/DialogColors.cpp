#include "conditions/DialogColors.h"

#include "common/IniProfile.h"
#include "ui/ColorScheme.h"

#include <QFontMetrics>
#include <QWidget>

namespace kestrane::conditions {

ui::TColor DialogColors::line = ui::clGreen;
ui::TColor DialogColors::back = ui::kDesignYellow;

namespace {
const QString kSection = QStringLiteral("ColorOption");

QString readSetting(const char* key, const char* defaultValue) {
    return ReadIniValue(kUserIniFile, kSection, QString::fromLatin1(key),
                        QString::fromLatin1(defaultValue));
}
} // namespace

void DialogColors::refreshForMessage() {
    back = ui::SettingToInt(readSetting("backcolor", "15528176"));
}

void DialogColors::refreshFromSwitch(const char* key) {
    if (readSetting(key, "0") == QLatin1String("0"))
        return;
    line = ui::SettingToInt(readSetting("linecolor", "12349763"));
    back = ui::SettingToInt(readSetting("backcolor", "15528176"));
}

void DialogColors::reset() {
    line = ui::clGreen;
    back = ui::kDesignYellow;
}

namespace {
// The average width of the Latin letters, as dialog-unit conversion has always measured it.
int averageCharWidth(const QFont& font) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetrics(font).horizontalAdvance(letters) / 52;
}
} // namespace

int horizontalDialogUnits(const QFont& font, int units) {
    return units * averageCharWidth(font) / 4;
}

int verticalDialogUnits(const QFont& font, int units) {
    return units * QFontMetrics(font).height() / 8;
}

void paintWindowBack(QWidget* window) {
    QPalette p = window->palette();
    p.setColor(QPalette::Window, ui::toQColor(DialogColors::back));
    window->setPalette(p);
    window->setAutoFillBackground(true);
}

} // namespace kestrane::conditions
