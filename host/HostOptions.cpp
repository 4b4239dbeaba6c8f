#include "host/HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace kestrane::host {

bool HostOptions::parse(const QStringList& arguments, HostOptions& options, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Kestrane substitute host: runs the reconciled-receipt query module (DllKestrane.so)\n"
        "on an embedded SQLite demo database or on PostgreSQL."_qs);
    parser.addHelpOption();
    const QCommandLineOption db(u"db"_qs,
                                u"SQLite database file (default: %1; the demo is generated "
                                "when the file has no host tables)."_qs.arg(defaultDatabasePath()),
                                u"file"_qs);
    const QCommandLineOption pg(u"pg"_qs,
                                u"Run on PostgreSQL with this libpq connection string instead "
                                "of SQLite (the demo is generated when the database has no "
                                "host tables)."_qs,
                                u"conninfo"_qs);
    const QCommandLineOption kind(u"kind"_qs,
                                  u"Database kind reported to the module: SQLSERVER or DB2 "
                                  "(default SQLSERVER)."_qs,
                                  u"kind"_qs, u"SQLSERVER"_qs);
    const QCommandLineOption op(
        u"operator"_qs,
        u"Operator code (default 0001). In the demo 0001 sees every accounting "
        "unit, 0002 only unit 01, 0003 units 02 and 03."_qs,
        u"code"_qs, u"0001"_qs);
    const QCommandLineOption today(
        u"today"_qs, u"Fixed server date YYYYMMDD instead of the system clock."_qs, u"YYYYMMDD"_qs);
    const QCommandLineOption seed(u"seed"_qs, u"Seed of the demo data (default 2005)."_qs, u"n"_qs,
                                  u"2005"_qs);
    const QCommandLineOption size(u"size"_qs,
                                  u"Receipt lines of the demo data over all 24 months "
                                  "(default 30000)."_qs,
                                  u"lines"_qs, u"30000"_qs);
    const QCommandLineOption regenerate(
        u"regenerate"_qs, u"Generate the demo data again (drops the demo tables)."_qs);
    const QCommandLineOption trace(u"trace-sql"_qs,
                                   u"Append every statement received, as sent and as adapted, "
                                   "to this file."_qs,
                                   u"file"_qs);
    const QCommandLineOption module(u"module"_qs,
                                    u"The module library (default: DllKestrane.so beside the "
                                    "executable)."_qs,
                                    u"file"_qs);
    const QCommandLineOption noModule(u"no-module"_qs,
                                      u"Start the database and the window without the module."_qs);
    const QCommandLineOption exitAfterStart(
        u"exit-after-start"_qs, u"Print what was started and exit: 0 when everything started, 2 "
                                "when the module could not be loaded, 1 on any other failure."_qs);
    parser.addOptions(
        {db, pg, kind, op, today, seed, size, regenerate, trace, module, noModule, exitAfterStart});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(u"help"_qs)) {
        parser.showHelp(0);
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = u"unexpected argument: "_qs + parser.positionalArguments().first();
        return false;
    }
    options.sqlitePath = parser.value(db);
    options.pgConnection = parser.value(pg);
    options.kind = parser.value(kind);
    if (options.kind != u"SQLSERVER" && options.kind != u"DB2") {
        error = u"--kind must be SQLSERVER or DB2, not %1"_qs.arg(options.kind);
        return false;
    }
    options.operatorCode = parser.value(op);
    if (parser.isSet(today)) {
        options.today = QDate::fromString(parser.value(today), u"yyyyMMdd"_qs);
        if (!options.today.isValid() || parser.value(today).size() != 8) {
            error = u"--today needs a valid date YYYYMMDD, not %1"_qs.arg(parser.value(today));
            return false;
        }
    }
    bool ok = false;
    options.seed = parser.value(seed).toULongLong(&ok);
    if (!ok) {
        error = u"--seed needs a whole number"_qs;
        return false;
    }
    options.lines = parser.value(size).toLongLong(&ok);
    if (!ok || options.lines < 0) {
        error = u"--size needs a whole number of lines"_qs;
        return false;
    }
    options.regenerate = parser.isSet(regenerate);
    options.traceFile = parser.value(trace);
    options.modulePath = parser.value(module);
    options.noModule = parser.isSet(noModule);
    options.exitAfterStart = parser.isSet(exitAfterStart);
    if (!options.sqlitePath.isEmpty() && !options.pgConnection.isEmpty()) {
        error = u"--db and --pg exclude each other"_qs;
        return false;
    }
    return true;
}

QString HostOptions::defaultDatabasePath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return QDir(dir).filePath(u"kestrane/kestrane-demo.sqlite"_qs);
}

} // namespace kestrane::host
