#pragma once
// The host's answer to QueryData: shared row storage with a filter and a sort order of its
// own. It travels in a QVariant as std::shared_ptr<Recordset> (see VarToRecordset.h) and is
// attached to RecordsetDataset objects.
//
// As with the database recordsets this stands in for, filter and sort are properties of the
// recordset object, not of a dataset: every dataset attached to the same recordset shows the
// same rows in the same order, and a filter set through one is seen by all. Each dataset keeps
// its own current row.
#include "data/RowView.h"
#include "data/Table.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace kestrane {

class Recordset {
public:
    explicit Recordset(const QList<FieldDef>& fields = {});
    explicit Recordset(Table table);
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const QList<FieldDef>& fields() const { return m_table.fields(); }
    // All rows, in arrival order.
    const Table& table() const { return m_table; }
    // Replaces the rows (and fields); filter and sort are applied anew when they still fit
    // the new fields, dropped otherwise. Listeners are told.
    void setTable(Table table);
    // Appends one row (values in field order). Listeners are told.
    void appendRow(const QVariantList& values);

    // Rows the filter lets through, in sort order.
    const std::vector<uint32_t>& rows() const { return m_view.rows(); }
    int recordCount() const { return int(m_view.rows().size()); }

    // Filter text ("" = all rows). Throws kestrane::Error for a text that cannot be
    // evaluated; filter and rows then stay as they were.
    QString filter() const { return m_view.filter().text(); }
    void setFilter(const QString& text);
    // Sort text such as "f_Bmbm ASC,f_Gjje DESC" ("" = arrival order). Throws for an unknown
    // field or a malformed text, leaving the order as it was.
    QString sort() const { return m_sortText; }
    void setSort(const QString& text);

    // Counts replacements and appends of rows (not filter or sort changes), so listeners can
    // tell new data from a new view of the same data.
    uint64_t generation() const { return m_generation; }

    // Change listeners (rows, filter or order changed). The handle removes the listener.
    int subscribe(std::function<void()> listener);
    void unsubscribe(int handle);

private:
    void notify();

    Table m_table;
    RowView m_view;
    QString m_sortText;
    std::map<int, std::function<void()>> m_listeners;
    int m_nextHandle = 1;
    uint64_t m_generation = 0;
};

} // namespace kestrane

Q_DECLARE_METATYPE(std::shared_ptr<kestrane::Recordset>)
