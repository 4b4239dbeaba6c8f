#pragma once
// The parameter loader: the one place where the module learns the database kind of the
// host's server, the server's date and time, the operator's name and the installation-wide
// parameters of the host's system parameter table. Everything comes through the host
// service; the loader opens no database of its own.
#include "data/MemTable.h"
#include "params/TSysParamSet.h"
#include "params/TsysmsgInfo.h"

#include <QPointer>
#include <QString>
#include <QVariant>

class QWidget;

namespace kestrane {
class ICoorDisp;
}

namespace kestrane::params {

struct SysParamEntry;

class TMirvoClass {
public:
    // Keeps one counted reference to `host` for the loader's life and asks it for the
    // database kind. Never fails: a host that raises gets the warning "获取数据库类型失败!"
    // (owned by ownerWindow, or the application's window when none is given) and the kind
    // "SQLSERVER".
    explicit TMirvoClass(ICoorDisp* host, QWidget* ownerWindow = nullptr);
    ~TMirvoClass();
    TMirvoClass(const TMirvoClass&) = delete;
    TMirvoClass& operator=(const TMirvoClass&) = delete;

    // Loads the facts and parameters `wanted` names into `info`. On failure returns false
    // with the reason in errorText; the fields stored before the failure keep their new
    // values, the rest are untouched. On success errorText is left as it was. Shows nothing.
    bool GetSysmsgInfo(TsysmsgInfo& info, const TSysParamSet& wanted, QString& errorText);

    // The database kind as the host reported it at construction.
    const QString& dbKind() const { return m_dbKind; }
    // The table of the last packet a load fetched.
    const MemTable& table() const { return m_table; }

private:
    void load(TsysmsgInfo& info, const TSysParamSet& wanted);
    void loadHostFacts(TsysmsgInfo& info, const TSysParamSet& wanted);
    void loadParameter(TsysmsgInfo& info, const SysParamEntry& entry);
    void loadPair(TsysmsgInfo& info);
    bool locate(const QString& key, bool exactCase);
    QVariant currentValue() const;
    bool callHost(int32_t dispId, QVariantList& args);

    ICoorDisp* m_host;
    QPointer<QWidget> m_ownerWindow;
    QString m_dbKind;
    MemTable m_table;
};

} // namespace kestrane::params
