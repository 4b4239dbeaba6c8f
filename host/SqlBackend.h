#pragma once
// One database the substitute host runs statements on. Answers are whole tables of typed
// columns; a refused statement throws SqlError with the database's texts.
#include "data/Table.h"
#include "host/SqlDialectAdapter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kestrane::host {

// A column of a table the demo generator creates, in backend-neutral terms.
struct SqlColumn {
    enum Type { Text, Integer, Amount, Memo };
    QString name;
    Type type = Text;
    int size = 20; // declared length of Text columns
};

// The CREATE TABLE text for `columns`; the backends differ only in the type they give
// amounts (`amountType`).
QString createTableStatement(const QString& name, const QList<SqlColumn>& columns,
                             const QStringList& primaryKey, const QString& amountType);

class SqlBackend {
public:
    virtual ~SqlBackend() = default;
    SqlBackend(const SqlBackend&) = delete;
    SqlBackend& operator=(const SqlBackend&) = delete;

    virtual SqlBackendKind kind() const = 0;
    // "SQLite /path/demo.sqlite", "PostgreSQL host=... dbname=..." for the start-up report.
    virtual QString description() const = 0;

    // Runs one SELECT (parameters as '?' placeholders) and returns all its rows. Statements
    // that would change the database are refused: the module only reads.
    virtual Table query(const QString& sql, const QVariantList& params = {}) = 0;
    // Runs statements that change the database (the demo generator's DDL).
    virtual void execute(const QString& sql) = 0;
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool tableExists(const QString& name) = 0;
    virtual void createTable(const QString& name, const QList<SqlColumn>& columns,
                             const QStringList& primaryKey) = 0;
    // Appends rows (values in column order) in one go.
    virtual void insertRows(const QString& table, const QList<SqlColumn>& columns,
                            const std::vector<QVariantList>& rows) = 0;

protected:
    SqlBackend() = default;
};

} // namespace kestrane::host
