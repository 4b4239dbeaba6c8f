#pragma once
// The in-memory table: filled from a data packet (the host's OpenQuery, GetSysParams and
// GetBasicData answers) or built from field definitions, walked, searched with locate(), and
// ordered by named indexes (the grid's "customindex").
//
// Its field list can be declared without ever opening the table (the condition catalogues
// cdsWhere and cdsWhere1 are such tables). Loading a packet replaces fields and rows.
//
// Order: the current index (indexName(), empty = packet order) decides the order of the walk,
// the grid and locate(); the filter (Dataset) decides which rows are visible.
#include "data/Dataset.h"
#include "data/RowView.h"
#include "data/Table.h"

#include <QByteArray>
#include <QFlags>
#include <QList>
#include <QString>
#include <QVariant>

namespace kestrane {

class MemTable : public Dataset {
    Q_OBJECT
public:
    enum LocateOption {
        LocateCaseInsensitive = 0x1, // letter case ignored
        LocatePartialKey = 0x2,      // the value starts with the key
    };
    Q_DECLARE_FLAGS(LocateOptions, LocateOption)

    struct IndexDef {
        QString name;
        QString fields;           // "f_a;f_b"
        QString descendingFields; // "f_b"
        bool caseInsensitive = false;
    };

    explicit MemTable(QObject* parent = nullptr);
    ~MemTable() override;

    // ---- fields and content -----------------------------------------------------------
    // Declares the fields (for catalogues and for createDataSet()). Closes the table.
    void setFieldDefs(const QList<FieldDef>& fields);
    QList<FieldDef> fields() const override;
    bool isActive() const override { return m_active; }

    // An empty, open table with the declared fields.
    void createDataSet();
    // Replaces fields and rows with the packet's (a QVariant holding a QByteArray) and opens
    // the table; the current row is the first. Index definitions (and the current index) are
    // kept when their fields still exist in the new content, dropped otherwise. Throws
    // kestrane::Error for a damaged packet or a QVariant without bytes; the table is then
    // left as it was.
    void loadPacket(const QVariant& packet);
    void loadPacket(QByteArrayView packet);
    // Replaces fields and rows with `table`, as loadPacket() does.
    void setData(Table table);
    // The whole content as a packet (all rows, table order).
    QByteArray packet() const;
    // Appends one row (values in field order, converted to the field types; see
    // Table::appendRow) to an open table. Throws when the table is closed.
    void appendRecord(const QVariantList& values);
    // Read access to all rows (table order), e.g. for whole-column consumers.
    const Table& data() const { return m_table; }

    // ---- locate -----------------------------------------------------------------------
    // Makes the first visible row (in the current order) whose field matches `key` the
    // current row and answers whether there was one; the current row stays when there is
    // none. Text fields match the key text whole (exact case, or ignoring case with
    // LocateCaseInsensitive) or as a prefix (LocatePartialKey). For other fields a whole key is
    // read as a value of the field's type (5, "5" and "5.0" find 5; "2005-01-31" finds that
    // date; a key that does not convert finds nothing), and a prefix key is matched against
    // the value's plain text form. A null value matches only a null key. Throws for an
    // unknown field.
    bool locate(QStringView field, const QVariant& key, LocateOptions options = {});

    // ---- named indexes ----------------------------------------------------------------
    // Adds an index. Throws kestrane::Error for an empty or duplicate name or an unknown
    // field.
    void addIndex(const QString& name, const QString& fields, const QString& descendingFields = {},
                  bool caseInsensitive = false);
    // Removes every index named `name` (letter case ignored); answers whether one was
    // removed. Removing the current index returns the table to packet order.
    bool deleteIndex(const QString& name);
    QList<IndexDef> indexDefs() const { return m_indexes; }
    // Makes the named index current ("" = packet order). Throws for an unknown name.
    void setIndexName(const QString& name);
    QString indexName() const { return m_indexName; }

protected:
    const std::vector<uint32_t>& rowsInView() const override;
    ColumnRef columnOf(int field) const override;
    void applyFilter(const QString& text) override;
    void doOpen() override;
    void doClose() override;

private:
    void replaceContent(Table&& table);
    std::vector<SortKey> keysOf(const IndexDef& def) const;

    QList<FieldDef> m_fieldDefs;
    Table m_table;
    RowView m_view;
    bool m_active = false;
    QList<IndexDef> m_indexes;
    QString m_indexName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MemTable::LocateOptions)

} // namespace kestrane
