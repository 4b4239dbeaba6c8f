#pragma once
// Typed calls of the host operations the module uses, over the host's automation object.
//
// Every operation but GetDatabaseType answers a Boolean: true means the value was read into
// the caller's variable; false leaves the host's error list (normally a list of texts) in
// `errors` for the caller's own failure rule (ShowHostErrors shows it). A call the host
// refuses outright throws (DispatchError), and a data packet that cannot be loaded throws
// kestrane::Error: both end the current command at its boundary.
#include "kestrane/ICoorDisp.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace kestrane {

class MemTable;
class Recordset;

class HostService {
public:
    // Basic-data kind of the operator table (key: operator code; answer carries f_zymc).
    static constexpr int kBasicDataOperator = 1;

    explicit HostService(ICoorDisp* host) : m_host(host) {}

    ICoorDisp* host() const { return m_host; }

    // Runs a SELECT; the rows come back as a recordset.
    bool QueryData(const QString& sql, std::shared_ptr<Recordset>& recordset, QVariant& errors);
    bool GetCurrentYearMonth(QString& yearMonth, QVariant& errors);
    // First 8 characters YYYYMMDD; the whole text is kept.
    bool GetCurrentDate(QString& date, QVariant& errors);
    // Characters 9 to 14 are the time HHMMSS.
    bool GetCurrentDateTime(QString& dateTime, QVariant& errors);
    // Basic-data rows of `kind` matching `key`, loaded into `table`.
    bool GetBasicData(int kind, const QString& key, MemTable& table, QVariant& errors);
    // The database kind ("SQLSERVER", "DB2", "ORACLE"); throws when the host refuses.
    QString GetDatabaseType();
    // The system parameter table (f_Csmc, f_Csz), loaded into `table`.
    bool GetSysParams(MemTable& table, QVariant& errors);
    // Runs a SELECT; the rows come back as a data packet loaded into `table`.
    bool OpenQuery(const QString& sql, MemTable& table, QVariant& errors);

private:
    // Invokes `dispId` with `args`; the by-reference argument at `byRef` receives the value or
    // the error list. Answers the Boolean result.
    bool call(int32_t dispId, QVariantList& args, qsizetype byRef, QVariant& value);
    bool callText(int32_t dispId, QString& text, QVariant& errors);
    bool callPacket(int32_t dispId, QVariantList& args, qsizetype byRef, MemTable& table,
                    QVariant& errors);

    ICoorDisp* m_host;
};

} // namespace kestrane
