#pragma once
// Opens the database the host runs on and makes sure the demo data is there and current.
#include "host/HostOptions.h"
#include "host/SqlBackend.h"

#include <QTextStream>
#include <memory>

namespace kestrane::host {

class HostDatabase {
public:
    // SQLite (the file of --db, or the per-user demo file) or PostgreSQL (--pg). The demo is
    // generated when asked to, when the database holds no host tables yet, and when an
    // earlier demo ends before today's month. A database with host tables but without a demo
    // record is someone's real data and is used as it is. Progress goes to `log`. Throws
    // SqlError / kestrane::Error when the database cannot be opened or filled.
    static std::unique_ptr<SqlBackend> open(const HostOptions& options, QTextStream& log);
};

} // namespace kestrane::host
