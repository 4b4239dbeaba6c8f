#include "host/PostgresBackend.h"

#include "host/SqlError.h"
#include "host/SqlTokenizer.h"

#include <libpq-fe.h>

#include <memory>

namespace kestrane::host {

namespace {

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// Type numbers of the built-in types (pg_type.oid), fixed since the first releases.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

FieldType fieldTypeOf(Oid type) {
    switch (type) {
    case kInt2:
    case kInt4:
    case kInt8:
        return FieldType::Integer;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return FieldType::Float;
    case kBool:
        return FieldType::Boolean;
    default:
        return FieldType::String;
    }
}

QStringList errorsOf(const PGresult* r, pg_conn* conn) {
    QStringList out;
    if (r) {
        for (int field : {PG_DIAG_MESSAGE_PRIMARY, PG_DIAG_MESSAGE_DETAIL, PG_DIAG_MESSAGE_HINT}) {
            if (const char* t = PQresultErrorField(r, field))
                out << QString::fromUtf8(t);
        }
    }
    if (out.isEmpty())
        out << QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    return out;
}

// '?' placeholders (outside strings and names) become $1, $2, ...
QString numberPlaceholders(const QString& sql) {
    std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    int n = 0;
    for (SqlToken& t : tokens) {
        if (t.isSymbol(u"?"))
            t.text = u'$' + QString::number(++n);
    }
    return SqlTokenizer::join(tokens);
}

QByteArray copyField(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return "\\N";
    QByteArray out;
    const QByteArray raw = v.toString().toUtf8();
    out.reserve(raw.size());
    for (char c : raw) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

PostgresBackend::PostgresBackend(const QString& connection) : m_connection(connection) {
    m_conn = PQconnectdb(connection.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw SqlError({u"无法连接数据库: "_qs + message});
    }
    PQsetClientEncoding(m_conn, "UTF8");
    // Notices (for instance from "drop table if exists") are not errors; keep them quiet.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
}

PostgresBackend::~PostgresBackend() {
    PQfinish(m_conn);
}

QString PostgresBackend::description() const {
    return u"PostgreSQL "_qs + m_connection;
}

Table PostgresBackend::query(const QString& sql, const QVariantList& params) {
    if (sql.trimmed().isEmpty())
        throw SqlError({u"语句为空"_qs});
    // The module only reads; outside the generator's own transaction every answer runs in a
    // read-only transaction so that no statement can change the data.
    const bool wrap = !m_inTransaction;
    if (wrap)
        execute(u"begin transaction read only"_qs);
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    for (const QVariant& p : params)
        values.push_back(p.toString().toUtf8());
    for (const QByteArray& v : values)
        pointers.push_back(v.constData());
    const QByteArray text = numberPlaceholders(sql).toUtf8();
    Result r(PQexecParams(m_conn, text.constData(), int(values.size()), nullptr, pointers.data(),
                          nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_TUPLES_OK) {
        const QStringList errors = status == PGRES_COMMAND_OK ? QStringList{u"只允许查询语句"_qs}
                                                              : errorsOf(r.get(), m_conn);
        if (wrap)
            PQclear(PQexec(m_conn, "rollback"));
        throw SqlError(errors);
    }
    if (wrap)
        PQclear(PQexec(m_conn, "commit"));

    const int columns = PQnfields(r.get());
    const int rows = PQntuples(r.get());
    QList<FieldDef> fields;
    for (int c = 0; c < columns; ++c) {
        FieldDef f;
        f.name = QString::fromUtf8(PQfname(r.get(), c));
        f.type = fieldTypeOf(PQftype(r.get(), c));
        f.size = f.type == FieldType::String ? 255 : 0;
        fields << f;
    }
    Table table(fields);
    table.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const qsizetype t = table.appendRow();
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r.get(), row, c))
                continue;
            const char* v = PQgetvalue(r.get(), row, c);
            switch (fields[c].type) {
            case FieldType::Integer:
                table.setInteger(t, c, QByteArray(v).toLongLong());
                break;
            case FieldType::Float:
                table.setFloat(t, c, QByteArray(v).toDouble());
                break;
            case FieldType::Boolean:
                table.setBoolean(t, c, v[0] == 't');
                break;
            default:
                table.setText(t, c, QString::fromUtf8(v, PQgetlength(r.get(), row, c)));
            }
        }
    }
    table.squeeze();
    return table;
}

void PostgresBackend::execute(const QString& sql) {
    Result r(PQexec(m_conn, sql.toUtf8().constData()));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw SqlError(errorsOf(r.get(), m_conn));
}

void PostgresBackend::begin() {
    execute(u"begin"_qs);
    m_inTransaction = true;
}

void PostgresBackend::commit() {
    m_inTransaction = false;
    execute(u"commit"_qs);
}

void PostgresBackend::rollback() {
    m_inTransaction = false;
    PQclear(PQexec(m_conn, "rollback"));
}

bool PostgresBackend::tableExists(const QString& name) {
    const Table t = query(u"select 1 from information_schema.tables where "
                          "table_schema = current_schema() and table_name = lower(?)"_qs,
                          {name});
    return t.rowCount() > 0;
}

void PostgresBackend::createTable(const QString& name, const QList<SqlColumn>& columns,
                                  const QStringList& primaryKey) {
    // numeric, as on the host's servers: round(x, 2) is defined for it, and sums of amounts
    // stay exact.
    execute(createTableStatement(name, columns, primaryKey, u"numeric(16,4)"_qs));
}

void PostgresBackend::insertRows(const QString& table, const QList<SqlColumn>& columns,
                                 const std::vector<QVariantList>& rows) {
    QStringList names;
    for (const SqlColumn& c : columns)
        names << c.name;
    Result start(PQexec(
        m_conn, u"copy %1 (%2) from stdin"_qs.arg(table, names.join(u',')).toUtf8().constData()));
    if (PQresultStatus(start.get()) != PGRES_COPY_IN)
        throw SqlError(errorsOf(start.get(), m_conn));
    QByteArray buffer;
    auto flush = [&] {
        if (!buffer.isEmpty() && PQputCopyData(m_conn, buffer.constData(), int(buffer.size())) != 1)
            throw SqlError({QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()});
        buffer.clear();
    };
    for (const QVariantList& row : rows) {
        for (int c = 0; c < columns.size(); ++c) {
            if (c > 0)
                buffer += '\t';
            buffer += copyField(c < row.size() ? row[c] : QVariant());
        }
        buffer += '\n';
        if (buffer.size() > (1 << 20))
            flush();
    }
    flush();
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        throw SqlError({QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()});
    Result end(PQgetResult(m_conn));
    const bool ok = PQresultStatus(end.get()) == PGRES_COMMAND_OK;
    const QStringList errors = ok ? QStringList() : errorsOf(end.get(), m_conn);
    while (PGresult* more = PQgetResult(m_conn))
        PQclear(more);
    if (!ok)
        throw SqlError(errors);
}

} // namespace kestrane::host
