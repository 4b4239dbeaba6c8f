#pragma once
// Turns a statement written for the host's nominal server (SQL Server or DB2 text, as the
// module writes it) into the dialect of the database this substitute host really runs on.
//
// The work is done on tokens grouped by parentheses, never on raw text, so that a '+' or a
// keyword inside a quoted string or a quoted name is left alone. What is rewritten:
//   from SQL Server text: "alias = expr" select items become "expr AS alias"; '+' between
//     text operands becomes '||'; "select top N" becomes a LIMIT at the end of that select;
//     [name] becomes "name"; len() and isnull() become length() and coalesce();
//   from DB2 text: "fetch first N rows only" becomes LIMIT N where the backend has no FETCH;
//   for SQLite, which lacks them: left(x,n) and right(x,n) become substr() calls.
// PostgreSQL understands DB2's text as it stands, so that pair is passed through unchanged.
#include <QString>

namespace kestrane::host {

enum class SqlSourceDialect { SqlServer, Db2 };
enum class SqlBackendKind { Sqlite, PostgreSql };

class SqlDialectAdapter {
public:
    SqlDialectAdapter(SqlSourceDialect source, SqlBackendKind backend)
        : m_source(source), m_backend(backend) {}

    // The statement in the backend's dialect. Text the adapter does not understand is
    // passed on unchanged for the database to judge.
    QString adapt(const QString& sql) const;

    SqlSourceDialect source() const { return m_source; }
    SqlBackendKind backend() const { return m_backend; }

    // "SQLSERVER" or "DB2" (exact); false for anything else.
    static bool sourceFromKind(const QString& kind, SqlSourceDialect& source);

private:
    SqlSourceDialect m_source;
    SqlBackendKind m_backend;
};

} // namespace kestrane::host
