#pragma once
// The demo database: every host table the query screen reads, filled with realistic Chinese
// master data and acceptance lines for the 24 months up to today. The content depends only on
// the seed, the number of receipt lines and today's date, so two runs with the same three
// give the same rows on SQLite and on PostgreSQL.
#include "host/SqlBackend.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane::host {

struct DemoDataOptions {
    uint64_t seed = 2005;
    qint64 lines = 30000; // receipt lines over all months
    QDate today;          // the host's "today"; the last month generated is its month
};

class DemoDataGenerator {
public:
    // Names of the system parameter table and of the table recording how the demo was made.
    static const QString kSysParamTable;
    static const QString kInfoTable;
    static constexpr int kMonths = 24;

    explicit DemoDataGenerator(const DemoDataOptions& options);

    // Drops the demo's tables and creates and fills them again, in one transaction.
    void generate(SqlBackend& db);

    // The months generated, oldest first, as YYYYMM.
    QStringList months() const;

    // Whether the database holds a demo whose last month is today's month.
    static bool isCurrent(SqlBackend& db, const QDate& today);

    // Operators: one without permission rows (sees everything) and one limited to one unit.
    static QString unrestrictedOperator() { return u"0001"_qs; }
    static QString restrictedOperator() { return u"0002"_qs; }

private:
    DemoDataOptions m_options;
};

} // namespace kestrane::host
