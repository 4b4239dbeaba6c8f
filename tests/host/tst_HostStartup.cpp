// The kestrane-host executable started offscreen with --exit-after-start: the demo database
// is created where asked, the module is loaded when it is there, a missing module is reported
// plainly; and the host window's handling of the two window messages.
#include "host/HostMainWindow.h"
#include "kestrane/WindowMessage.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::host;

namespace {

// Records the resize messages a form receives.
class FakeForm : public QWidget {
public:
    using QWidget::QWidget;
    QList<QPair<int, int>> sizes;

protected:
    bool event(QEvent* e) override {
        if (e->type() == WindowMessage::kType) {
            auto* m = static_cast<WindowMessage*>(e);
            if (m->message() == kMsgResizeForm)
                sizes << qMakePair(int(m->wParam()), int(m->lParam()));
            return true;
        }
        return QWidget::event(e);
    }
};

struct Run {
    int exitCode = -1;
    QString out, err;
};

} // namespace

class tst_HostStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void startsWithoutModule();
    void moduleMissingIsReported();
    void startsTheModule();
    void help();
    void badArguments_data();
    void badArguments();
    void windowMessages();

private:
    Run host(const QStringList& args);
    QString m_exe;
    QTemporaryDir m_dir;
};

void tst_HostStartup::initTestCase() {
    m_exe = qEnvironmentVariable("KESTRANE_BUILD_DIR") + u"/bin/kestrane-host"_qs;
    QVERIFY2(QFile::exists(m_exe), qPrintable(m_exe));
}

Run tst_HostStartup::host(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    env.insert(u"HOME"_qs, m_dir.path()); // the per-user demo place stays inside the test
    env.insert(u"XDG_DATA_HOME"_qs, m_dir.filePath(u"share"_qs));
    p.setProcessEnvironment(env);
    p.start(m_exe, args);
    Run r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void tst_HostStartup::startsWithoutModule() {
    const QString db = m_dir.filePath(u"nomodule.sqlite"_qs);
    const Run r = host({u"--db"_qs, db, u"--size"_qs, u"500"_qs, u"--today"_qs, u"20250320"_qs,
                        u"--no-module"_qs, u"--exit-after-start"_qs});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY(QFile::exists(db));
    QVERIFY(r.out.contains(u"generating demo data"_qs));
    QVERIFY(r.out.contains(db));
    QVERIFY(r.out.contains(u"SQLSERVER"_qs));
    // A second start finds the demo and does not generate it again.
    const Run again = host({u"--db"_qs, db, u"--today"_qs, u"20250321"_qs, u"--kind"_qs, u"DB2"_qs,
                            u"--no-module"_qs, u"--exit-after-start"_qs});
    QCOMPARE(again.exitCode, 0);
    QVERIFY(!again.out.contains(u"generating demo data"_qs));
    QVERIFY(again.out.contains(u"DB2"_qs));
}

void tst_HostStartup::moduleMissingIsReported() {
    const Run r =
        host({u"--db"_qs, m_dir.filePath(u"missing.sqlite"_qs), u"--size"_qs, u"300"_qs,
              u"--module"_qs, m_dir.filePath(u"DllKestrane.so"_qs), u"--exit-after-start"_qs});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(u"could not load the module"_qs), qPrintable(r.err));
}

void tst_HostStartup::startsTheModule() {
    const QString module = QFileInfo(m_exe).dir().filePath(u"DllKestrane.so"_qs);
    if (!QFile::exists(module))
        QSKIP("DllKestrane.so has not been built into the bin directory");
    const QString trace = m_dir.filePath(u"trace.sql"_qs);
    // Without --db: the per-user place (inside the test's HOME) is created.
    const Run r =
        host({u"--size"_qs, u"600"_qs, u"--trace-sql"_qs, trace, u"--exit-after-start"_qs});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(u"GetFormOne called"_qs), qPrintable(r.out));
    QVERIFY(QFile::exists(m_dir.filePath(u"share/kestrane/kestrane-demo.sqlite"_qs)));
    QFile f(trace);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    // Each statement the module sent is recorded twice: as sent and as adapted.
    QCOMPARE(text.count(u"\n-- adapted for SQLite\n"_qs), text.count(u" (SQLSERVER)\n"_qs));
    if (text.contains(u"tbReport"_qs))
        QVERIFY(text.contains(u"select * from tbReport where f_sortname='已勾验收单'\n"_qs));
}

void tst_HostStartup::help() {
    const Run r = host({u"--help"_qs});
    QCOMPARE(r.exitCode, 0);
    for (const char* option :
         {"--db", "--pg", "--kind", "--operator", "--today", "--seed", "--size", "--regenerate",
          "--trace-sql", "--module", "--no-module", "--exit-after-start", "--help"})
        QVERIFY2(r.out.contains(QLatin1String(option)), option);
}

void tst_HostStartup::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("kind") << QStringList{u"--kind"_qs, u"ORACLE"_qs};
    QTest::newRow("today") << QStringList{u"--today"_qs, u"20250230"_qs};
    QTest::newRow("size") << QStringList{u"--size"_qs, u"many"_qs};
    QTest::newRow("db and pg") << QStringList{u"--db"_qs, u"x"_qs, u"--pg"_qs, u"y"_qs};
    QTest::newRow("unreachable server")
        << QStringList{u"--pg"_qs, u"host=/nonexistent-socket-dir dbname=x connect_timeout=2"_qs};
}

void tst_HostStartup::badArguments() {
    QFETCH(QStringList, args);
    const Run r = host(args + QStringList{u"--exit-after-start"_qs});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(u"kestrane-host: "_qs), qPrintable(r.err));
}

void tst_HostStartup::windowMessages() {
    HostMainWindow window;
    auto* form = new FakeForm(window.panel());
    window.show();
    window.panel()->resize(500, 300);
    QVERIFY(!form->sizes.isEmpty());
    QCOMPARE(form->sizes.last(), qMakePair(300, 500));

    QSignalSpy closed(&window, &HostMainWindow::moduleClosedNotified);
    WindowMessage message(kMsgFormClosed, 0, 0);
    QCoreApplication::sendEvent(&window, &message);
    QCOMPARE(closed.count(), 1);
    QVERIFY(window.moduleClosed());
    // The notice on the panel is no form: it gets no resize messages.
    QCOMPARE(window.embeddedForms(), QList<QWidget*>{form});
}

QTEST_MAIN(tst_HostStartup)
#include "tst_HostStartup.moc"
