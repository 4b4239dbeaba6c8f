#include "host/HostDatabase.h"

#include "host/DemoDataGenerator.h"
#include "host/PostgresBackend.h"
#include "host/SqliteBackend.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace kestrane::host {

std::unique_ptr<SqlBackend> HostDatabase::open(const HostOptions& options, QTextStream& log) {
    std::unique_ptr<SqlBackend> db;
    if (!options.pgConnection.isEmpty()) {
        db = std::make_unique<PostgresBackend>(options.pgConnection);
    } else {
        const QString path =
            options.sqlitePath.isEmpty() ? HostOptions::defaultDatabasePath() : options.sqlitePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        db = std::make_unique<SqliteBackend>(path);
    }

    const QDate today = options.today.isValid() ? options.today : QDate::currentDate();
    bool generate = options.regenerate;
    if (!generate) {
        const bool demo = db->tableExists(DemoDataGenerator::kInfoTable);
        const bool hostTables = db->tableExists(u"tbBmda"_qs);
        if (demo && !DemoDataGenerator::isCurrent(*db, today)) {
            log << "demo data ends before " << today.toString(u"yyyy-MM"_qs)
                << ", generating it again\n";
            generate = true;
        } else if (!demo && !hostTables) {
            generate = true;
        }
    }
    if (generate) {
        DemoDataOptions demo;
        demo.seed = options.seed;
        demo.lines = options.lines;
        demo.today = today;
        log << "generating demo data (seed " << options.seed << ", " << options.lines
            << " receipt lines) in " << db->description() << "\n";
        log.flush();
        QElapsedTimer timer;
        timer.start();
        DemoDataGenerator(demo).generate(*db);
        log << "demo data generated in " << timer.elapsed() << " ms\n";
    }
    return db;
}

} // namespace kestrane::host
