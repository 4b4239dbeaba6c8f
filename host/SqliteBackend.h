#pragma once
// The embedded database: one SQLite file, opened through the C interface.
#include "host/SqlBackend.h"

struct sqlite3;

namespace kestrane::host {

class SqliteBackend : public SqlBackend {
public:
    // Opens (creating when missing) the database file. Throws SqlError when it cannot.
    explicit SqliteBackend(const QString& path);
    ~SqliteBackend() override;

    SqlBackendKind kind() const override { return SqlBackendKind::Sqlite; }
    QString description() const override;
    Table query(const QString& sql, const QVariantList& params = {}) override;
    void execute(const QString& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool tableExists(const QString& name) override;
    void createTable(const QString& name, const QList<SqlColumn>& columns,
                     const QStringList& primaryKey) override;
    void insertRows(const QString& table, const QList<SqlColumn>& columns,
                    const std::vector<QVariantList>& rows) override;

    const QString& path() const { return m_path; }

private:
    [[noreturn]] void fail(const QString& context) const;

    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace kestrane::host
