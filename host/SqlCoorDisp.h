#pragma once
// The host's automation object over a SQL database: the eight operations the module calls,
// answered from the demo (or any) database in the host's nominal dialect.
//
// Statements arrive in the dialect the host reports ("SQLSERVER" or "DB2") and are adapted
// to the backend before they run. A statement the database refuses is answered with false and
// the database's texts in the by-reference argument; nothing the database or the data layer
// throws crosses the interface. Only a call the object cannot take at all (unknown dispatch
// identifier, wrong number or kind of arguments) is refused with DispatchError, as the
// interface prescribes.
#include "host/SqlBackend.h"
#include "host/SqlDialectAdapter.h"
#include "kestrane/ICoorDisp.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

namespace kestrane::host {

class SqlCoorDisp final : public ICoorDisp {
public:
    // Created with one reference, owned by the creator; the last Release() deletes it.
    // kind is "SQLSERVER" or "DB2"; a fixed today (invalid = the system clock) makes dates
    // reproducible.
    SqlCoorDisp(std::unique_ptr<SqlBackend> backend, const QString& kind,
                const QDate& fixedToday = QDate());

    uint32_t AddRef() override;
    uint32_t Release() override;
    QVariant Invoke(int32_t dispId, QVariantList& args) override;

    // Appends every statement received, as sent and as adapted, to this file.
    // Throws kestrane::Error when the file cannot be opened.
    void setTraceFile(const QString& path);
    // The system clock by default; tests fix it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    const QString& kind() const { return m_kind; }
    SqlBackend& backend() { return *m_backend; }
    const SqlDialectAdapter& adapter() const { return m_adapter; }
    uint32_t referenceCount() const { return m_refs.load(); }

private:
    ~SqlCoorDisp() override;

    QDateTime now() const;
    bool queryData(QVariantList& args);
    bool openQuery(QVariantList& args);
    bool getBasicData(QVariantList& args);
    bool getSysParams(QVariantList& args);
    // Runs a statement of the module (adapted and traced); throws on failure.
    Table runModuleStatement(const QString& operation, const QString& sql);
    void trace(const QString& operation, const QString& received, const QString& adapted);

    std::unique_ptr<SqlBackend> m_backend;
    QString m_kind;
    SqlDialectAdapter m_adapter;
    QDate m_fixedToday;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<QFile> m_trace;
    std::atomic<uint32_t> m_refs{1};
};

} // namespace kestrane::host
