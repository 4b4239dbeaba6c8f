// The report settings a user changes while printing (print offsets, print-to-form, background
// colour, double pass, page margins), kept per report in a settings file and read back after
// a template is loaded. The store is the INI file IniFileName; with UseRegistry it is the
// user's own settings file (this system has no registry), in which RegistryPath, with its
// backslashes as group separators, leads to the report's section. Reading and writing choose
// the store and the section in one place.
#include "report/TRMPage.h"
#include "report/TRMReport.h"
#include "ui/modal/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <memory>

namespace kestrane::report {

namespace {

const QString kTaoda = QStringLiteral("taoda");
const QString kOffsetTop = QStringLiteral("PrintOffsetTop");
const QString kOffsetLeft = QStringLiteral("PrintOffsetLeft");
const QString kBackColor = QStringLiteral("PrintBackColor");
const QString kDoublePass = QStringLiteral("DoublePass");
const QString kNewFlag = QStringLiteral("NewFlag");
const QString kPageCount = QStringLiteral("PageCount");

// The report's settings store with its section open: the title, else the file name.
std::unique_ptr<QSettings> openSettings(const TRMReport& report) {
    const TRMSaveReportOptions& o = report.SaveReportOptions;
    QString section = report.Title();
    if (section.isEmpty())
        section = QFileInfo(report.FileName).fileName();
    if (!o.UseRegistry) {
        auto settings = std::make_unique<QSettings>(o.IniFileName, QSettings::IniFormat);
        settings->beginGroup(section);
        return settings;
    }
    auto settings =
        std::make_unique<QSettings>(TRMReport::userSettingsFile(), QSettings::IniFormat);
    for (const QString& group : QString(o.RegistryPath).split(u'\\', Qt::SkipEmptyParts))
        settings->beginGroup(group);
    settings->beginGroup(section);
    return settings;
}

QString marginKey(int page, const char* which) {
    return QStringLiteral("Page_") + QString::number(page) + u'_' + QLatin1String(which);
}

} // namespace

QString TRMReport::userSettingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("kestrane/report-settings.ini"));
}

QString TRMReport::textSettingsNotSaved(const QString& path) {
    return QStringLiteral("无法保存报表设置：") + path;
}

void TRMReport::loadReportSettings() {
    if (OnLoadReportSetting) {
        OnLoadReportSetting();
        return;
    }
    if (!SaveReportOptions.AutoLoadSaveSetting)
        return;
    const std::unique_ptr<QSettings> s = openSettings(*this);
    PrintToForm = s->value(kTaoda, PrintToForm).toBool();
    PrintOffsetTop = s->value(kOffsetTop, PrintOffsetTop).toInt();
    PrintOffsetLeft = s->value(kOffsetLeft, PrintOffsetLeft).toInt();
    PrintBackColor = s->value(kBackColor, PrintBackColor).toBool();
    DoublePass = s->value(kDoublePass, DoublePass).toBool();
    if (!s->value(kNewFlag).toBool())
        return;
    const int n = std::min(s->value(kPageCount).toInt(), pageCount());
    for (int i = 0; i < n; ++i) {
        TRMPage* pg = page(i);
        pg->LeftMargin = s->value(marginKey(i, "LeftMargin"), pg->LeftMargin).toInt();
        pg->TopMargin = s->value(marginKey(i, "TopMargin"), pg->TopMargin).toInt();
        pg->RightMargin = s->value(marginKey(i, "RightMargin"), pg->RightMargin).toInt();
        pg->BottomMargin = s->value(marginKey(i, "BottomMargin"), pg->BottomMargin).toInt();
    }
}

bool TRMReport::SaveReportSettings() {
    if (OnSaveReportSetting) {
        OnSaveReportSetting();
        return true;
    }
    if (!SaveReportOptions.AutoLoadSaveSetting)
        return true;
    const std::unique_ptr<QSettings> s = openSettings(*this);
    // A file that could not be read would be replaced by the keys of this section alone.
    if (s->status() == QSettings::NoError) {
        // Flags as 1 and 0, as the settings files have always held them.
        s->setValue(kTaoda, int(PrintToForm));
        s->setValue(kOffsetTop, PrintOffsetTop);
        s->setValue(kOffsetLeft, PrintOffsetLeft);
        s->setValue(kBackColor, int(PrintBackColor));
        s->setValue(kDoublePass, int(DoublePass));
        s->setValue(kNewFlag, 1);
        s->setValue(kPageCount, pageCount());
        for (int i = 0; i < pageCount(); ++i) {
            const TRMPage* pg = page(i);
            s->setValue(marginKey(i, "LeftMargin"), pg->LeftMargin);
            s->setValue(marginKey(i, "TopMargin"), pg->TopMargin);
            s->setValue(marginKey(i, "RightMargin"), pg->RightMargin);
            s->setValue(marginKey(i, "BottomMargin"), pg->BottomMargin);
        }
        // Written to a side file and renamed over the old one (QSettings' atomic sync).
        s->sync();
    }
    if (s->status() == QSettings::NoError)
        return true;
    ui::MessageBox(nullptr, textSettingsNotSaved(s->fileName()), ui::kCaptionError,
                   ui::MbOk | ui::MbIconError);
    return false;
}

} // namespace kestrane::report
