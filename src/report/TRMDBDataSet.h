#pragma once
// The adapter over a dataset of the data layer: the band engine's init, first, next, prior,
// end-of-data and exit steps with the adapter's range, and field values with the report's
// null rules (a null text reads "", a null Boolean false, any other null 0).
#include "data/Dataset.h"
#include "report/TRMDataSource.h"
#include "report/TRMDataset.h"

#include <QHash>

namespace kestrane::report {

class TRMDBDataSet : public TRMDataset {
    Q_OBJECT
public:
    explicit TRMDBDataSet(QObject* parent = nullptr);

    bool CloseDataSource = false;
    bool OpenDataSource = true;
    std::function<void()> OnOpen;
    std::function<void()> OnClose;

    // Setting one of dataset and data source clears the other; a data source wins.
    kestrane::Dataset* DataSet() const { return m_dataSet; }
    void setDataSet(kestrane::Dataset* dataset);
    TRMDataSource* DataSource() const { return m_dataSource; }
    void setDataSource(TRMDataSource* source);
    // Registers this adapter as a slave of another.
    TRMDataset* MasterDataset() const { return m_master; }
    void setMasterDataset(TRMDataset* master);

    // The dataset walked: the data source's, else the dataset.
    kestrane::Dataset* dataset() const;

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() const override;

    bool hasField(const QString& name) const override;
    QVariant fieldValue(const QString& name) override;
    bool fieldInfo(const QString& name, FieldDef& def) const override;
    QStringList fieldNames() const override;

    // A field's value of the current row by index, with the null rules; opens the dataset
    // when it is closed.
    static QVariant valueOf(kestrane::Dataset& dataset, int field);

private:
    int fieldIndexOf(const QString& name) const;

    QPointer<kestrane::Dataset> m_dataSet;
    QPointer<TRMDataSource> m_dataSource;
    QPointer<TRMDataset> m_master;
    int m_remembered = -1;
    bool m_stopAtRemembered = false;
    mutable QHash<QString, int> m_fieldIndex; // by case-folded name, for the dataset below
    mutable QPointer<kestrane::Dataset> m_indexedFor;
};

} // namespace kestrane::report
