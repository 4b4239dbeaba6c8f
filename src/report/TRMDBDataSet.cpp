#include "report/TRMDBDataSet.h"

#include "common/Error.h"
#include "data/Dataset.h"
#include "report/TRMDataSource.h"

namespace kestrane::report {

TRMDBDataSet::TRMDBDataSet(QObject* parent) : TRMDataset(parent) {}

void TRMDBDataSet::setDataSet(kestrane::Dataset* dataset) {
    m_dataSet = dataset;
    if (dataset)
        m_dataSource = nullptr;
}

void TRMDBDataSet::setDataSource(TRMDataSource* source) {
    m_dataSource = source;
    if (source)
        m_dataSet = nullptr;
}

void TRMDBDataSet::setMasterDataset(TRMDataset* master) {
    if (m_master)
        m_master->removeSlave(this);
    m_master = master;
    if (master)
        master->addSlave(this);
}

kestrane::Dataset* TRMDBDataSet::dataset() const {
    if (m_dataSource)
        return m_dataSource->DataSet;
    return m_dataSet;
}

void TRMDBDataSet::Init() {
    kestrane::Dataset* ds = dataset();
    if (!ds)
        throw Error(QStringLiteral("Unable to open dataset ") + objectName());
    if (OpenDataSource && !ds->isActive())
        ds->open();
    if (OnOpen)
        OnOpen();
    m_remembered = ds->recNo();
    m_stopAtRemembered = false;
}

void TRMDBDataSet::Exit() {
    kestrane::Dataset* ds = dataset();
    if (ds && (RangeBegin == rbCurrentRecord || RangeEnd == reCurrentRecord) && m_remembered >= 0)
        ds->setRecNo(m_remembered);
    if (OnClose)
        OnClose();
    if (ds && CloseDataSource)
        ds->close();
}

void TRMDBDataSet::First() {
    if (kestrane::Dataset* ds = dataset()) {
        if (RangeBegin == rbCurrentRecord && m_remembered >= 0)
            ds->setRecNo(m_remembered);
        else
            ds->first();
    }
    m_stopAtRemembered = false;
    TRMDataset::First();
}

void TRMDBDataSet::Next() {
    kestrane::Dataset* ds = dataset();
    if (RangeEnd == reCurrentRecord && ds && ds->recNo() == m_remembered) {
        // The range ends at the record that was current when the adapter opened.
        m_stopAtRemembered = true;
        return;
    }
    if (ds)
        ds->next();
    TRMDataset::Next();
}

void TRMDBDataSet::Prior() {
    if (kestrane::Dataset* ds = dataset())
        ds->prior();
    m_stopAtRemembered = false;
    TRMDataset::Prior();
}

bool TRMDBDataSet::Eof() const {
    kestrane::Dataset* ds = dataset();
    bool eof = !ds || ds->eof() || m_stopAtRemembered || countReached();
    if (OnCheckEOF)
        OnCheckEOF(eof);
    return eof;
}

int TRMDBDataSet::fieldIndexOf(const QString& name) const {
    kestrane::Dataset* ds = dataset();
    if (!ds)
        return -1;
    if (m_indexedFor != ds) {
        // Field lists are fixed while a dataset is attached; the index is rebuilt when the
        // adapter is pointed at another one.
        m_fieldIndex.clear();
        const QList<FieldDef> fields = ds->fields();
        for (int i = 0; i < fields.size(); ++i)
            m_fieldIndex.insert(fields[i].name.toCaseFolded(), i);
        m_indexedFor = ds;
    }
    return m_fieldIndex.value(name.toCaseFolded(), -1);
}

bool TRMDBDataSet::hasField(const QString& name) const {
    return fieldIndexOf(name) >= 0;
}

QVariant TRMDBDataSet::valueOf(kestrane::Dataset& ds, int field) {
    if (!ds.isActive())
        ds.open();
    const int row = ds.recNo();
    if (row >= 0 && !ds.isNull(row, field))
        return ds.value(row, field);
    // Null values read as the report expects them: "" for text, false, else 0. The field
    // list is asked for only here, so the common case copies nothing.
    const QList<FieldDef> fields = ds.fields();
    const FieldType type =
        field >= 0 && field < fields.size() ? fields[field].type : FieldType::String;
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return QString();
    case FieldType::Boolean:
        return false;
    default:
        return 0;
    }
}

QVariant TRMDBDataSet::fieldValue(const QString& name) {
    const int i = fieldIndexOf(name);
    kestrane::Dataset* ds = dataset();
    if (i < 0 || !ds)
        return QVariant();
    return valueOf(*ds, i);
}

bool TRMDBDataSet::fieldInfo(const QString& name, FieldDef& def) const {
    const int i = fieldIndexOf(name);
    if (i < 0)
        return false;
    def = dataset()->fields()[i];
    return true;
}

QStringList TRMDBDataSet::fieldNames() const {
    QStringList names;
    if (kestrane::Dataset* ds = dataset())
        for (const FieldDef& f : ds->fields())
            names.append(f.name);
    return names;
}

} // namespace kestrane::report
