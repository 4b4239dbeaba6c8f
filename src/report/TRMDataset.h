#pragma once
// A dataset adapter: what the band engine walks for a data band. The base adapter counts
// records itself (a band over no dataset prints RangeEndCount records, or asks OnCheckEOF);
// TRMDBDataSet walks a real dataset. First, next and prior are passed on to the slaves.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace kestrane {
struct FieldDef;
}

namespace kestrane::report {

enum TRMRangeBegin : int { rbFirstRecord = 0, rbCurrentRecord = 1 };
enum TRMRangeEnd : int { reLastRecord = 0, reCurrentRecord = 1, reCountRecords = 2 };

class TRMDataset : public QObject {
    Q_OBJECT
public:
    explicit TRMDataset(QObject* parent = nullptr) : QObject(parent) {}

    int RangeBegin = rbFirstRecord;
    int RangeEnd = reLastRecord;
    int RangeEndCount = 0;
    std::function<void(bool& eof)> OnCheckEOF;
    std::function<void()> OnFirst;
    std::function<void()> OnNext;
    std::function<void()> OnPrior;

    // The band engine's steps.
    virtual void Init() {}
    virtual void Exit() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof() const;
    int RecordNo() const { return m_recordNo; }

    // Slave adapters move with this one.
    void addSlave(TRMDataset* slave);
    void removeSlave(TRMDataset* slave);
    QList<TRMDataset*> slaves() const;

    // Field access for expressions; the base adapter has no fields.
    virtual bool hasField(const QString& name) const;
    virtual QVariant fieldValue(const QString& name);
    // Display format text of a field ("####0.00"), the storage kind, and the field list.
    virtual bool fieldInfo(const QString& name, FieldDef& def) const;
    virtual QStringList fieldNames() const { return {}; }

protected:
    bool countReached() const;
    int m_recordNo = 0;

private:
    QList<QPointer<TRMDataset>> m_slaves;
};

} // namespace kestrane::report
