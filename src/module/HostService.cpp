#include "module/HostService.h"

#include "common/Error.h"
#include "data/MemTable.h"
#include "data/VarToRecordset.h"

namespace kestrane {

namespace {
// Any non-zero result means success, whatever type the host answered with.
bool succeeded(const QVariant& result) {
    switch (result.typeId()) {
    case QMetaType::Bool:
        return result.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
        return result.toDouble() != 0;
    default:
        return false;
    }
}
} // namespace

bool HostService::call(int32_t dispId, QVariantList& args, qsizetype byRef, QVariant& value) {
    if (!m_host)
        throw Error(QStringLiteral("没有宿主服务对象"));
    const bool ok = succeeded(m_host->Invoke(dispId, args));
    value = byRef < args.size() ? args[byRef] : QVariant();
    return ok;
}

bool HostService::callText(int32_t dispId, QString& text, QVariant& errors) {
    QVariantList args{QVariant()};
    QVariant value;
    if (!call(dispId, args, 0, value)) {
        errors = value;
        return false;
    }
    text = value.toString();
    return true;
}

bool HostService::callPacket(int32_t dispId, QVariantList& args, qsizetype byRef, MemTable& table,
                             QVariant& errors) {
    QVariant value;
    if (!call(dispId, args, byRef, value)) {
        errors = value;
        return false;
    }
    table.loadPacket(value);
    return true;
}

bool HostService::QueryData(const QString& sql, std::shared_ptr<Recordset>& recordset,
                            QVariant& errors) {
    QVariantList args{sql, QVariant()};
    QVariant value;
    if (!call(DispQueryData, args, 1, value)) {
        errors = value;
        return false;
    }
    recordset = VarToRecordset(value);
    return true;
}

bool HostService::GetCurrentYearMonth(QString& yearMonth, QVariant& errors) {
    return callText(DispGetCurrentYearMonth, yearMonth, errors);
}

bool HostService::GetCurrentDate(QString& date, QVariant& errors) {
    return callText(DispGetCurrentDate, date, errors);
}

bool HostService::GetCurrentDateTime(QString& dateTime, QVariant& errors) {
    return callText(DispGetCurrentDateTime, dateTime, errors);
}

bool HostService::GetBasicData(int kind, const QString& key, MemTable& table, QVariant& errors) {
    QVariantList args{kind, key}; // the by-reference slot carries the key in
    return callPacket(DispGetBasicData, args, 1, table, errors);
}

QString HostService::GetDatabaseType() {
    if (!m_host)
        throw Error(QStringLiteral("没有宿主服务对象"));
    QVariantList args;
    return m_host->Invoke(DispGetDatabaseType, args).toString();
}

bool HostService::GetSysParams(MemTable& table, QVariant& errors) {
    QVariantList args{QVariant()};
    return callPacket(DispGetSysParams, args, 0, table, errors);
}

bool HostService::OpenQuery(const QString& sql, MemTable& table, QVariant& errors) {
    QVariantList args{sql, QVariant()};
    return callPacket(DispOpenQuery, args, 1, table, errors);
}

} // namespace kestrane
