#pragma once
// What the grid, the report engine and the condition dialog see of a table: a dataset. The
// two kinds (MemTable over a data packet, RecordsetDataset over a host recordset) both give:
//
//   - a field list, available without opening (the condition catalogues are never opened);
//   - open/close (active);
//   - the rows the filter lets through, in the current order, addressed by "visible row"
//     0..recordCount()-1; a walk over them (first/next/eof) with a current row;
//   - values of the current row by field name (letter case ignored), and fast typed access
//     by (visible row, field index) for the grid model and the report engine;
//   - a filter text with a filter switch (the language is in FilterExpression.h);
//   - sums of numeric fields over the visible rows;
//   - the signal changed() whenever rows, values, filter or order change.
//
// Field indexes are positions in fields(). Visible rows and field indexes are checked: an
// out-of-range index in the typed accessors is a programming error (Q_ASSERT), in
// value()/fieldValue() it throws kestrane::Error.
#include "data/FieldDef.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace kestrane {

class Table;

class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // ---- fields -----------------------------------------------------------------------
    virtual QList<FieldDef> fields() const = 0;
    int fieldCount() const { return int(fields().size()); }
    // Index of the field named `name` (letter case ignored), -1 when there is none.
    int fieldIndex(QStringView name) const;

    // ---- state ------------------------------------------------------------------------
    virtual bool isActive() const = 0;
    // Opening applies the filter when the switch is on (and may throw for a bad filter text).
    void open();
    void close();
    void setActive(bool active) { active ? open() : close(); }

    // ---- walk over the visible rows ---------------------------------------------------
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    void first();
    void next();
    void prior();
    void last();
    // True when the walk went past the last row (and always for an empty or closed dataset).
    // The current row then stays the last row.
    bool eof() const;
    bool bof() const;
    // Current visible row, 0-based; -1 when there is none.
    int recNo() const;
    // Moves to visible row `row` (clamped into range).
    void setRecNo(int row);

    // Value of the current row (an invalid QVariant for null, or when the dataset has no
    // rows). Throws kestrane::Error when no field has that name.
    QVariant fieldValue(QStringView name) const;
    // The current row's value as plain text (see displayText); empty for null.
    QString fieldText(QStringView name) const;

    // ---- typed access: visible row, field index ---------------------------------------
    bool isNull(int row, int field) const;
    // Text of a text field (empty view for null and for non-text fields); no allocation.
    QStringView text(int row, int field) const;
    // A numeric (or date) field as a number; 0 for null.
    double number(int row, int field) const;
    // The cell as a QVariant (invalid for null).
    QVariant value(int row, int field) const;
    // Plain text of any cell (Table::displayText); empty for null.
    QString displayText(int row, int field) const;

    // ---- filter -----------------------------------------------------------------------
    QString filterText() const { return m_filterText; }
    // With the switch on (and the dataset active) the new text takes effect at once; a text
    // that cannot be evaluated throws kestrane::Error and leaves text and rows as they were.
    void setFilterText(const QString& text);
    bool isFiltered() const { return m_filtered; }
    // Switching on applies the text (and may throw, leaving the switch off); off shows all.
    void setFiltered(bool on);

    // Sum of a numeric field over the visible rows, nulls skipped; 0 for text fields.
    double sum(int field) const;

    // ---- raw access for consumers that work on whole columns --------------------------
    // Where the values of a field live: a table and a column of it, addressed by the
    // numbers in visibleRows(). `table` is nullptr when the field has no column (it reads as
    // null in every row) or the dataset is closed.
    struct ColumnRef {
        const Table* table = nullptr;
        int column = -1;
    };
    ColumnRef columnRef(int field) const;
    // The storage row of every visible row, in order (empty when closed).
    const std::vector<uint32_t>& visibleRows() const;

Q_SIGNALS:
    // Rows, values, filter text or switch, or order changed: all row-related state must be
    // read again.
    void changed();
    // The dataset was opened or closed (a grid clears its sort markers on this).
    void activeChanged(bool active);

protected:
    // What each kind provides.
    virtual const std::vector<uint32_t>& rowsInView() const = 0;
    virtual ColumnRef columnOf(int field) const = 0;
    // Makes `text` the active filter (empty text: none). Throws and changes nothing on error.
    virtual void applyFilter(const QString& text) = 0;
    virtual void doOpen() = 0;
    virtual void doClose() = 0;

    // Kinds call this after anything row-related changed: the current row goes back to the
    // first and changed() is emitted.
    void rowsChanged();
    // Kinds call this after their active state changed.
    void activeStateChanged();
    // The text to apply given the switch and text (empty when the switch is off).
    QString effectiveFilter() const { return m_filtered ? m_filterText : QString(); }

private:
    uint32_t storageRowOf(int row) const;

    QString m_filterText;
    bool m_filtered = false;
    int m_current = 0;
    bool m_eof = true;
    bool m_bof = true;
};

} // namespace kestrane
