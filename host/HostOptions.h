#pragma once
// The substitute host's command line.
#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane::host {

struct HostOptions {
    QString sqlitePath;   // empty: the per-user demo database
    QString pgConnection; // non-empty: run on PostgreSQL instead of SQLite
    QString kind = u"SQLSERVER"_qs;
    QString operatorCode = u"0001"_qs;
    QDate today; // invalid: the system clock
    uint64_t seed = 2005;
    qint64 lines = 30000;
    bool regenerate = false;
    QString traceFile;
    QString modulePath; // empty: DllKestrane.so beside the executable
    bool noModule = false;
    bool exitAfterStart = false;

    // Parses the arguments (argv[0] included). On a usage error returns false with the text;
    // --help and --version print and exit inside.
    static bool parse(const QStringList& arguments, HostOptions& options, QString& error);
    // Where the demo database lives when --db is not given.
    static QString defaultDatabasePath();
};

} // namespace kestrane::host
