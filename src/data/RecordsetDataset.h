#pragma once
// A dataset over a Recordset: the result datasets of the six views (adsbill, adsbill1 ...
// adsbill5) and the print dataset cdsPrint.
//
// Fields: with fixed field definitions (setFieldDefs) the dataset shows exactly those, in
// that order, and matches each to the recordset column of the same name, letter case ignored.
// Recordset columns without a fixed field are not shown. A fixed field whose name no column
// carries reads as null in every row (listed by missingFields()), so a view keeps its columns
// even when the host's statement left one out; a filter or sort naming it is an error, since
// those work on the recordset's columns. Where a fixed field and its column disagree in kind
// (text against number or date), the column's values are converted once, when the recordset
// is attached, into a column of the fixed field's type; values that do not convert are null.
// Without fixed fields the dataset shows the recordset's own fields.
//
// Filter, sort and index fields are the recordset's (shared by every dataset attached to
// it). Filter text and switch are kept by the dataset and given to the recordset when the
// switch is on; a dataset attached with its switch off leaves the recordset's filter as it is.
#include "data/Dataset.h"
#include "data/Recordset.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace kestrane {

class RecordsetDataset : public Dataset {
    Q_OBJECT
public:
    explicit RecordsetDataset(QObject* parent = nullptr);
    ~RecordsetDataset() override;

    // Fixed fields (empty: take the recordset's). Does not close the dataset; an attached
    // recordset is matched anew.
    void setFieldDefs(const QList<FieldDef>& fields);
    QList<FieldDef> fieldDefs() const { return m_fixed; }
    QList<FieldDef> fields() const override;
    bool isActive() const override { return bool(m_recordset); }

    // Attaches a new, empty recordset made from the fixed fields and opens the dataset.
    void createDataSet();
    // Attaches `recordset` (nullptr closes the dataset) and opens the dataset: its rows are
    // the recordset's rows as filtered and sorted by it. When this dataset's filter switch is
    // on its text is applied to the recordset, and non-empty index fields set the
    // recordset's sort (both may throw kestrane::Error; the dataset is then closed).
    void setRecordset(std::shared_ptr<Recordset> recordset);
    std::shared_ptr<Recordset> recordset() const { return m_recordset; }

    // The recordset's sort text; "" removes the order. Throws when closed or for a bad text.
    QString sort() const;
    void setSort(const QString& text);
    // Index fields "f_djh" or "f_a;f_b": ascending order by those fields, set as the
    // recordset's sort; "" removes the order. Kept while closed and applied (when not empty)
    // on attaching.
    QString indexFieldNames() const { return m_indexFields; }
    void setIndexFieldNames(const QString& fields);

    // Fixed fields that no column of the attached recordset carries.
    QStringList missingFields() const;

protected:
    const std::vector<uint32_t>& rowsInView() const override;
    ColumnRef columnOf(int field) const override;
    void applyFilter(const QString& text) override;
    void doOpen() override;
    void doClose() override;

private:
    void attach(std::shared_ptr<Recordset> recordset);
    void detach();
    void matchColumns();
    QString indexSortText() const;

    QList<FieldDef> m_fixed;
    std::shared_ptr<Recordset> m_recordset;
    int m_listener = 0;
    QString m_indexFields;
    std::vector<ColumnRef> m_refs; // per shown field
    Table m_converted;             // converted copies of mismatched columns
    uint64_t m_generation = 0;     // of the recordset data m_refs were made for
};

} // namespace kestrane
