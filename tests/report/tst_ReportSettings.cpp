// Report settings written back and read again after a template is loaded: the store and
// section chosen alike on both sides, the options and handlers that switch the built-in
// behaviour off, the rest of the settings file kept, and a write that fails.
#include "report/TRMPage.h"
#include "report/TRMReport.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::report;

namespace {

// A two-page design with the stored defaults (no offsets, no flags, default margins).
QByteArray twoPageTemplate() {
    TRMReport design;
    design.addPage();
    design.addPage();
    return design.WriteTemplate();
}

// Values that differ from the template's on every key the settings hold.
void changeSettings(TRMReport& r) {
    r.PrintOffsetTop = 120;
    r.PrintOffsetLeft = -35;
    r.PrintToForm = true;
    r.PrintBackColor = true;
    r.DoublePass = true;
    for (int i = 0; i < r.pageCount(); ++i) {
        r.page(i)->LeftMargin = 1000 + i;
        r.page(i)->TopMargin = 2000 + i;
        r.page(i)->RightMargin = 3000 + i;
        r.page(i)->BottomMargin = 4000 + i;
    }
}

void compareSettings(const TRMReport& a, const TRMReport& b) {
    QCOMPARE(a.PrintOffsetTop, b.PrintOffsetTop);
    QCOMPARE(a.PrintOffsetLeft, b.PrintOffsetLeft);
    QCOMPARE(a.PrintToForm, b.PrintToForm);
    QCOMPARE(a.PrintBackColor, b.PrintBackColor);
    QCOMPARE(a.DoublePass, b.DoublePass);
    QCOMPARE(a.pageCount(), b.pageCount());
    for (int i = 0; i < a.pageCount(); ++i) {
        QCOMPARE(a.page(i)->LeftMargin, b.page(i)->LeftMargin);
        QCOMPARE(a.page(i)->TopMargin, b.page(i)->TopMargin);
        QCOMPARE(a.page(i)->RightMargin, b.page(i)->RightMargin);
        QCOMPARE(a.page(i)->BottomMargin, b.page(i)->BottomMargin);
    }
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_ReportSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The user's settings file goes to the test folder of the configuration locations.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void roundTrip_data();
    void roundTrip();
    void switchedOff();
    void handlersReplaceBuiltIn();
    void otherSettingsKept();
    void failedWriteIsReported();

private:
    ui::ScriptedModalRunner m_runner;
    std::unique_ptr<ui::ScopedModalRunner> m_scope;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ReportSettings::init() {
    m_runner.clear();
    m_scope.reset();
    m_scope = std::make_unique<ui::ScopedModalRunner>(m_runner);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ReportSettings::roundTrip_data() {
    QTest::addColumn<bool>("useRegistry");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("section");
    QTest::newRow("INI file, by title") << false << "采购单"
                                        << "/reports/a.rmf"
                                        << "采购单";
    QTest::newRow("INI file, by file name") << false << ""
                                            << "/reports/采购.rmf"
                                            << "采购.rmf";
    QTest::newRow("registry path") << true << "采购单"
                                   << ""
                                   << "采购单";
}

void tst_ReportSettings::roundTrip() {
    QFETCH(bool, useRegistry);
    QFETCH(QString, title);
    QFETCH(QString, fileName);
    QFETCH(QString, section);
    // The registry stands in as the user's settings file, with the registry path as groups.
    const QString path = useRegistry ? TRMReport::userSettingsFile()
                                     : m_dir->filePath(QStringLiteral("settings.ini"));
    QFile::remove(path);
    TRMSaveReportOptions options;
    options.AutoLoadSaveSetting = true;
    options.UseRegistry = useRegistry;
    if (useRegistry)
        options.RegistryPath = QStringLiteral("VidavuDidoroz\\ReportSettings\\");
    else
        options.IniFileName = path;
    const QByteArray bytes = twoPageTemplate();

    TRMReport saved;
    saved.SaveReportOptions = options;
    saved.FileName = fileName;
    QVERIFY(saved.ReadTemplate(bytes));
    saved.ReportInfo[0] = title;
    changeSettings(saved);
    QVERIFY(saved.SaveReportSettings());
    QSettings written(path, QSettings::IniFormat);
    if (useRegistry) {
        QCOMPARE(written.childGroups(), QStringList{QStringLiteral("VidavuDidoroz")});
        written.beginGroup(QStringLiteral("VidavuDidoroz/ReportSettings"));
    }
    QCOMPARE(written.childGroups(), QStringList{section});

    TRMReport fresh;
    fresh.SaveReportOptions = options;
    fresh.FileName = fileName;
    TRMReport withTitle;
    withTitle.addPage();
    withTitle.addPage();
    withTitle.ReportInfo[0] = title;
    QVERIFY(fresh.ReadTemplate(withTitle.WriteTemplate()));
    compareSettings(fresh, saved);
    QVERIFY(m_runner.messages().isEmpty());
}

void tst_ReportSettings::switchedOff() {
    // Neither option nor handler: nothing is written, and a file already there is not read.
    const QString path = m_dir->filePath(QStringLiteral("settings.ini"));
    TRMReport writer;
    writer.SaveReportOptions.AutoLoadSaveSetting = true;
    writer.SaveReportOptions.IniFileName = path;
    writer.ReadTemplate(twoPageTemplate());
    changeSettings(writer);
    QVERIFY(writer.SaveReportSettings());
    const QByteArray before = fileBytes(path);
    QVERIFY(!before.isEmpty());

    TRMReport off;
    off.SaveReportOptions.IniFileName = path;
    QVERIFY(off.ReadTemplate(twoPageTemplate()));
    TRMReport plain;
    plain.ReadTemplate(twoPageTemplate());
    compareSettings(off, plain);
    off.PrintOffsetTop = 999;
    QVERIFY(off.SaveReportSettings());
    QCOMPARE(fileBytes(path), before);

    off.SaveReportOptions.IniFileName = m_dir->filePath(QStringLiteral("other.ini"));
    QVERIFY(off.SaveReportSettings());
    QVERIFY(!QFile::exists(off.SaveReportOptions.IniFileName));
}

void tst_ReportSettings::handlersReplaceBuiltIn() {
    const QString path = m_dir->filePath(QStringLiteral("settings.ini"));
    TRMReport report;
    report.SaveReportOptions.AutoLoadSaveSetting = true;
    report.SaveReportOptions.IniFileName = path;
    int loads = 0, saves = 0;
    report.OnLoadReportSetting = [&] { ++loads; };
    report.OnSaveReportSetting = [&] { ++saves; };
    QVERIFY(report.ReadTemplate(twoPageTemplate()));
    changeSettings(report);
    QVERIFY(report.SaveReportSettings());
    QCOMPARE(loads, 1);
    QCOMPARE(saves, 1);
    QVERIFY(!QFile::exists(path));

    // Assigned without the option, the handlers are still called.
    report.SaveReportOptions.AutoLoadSaveSetting = false;
    QVERIFY(report.ReadTemplate(twoPageTemplate()));
    QVERIFY(report.SaveReportSettings());
    QCOMPARE(loads, 2);
    QCOMPARE(saves, 2);
}

void tst_ReportSettings::otherSettingsKept() {
    const QString path = m_dir->filePath(QStringLiteral("settings.ini"));
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(QStringLiteral("别的报表/PrintOffsetTop"), 77);
        s.setValue(QStringLiteral("Window/Geometry"), QStringLiteral("10,20"));
        s.setValue(QStringLiteral("采购单/Printer"), QStringLiteral("Office"));
        s.setValue(QStringLiteral("采购单/PrintOffsetTop"), 5);
    }
    TRMReport report;
    report.SaveReportOptions.AutoLoadSaveSetting = true;
    report.SaveReportOptions.IniFileName = path;
    report.ReadTemplate(twoPageTemplate());
    report.ReportInfo[0] = QStringLiteral("采购单");
    changeSettings(report);
    QVERIFY(report.SaveReportSettings());
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("别的报表/PrintOffsetTop")).toInt(), 77);
    QCOMPARE(s.value(QStringLiteral("Window/Geometry")).toString(), QStringLiteral("10,20"));
    QCOMPARE(s.value(QStringLiteral("采购单/Printer")).toString(), QStringLiteral("Office"));
    QCOMPARE(s.value(QStringLiteral("采购单/PrintOffsetTop")).toInt(), 120);
}

void tst_ReportSettings::failedWriteIsReported() {
    // The settings file's folder is a plain file: the store cannot be written.
    const QString blocker = m_dir->filePath(QStringLiteral("not-a-folder"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    TRMReport report;
    report.SaveReportOptions.AutoLoadSaveSetting = true;
    report.SaveReportOptions.IniFileName = blocker + QStringLiteral("/settings.ini");
    report.ReadTemplate(twoPageTemplate());
    changeSettings(report);
    QVERIFY(!report.SaveReportSettings());
    QCOMPARE(m_runner.messages().size(), 1);
    QVERIFY2(m_runner.messages()[0].text.contains(report.SaveReportOptions.IniFileName),
             qPrintable(m_runner.messages()[0].text));
    QCOMPARE(m_runner.messages()[0].caption, ui::kCaptionError);
}

QTEST_MAIN(tst_ReportSettings)
#include "tst_ReportSettings.moc"
