#include "host/SqlCoorDisp.h"

#include "common/Error.h"
#include "data/DataPacket.h"
#include "data/VarToRecordset.h"
#include "host/DemoDataGenerator.h"
#include "host/SqlError.h"

#include <QDateTime>
#include <QVariantList>
#include <exception>

namespace kestrane::host {

namespace {

SqlSourceDialect sourceOf(const QString& kind) {
    SqlSourceDialect source = SqlSourceDialect::SqlServer;
    if (!SqlDialectAdapter::sourceFromKind(kind, source))
        throw kestrane::Error(u"不支持的数据库类型: "_qs + kind);
    return source;
}

QVariantList errorList(const QStringList& messages) {
    QVariantList out;
    for (const QString& m : messages)
        out << m;
    return out;
}

// The by-reference slot `index` of the argument list, which must exist.
void requireArgs(int32_t dispId, const QVariantList& args, int count) {
    if (args.size() != count)
        throw DispatchError("dispatch id " + std::to_string(dispId) + ": expected " +
                            std::to_string(count) + " arguments, got " +
                            std::to_string(args.size()));
}

QString statementArg(int32_t dispId, const QVariant& v) {
    if (!v.canConvert<QString>() || v.userType() == QMetaType::QVariantList)
        throw DispatchError("dispatch id " + std::to_string(dispId) +
                            ": the statement argument is not text");
    return v.toString();
}

} // namespace

SqlCoorDisp::SqlCoorDisp(std::unique_ptr<SqlBackend> backend, const QString& kind,
                         const QDate& fixedToday)
    : m_backend(std::move(backend)), m_kind(kind), m_adapter(sourceOf(kind), m_backend->kind()),
      m_fixedToday(fixedToday) {}

SqlCoorDisp::~SqlCoorDisp() = default;

uint32_t SqlCoorDisp::AddRef() {
    return ++m_refs;
}

uint32_t SqlCoorDisp::Release() {
    const uint32_t left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

void SqlCoorDisp::setTraceFile(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        throw kestrane::Error(u"无法打开语句记录文件 %1: %2"_qs.arg(path, file->errorString()));
    m_trace = std::move(file);
}

QDateTime SqlCoorDisp::now() const {
    QDateTime t = m_clock ? m_clock() : QDateTime::currentDateTime();
    if (m_fixedToday.isValid())
        t.setDate(m_fixedToday);
    return t;
}

QVariant SqlCoorDisp::Invoke(int32_t dispId, QVariantList& args) {
    switch (dispId) {
    case DispQueryData:
        requireArgs(dispId, args, 2);
        return queryData(args);
    case DispGetCurrentYearMonth:
        requireArgs(dispId, args, 1);
        args[0] = now().toString(u"yyyyMM"_qs);
        return true;
    case DispGetCurrentDate:
        requireArgs(dispId, args, 1);
        args[0] = now().toString(u"yyyyMMdd"_qs);
        return true;
    case DispGetCurrentDateTime:
        requireArgs(dispId, args, 1);
        args[0] = now().toString(u"yyyyMMddHHmmss"_qs);
        return true;
    case DispGetBasicData:
        requireArgs(dispId, args, 2);
        return getBasicData(args);
    case DispGetDatabaseType:
        requireArgs(dispId, args, 0);
        return m_kind;
    case DispGetSysParams:
        requireArgs(dispId, args, 1);
        return getSysParams(args);
    case DispOpenQuery:
        requireArgs(dispId, args, 2);
        return openQuery(args);
    default:
        throw DispatchError("unknown dispatch id " + std::to_string(dispId));
    }
}

void SqlCoorDisp::trace(const QString& operation, const QString& received, const QString& adapted) {
    if (!m_trace)
        return;
    QString entry = u"-- %1 %2 (%3)\n"_qs.arg(QDateTime::currentDateTime().toString(Qt::ISODate),
                                              operation, m_kind) +
                    received +
                    u"\n-- adapted for %1\n"_qs.arg(m_backend->kind() == SqlBackendKind::Sqlite
                                                        ? u"SQLite"_qs
                                                        : u"PostgreSQL"_qs) +
                    adapted + u"\n\n"_qs;
    m_trace->write(entry.toUtf8());
    m_trace->flush();
}

Table SqlCoorDisp::runModuleStatement(const QString& operation, const QString& sql) {
    const QString adapted = m_adapter.adapt(sql);
    trace(operation, sql, adapted);
    if (adapted.trimmed().isEmpty())
        throw SqlError({u"查询语句为空"_qs});
    return m_backend->query(adapted);
}

// Every operation below answers false with the texts of whatever went wrong; the two kinds
// of failure a caller can meet are the database's refusal (SqlError, its texts) and a fault
// of the data layer while packing the answer (kestrane::Error).
#define KESTRANE_ANSWER_OR_FAIL(slot, body)                                                        \
    try {                                                                                          \
        body;                                                                                      \
        return true;                                                                               \
    } catch (const SqlError& e) {                                                                  \
        slot = errorList(e.messages());                                                            \
    } catch (const kestrane::Error& e) {                                                           \
        slot = errorList({e.message()});                                                           \
    } catch (const std::exception& e) {                                                            \
        slot = errorList({QString::fromUtf8(e.what())});                                           \
    } catch (...) {                                                                                \
        slot = errorList({u"未知错误"_qs});                                                        \
    }                                                                                              \
    return false;

bool SqlCoorDisp::queryData(QVariantList& args) {
    const QString sql = statementArg(DispQueryData, args[0]);
    KESTRANE_ANSWER_OR_FAIL(args[1], {
        auto recordset = std::make_shared<Recordset>(runModuleStatement(u"QueryData"_qs, sql));
        args[1] = recordsetToVariant(std::move(recordset));
    })
}

bool SqlCoorDisp::openQuery(QVariantList& args) {
    const QString sql = statementArg(DispOpenQuery, args[0]);
    KESTRANE_ANSWER_OR_FAIL(args[1],
                            { args[1] = encodePacket(runModuleStatement(u"OpenQuery"_qs, sql)); })
}

bool SqlCoorDisp::getBasicData(QVariantList& args) {
    bool kindOk = false;
    const int kind = args[0].toInt(&kindOk);
    if (!kindOk)
        throw DispatchError("GetBasicData: the kind argument is not a number");
    const QString key = args[1].toString();
    KESTRANE_ANSWER_OR_FAIL(args[1], {
        // Kind 1: the operator with the given code.
        if (kind != 1)
            throw SqlError({u"不支持的基础资料类别: %1"_qs.arg(kind)});
        args[1] = encodePacket(
            m_backend->query(u"select f_zybm, f_zymc from tbzyda where f_zybm = ?"_qs, {key}));
    })
}

bool SqlCoorDisp::getSysParams(QVariantList& args) {
    KESTRANE_ANSWER_OR_FAIL(args[0], {
        args[0] = encodePacket(m_backend->query(u"select f_Csmc, f_Csz from "_qs +
                                                DemoDataGenerator::kSysParamTable +
                                                u" order by f_Csmc"_qs));
    })
}

#undef KESTRANE_ANSWER_OR_FAIL

} // namespace kestrane::host
