#pragma once
// The server option: a PostgreSQL database reached through libpq.
#include "host/SqlBackend.h"

struct pg_conn;

namespace kestrane::host {

class PostgresBackend : public SqlBackend {
public:
    // Connects with a libpq connection string. Throws SqlError when it cannot.
    explicit PostgresBackend(const QString& connection);
    ~PostgresBackend() override;

    SqlBackendKind kind() const override { return SqlBackendKind::PostgreSql; }
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

private:
    QString m_connection;
    pg_conn* m_conn = nullptr;
    bool m_inTransaction = false;
};

} // namespace kestrane::host
