// The detail view over twelve months of a large demo database, in both dialects: the time
// from the query command to the grid showing its footers, next to SQLite alone stepping
// through the same (adapted) statement in the same process. Our overhead is everything but
// SQLite's own execution: building the statement, adapting it, moving the rows into the
// recordset, the grid and its sums.
//
//   cmake -S . -B build-bench -G Ninja -DKESTRANE_BENCH=ON
//   cmake --build build-bench --target bench_query
//   build-bench/bench/query/bench_query [lines] [database file]
//
// The database is generated once (default 1 000 000 lines) and kept for later runs.
#include "data/Dataset.h"
#include "grid/TAdvDBGridEh.h"
#include "host/DemoDataGenerator.h"
#include "host/SqlCoorDisp.h"
#include "host/SqlDialectAdapter.h"
#include "host/SqliteBackend.h"
#include "module/ModuleState.h"
#include "query/QueryStatementBuilder.h"
#include "query/TFrmKestrane.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace kestrane;

namespace {

const QDate kToday(2025, 3, 20);

long peakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// SQLite alone: prepare and step through every row, touching every column.
double sqliteAlone(const QString& path, const QString& sql, qint64& rows) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return -1;
    }
    rows = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            (void)sqlite3_column_text(stmt, c);
        ++rows;
    }
    sqlite3_finalize(stmt);
    const double seconds = timer.nsecsElapsed() / 1e9;
    sqlite3_close(db);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QStringLiteral("/tmp/kestrane-bench-%1.sqlite").arg(lines);
    if (!QFile::exists(path)) {
        std::printf("generating %lld lines into %s ...\n", lines, qPrintable(path));
        host::SqliteBackend db(path);
        host::DemoDataOptions options;
        options.lines = lines;
        options.today = kToday;
        host::DemoDataGenerator(options).generate(db);
    }
    const QDate start = kToday.addMonths(-11).addDays(1 - kToday.day());
    ui::ScriptedModalRunner runner;
    ui::ScopedModalRunner scope(runner);

    std::printf("%-10s %10s %12s %12s %10s %9s\n", "dialect", "rows", "screen s", "sqlite s",
                "overhead", "peak MiB");
    for (const char* kind : {"SQLSERVER", "DB2"}) {
        auto* service = new host::SqlCoorDisp(std::make_unique<host::SqliteBackend>(path),
                                              QString::fromLatin1(kind), kToday);
        QWidget panel;
        panel.resize(1200, 700);
        module::ModuleState::instance().setHost(&panel, service, QStringLiteral("0001"));
        service->Release();
        double screenSeconds = 0;
        int shown = 0;
        {
            query::TFrmKestrane form(&panel);
            form.FCB->setCurrentIndex(int(query::QueryView::Details));
            form.FCBChange();
            form.FDTPStart->setDate(start);
            form.FDTPEnd->setDate(kToday);
            QElapsedTimer timer;
            runner.queueDialog([&timer](QDialog& dialog) {
                timer.start(); // the user's time in the dialog is not ours
                dialog.accept();
            });
            form.btnSearchClick();
            screenSeconds = timer.nsecsElapsed() / 1e9;
            shown = form.dgdView->dataSet() ? form.dgdView->dataSet()->recordCount() : 0;
        }
        module::ModuleState::instance().clear();

        query::QueryStatementRequest request;
        request.view = query::QueryView::Details;
        request.start = start;
        request.end = kToday;
        request.operatorCode = QStringLiteral("0001");
        request.dbKind = QString::fromLatin1(kind);
        host::SqlSourceDialect source;
        host::SqlDialectAdapter::sourceFromKind(request.dbKind, source);
        const QString adapted = host::SqlDialectAdapter(source, host::SqlBackendKind::Sqlite)
                                    .adapt(query::QueryStatementBuilder::build(request));
        qint64 rows = 0;
        const double sqliteSeconds = sqliteAlone(path, adapted, rows);
        std::printf("%-10s %10d %12.3f %12.3f %9.1f%% %9ld\n", kind, shown, screenSeconds,
                    sqliteSeconds, 100.0 * (screenSeconds - sqliteSeconds) / sqliteSeconds,
                    peakRssMiB());
        if (rows != shown)
            std::printf("  (SQLite alone counted %lld rows)\n", rows);
    }
    return 0;
}
