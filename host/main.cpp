// kestrane-host: plays the Zanvex host for the query module. Opens the database (generating
// the demo when needed), shows a main window with a panel, loads DllKestrane.so from its own
// directory and lets the module embed its form.
#include "common/Error.h"
#include "common/Gbk.h"
#include "host/HostDatabase.h"
#include "host/HostMainWindow.h"
#include "host/HostOptions.h"
#include "host/SqlCoorDisp.h"
#include "kestrane/GetFormOne.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace kestrane;
using namespace kestrane::host;

namespace {

// The operator code as the module takes it: one length byte, then at most 255 GBK bytes.
QByteArray countedShortString(const QString& text) {
    QByteArray bytes = gbk::encode(gbk::truncateToBytes(text, 255));
    bytes.prepend(char(uint8_t(bytes.size())));
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    // Without a display the host still runs, on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"kestrane-host"_qs);
    QTextStream out(stdout);
    QTextStream err(stderr);

    HostOptions options;
    QString usageError;
    if (!HostOptions::parse(QApplication::arguments(), options, usageError)) {
        err << "kestrane-host: " << usageError << "\n(see kestrane-host --help)\n";
        return 1;
    }

    SqlCoorDisp* coorDisp = nullptr;
    try {
        std::unique_ptr<SqlBackend> db = HostDatabase::open(options, out);
        out << "database: " << db->description() << "\n";
        coorDisp = new SqlCoorDisp(std::move(db), options.kind, options.today);
        if (!options.traceFile.isEmpty())
            coorDisp->setTraceFile(options.traceFile);
    } catch (const kestrane::Error& e) {
        err << "kestrane-host: " << e.message() << "\n";
        if (coorDisp)
            coorDisp->Release();
        return 1;
    } catch (const std::exception& e) {
        err << "kestrane-host: " << e.what() << "\n";
        if (coorDisp)
            coorDisp->Release();
        return 1;
    }
    out << "database kind reported to the module: " << options.kind << "\n";
    out << "server date: "
        << (options.today.isValid() ? options.today.toString(u"yyyyMMdd"_qs) + u" (fixed)"_qs
                                    : u"system clock"_qs)
        << "\n";
    if (!options.traceFile.isEmpty())
        out << "statement trace: " << options.traceFile << "\n";
    out.flush();

    int status = 0;
    {
        HostMainWindow window;
        window.show();

        const QString modulePath =
            options.modulePath.isEmpty()
                ? QDir(QApplication::applicationDirPath()).filePath(u"DllKestrane.so"_qs)
                : options.modulePath;
        QLibrary library(modulePath);
        if (options.noModule) {
            out << "module: not loaded (--no-module)\n";
            window.showNotice(u"未加载查询模块"_qs);
        } else {
            auto getFormOne =
                library.load() ? reinterpret_cast<GetFormOneFunction>(library.resolve("GetFormOne"))
                               : nullptr;
            if (!getFormOne) {
                const QString why =
                    u"could not load the module %1: %2"_qs.arg(modulePath, library.errorString());
                err << "kestrane-host: " << why << "\n";
                window.showNotice(u"无法加载查询模块: "_qs + why);
                status = 2;
            } else {
                const QByteArray code = countedShortString(options.operatorCode);
                getFormOne(0, &window, reinterpret_cast<const unsigned char*>(code.constData()),
                           window.panel(), coorDisp);
                QStringList names;
                for (QWidget* form : window.embeddedForms())
                    names << (form->objectName().isEmpty()
                                  ? QString::fromLatin1(form->metaObject()->className())
                                  : form->objectName());
                out << "module: " << modulePath << " loaded; GetFormOne called for operator "
                    << options.operatorCode << "; forms in the panel: "
                    << (names.isEmpty() ? u"none"_qs : names.join(u", "_qs)) << "\n";
            }
        }
        out.flush();

        if (options.exitAfterStart) {
            QApplication::processEvents();
            out << "started; exiting (--exit-after-start)\n";
        } else if (status == 0 || !options.exitAfterStart) {
            const int loop = QApplication::exec();
            if (status == 0)
                status = loop;
        }
        // The window, and with its panel the module's forms, go before the host object; the
        // library stays loaded until the process ends, so no code of the module is unmapped
        // while its objects may still run.
    }
    coorDisp->Release();
    out.flush();
    return status;
}
