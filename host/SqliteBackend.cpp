#include "host/SqliteBackend.h"

#include "host/SqlError.h"

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace kestrane::host {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// The field type a declared column type stands for; nullopt for expressions, whose type
// shows only in their values.
std::optional<FieldType> typeOfDecl(const char* decl) {
    if (!decl)
        return std::nullopt;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("INT"))
        return FieldType::Integer;
    if (d.contains("CHAR") || d.contains("CLOB") || d.contains("TEXT"))
        return FieldType::String;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB") || d.contains("NUM") ||
        d.contains("DEC"))
        return FieldType::Float;
    return std::nullopt;
}

std::optional<FieldType> typeOfValue(int sqliteType) {
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_FLOAT:
        return FieldType::Float;
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return FieldType::String;
    default:
        return std::nullopt;
    }
}

QString textOf(sqlite3_stmt* s, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return QString::fromUtf8(p, sqlite3_column_bytes(s, column));
}

} // namespace

SqliteBackend::SqliteBackend(const QString& path) : m_path(path) {
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqlError({u"无法打开数据库 %1: %2"_qs.arg(path, message)});
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
}

SqliteBackend::~SqliteBackend() {
    sqlite3_close(m_db);
}

QString SqliteBackend::description() const {
    return u"SQLite "_qs + m_path;
}

void SqliteBackend::fail(const QString& context) const {
    QStringList messages{QString::fromUtf8(sqlite3_errmsg(m_db))};
    if (!context.isEmpty())
        messages << context;
    throw SqlError(messages);
}

Table SqliteBackend::query(const QString& sql, const QVariantList& params) {
    const QByteArray utf8 = sql.toUtf8();
    // Columns whose values turned out to need a wider type than the first rows suggested;
    // the statement is then run again with the wider type.
    std::vector<std::optional<FieldType>> forced;
    // Each new run widens at least one column (integer to float to text), so this ends.
    for (;;) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &raw, &tail) != SQLITE_OK)
            fail({});
        Statement stmt(raw);
        if (!stmt)
            throw SqlError({u"语句为空"_qs});
        if (tail && !QByteArray(tail).trimmed().isEmpty() && QByteArray(tail).trimmed() != ";")
            throw SqlError({u"只能执行一条语句"_qs});
        if (!sqlite3_stmt_readonly(stmt.get()))
            throw SqlError({u"只允许查询语句"_qs});
        for (int i = 0; i < params.size(); ++i) {
            const QByteArray v = params[i].toString().toUtf8();
            sqlite3_bind_text(stmt.get(), i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        }

        const int columns = sqlite3_column_count(stmt.get());
        forced.resize(std::size_t(columns));
        std::vector<std::optional<FieldType>> types(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            types[c] = forced[c] ? forced[c] : typeOfDecl(sqlite3_column_decltype(stmt.get(), c));
        }

        std::vector<std::vector<QVariant>> pending; // rows read before every type was known
        bool widened = false;
        Table table;
        bool tableReady = false;
        auto makeTable = [&] {
            QList<FieldDef> fields;
            for (int c = 0; c < columns; ++c) {
                FieldDef f;
                f.name = QString::fromUtf8(sqlite3_column_name(stmt.get(), c));
                f.type = types[c].value_or(FieldType::String);
                f.size = f.type == FieldType::String ? 255 : 0;
                fields << f;
            }
            table = Table(fields);
            tableReady = true;
        };
        auto storeCell = [&](qsizetype row, int c) -> bool {
            const int t = sqlite3_column_type(stmt.get(), c);
            if (t == SQLITE_NULL)
                return true;
            switch (table.columnType(c)) {
            case FieldType::Integer:
                if (t != SQLITE_INTEGER) {
                    forced[c] = t == SQLITE_FLOAT ? FieldType::Float : FieldType::String;
                    return false;
                }
                table.setInteger(row, c, sqlite3_column_int64(stmt.get(), c));
                return true;
            case FieldType::Float:
                if (t != SQLITE_INTEGER && t != SQLITE_FLOAT) {
                    forced[c] = FieldType::String;
                    return false;
                }
                table.setFloat(row, c, sqlite3_column_double(stmt.get(), c));
                return true;
            default:
                table.setText(row, c, textOf(stmt.get(), c));
                return true;
            }
        };

        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            if (!tableReady) {
                for (int c = 0; c < columns; ++c) {
                    if (!types[c])
                        types[c] = typeOfValue(sqlite3_column_type(stmt.get(), c));
                }
                makeTable();
            }
            const qsizetype row = table.appendRow();
            for (int c = 0; c < columns && !widened; ++c) {
                if (!storeCell(row, c))
                    widened = true;
            }
            if (widened)
                break;
        }
        if (widened)
            continue;
        if (rc != SQLITE_DONE)
            fail({});
        if (!tableReady)
            makeTable();
        table.squeeze();
        return table;
    }
}

void SqliteBackend::execute(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw SqlError({message});
    }
}

void SqliteBackend::begin() {
    execute(u"begin"_qs);
}

void SqliteBackend::commit() {
    execute(u"commit"_qs);
}

void SqliteBackend::rollback() {
    sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
}

bool SqliteBackend::tableExists(const QString& name) {
    const Table t =
        query(u"select name from sqlite_master where type = 'table' and lower(name) = lower(?)"_qs,
              {name});
    return t.rowCount() > 0;
}

void SqliteBackend::createTable(const QString& name, const QList<SqlColumn>& columns,
                                const QStringList& primaryKey) {
    // REAL keeps every amount a float; NUMERIC would store 12.00 as the integer 12.
    execute(createTableStatement(name, columns, primaryKey, u"real"_qs));
}

void SqliteBackend::insertRows(const QString& table, const QList<SqlColumn>& columns,
                               const std::vector<QVariantList>& rows) {
    QStringList names, marks;
    for (const SqlColumn& c : columns) {
        names << c.name;
        marks << u"?"_qs;
    }
    const QByteArray sql =
        u"insert into %1 (%2) values (%3)"_qs.arg(table, names.join(u','), marks.join(u','))
            .toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        fail(table);
    Statement stmt(raw);
    for (const QVariantList& row : rows) {
        sqlite3_reset(stmt.get());
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = c < row.size() ? row[c] : QVariant();
            if (!v.isValid() || v.isNull()) {
                sqlite3_bind_null(stmt.get(), c + 1);
                continue;
            }
            switch (columns[c].type) {
            case SqlColumn::Integer:
                sqlite3_bind_int64(stmt.get(), c + 1, v.toLongLong());
                break;
            case SqlColumn::Amount:
                sqlite3_bind_double(stmt.get(), c + 1, v.toDouble());
                break;
            default: {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(stmt.get(), c + 1, t.constData(), int(t.size()),
                                  SQLITE_TRANSIENT);
            }
            }
        }
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            fail(table);
    }
}

} // namespace kestrane::host
