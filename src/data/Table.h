#pragma once
// Columnar row storage: the rows of a data packet, of a recordset, of an in-memory table.
//
// Each column keeps its values in one typed vector (int64, double, byte, or 32-bit codes into
// a per-column StringDictionary for texts) plus a null bitmap, so a cell costs 4 to 8 bytes
// plus its share of the distinct texts, and nothing is boxed per cell. A text cell is read as
// a QStringView into the dictionary without allocating.
//
// Rows are appended: appendRow() adds a row of nulls and the set...() calls fill its cells
// (any row may be set, texts included). Readers take a row number 0..rowCount()-1 and a
// column index 0..columnCount()-1; both are checked only by Q_ASSERT on the fast paths
// (text/number/isNull), and by exceptions on value()/setValue().
#include "data/FieldDef.h"
#include "data/StringDictionary.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace kestrane {

class Table {
public:
    Table() = default;
    explicit Table(const QList<FieldDef>& fields);

    const QList<FieldDef>& fields() const { return m_fields; }
    int columnCount() const { return int(m_columns.size()); }
    qsizetype rowCount() const { return m_rows; }
    // Index of the column named `name`, letter case ignored; -1 when there is none.
    int columnIndex(QStringView name) const;
    FieldType columnType(int column) const { return m_columns[column].type; }

    // ---- building ---------------------------------------------------------------------
    void reserve(qsizetype rows);
    // Appends a row whose cells are all null and returns its number.
    qsizetype appendRow();
    // Appends a row from one value per column (missing trailing values are null). Values are
    // converted to the column type as setValue() does. Convenient, not fast.
    qsizetype appendRow(const QVariantList& values);
    void setNull(qsizetype row, int column);
    void setText(qsizetype row, int column, QStringView text);           // String, Memo
    void setInteger(qsizetype row, int column, int64_t value);           // Integer
    void setFloat(qsizetype row, int column, double value);              // Float
    void setBoolean(qsizetype row, int column, bool value);              // Boolean
    void setDate(qsizetype row, int column, QDate value);                // Date (invalid -> null)
    void setDateTime(qsizetype row, int column, const QDateTime& value); // DateTime
    // Converts `value` to the column's type; a null or invalid QVariant gives null. Throws
    // kestrane::Error when the value cannot be converted (text "abc" into an Integer column).
    void setValue(qsizetype row, int column, const QVariant& value);
    // As setValue(), but a value that does not convert leaves the cell null and answers false.
    bool trySetValue(qsizetype row, int column, const QVariant& value);
    // Removes all rows; the fields stay.
    void clear();
    // Releases build-time lookup structures and spare capacity once the table is complete.
    void squeeze();

    // ---- reading ----------------------------------------------------------------------
    bool isNull(qsizetype row, int column) const {
        return (m_columns[column].nulls[std::size_t(row) >> 6] >> (row & 63)) & 1u;
    }
    // Text of a String/Memo cell (empty for null); an empty view for other column types.
    QStringView text(qsizetype row, int column) const;
    // Integer/Float/Boolean cells as a number (0 for null); Date as its Julian day,
    // DateTime as ms since 1970; text cells read as a number when they are one, else 0.
    double number(qsizetype row, int column) const;
    int64_t integer(qsizetype row, int column) const;
    bool boolean(qsizetype row, int column) const;
    QDate date(qsizetype row, int column) const;
    QDateTime dateTime(qsizetype row, int column) const;
    // The cell as a QVariant of the column's natural type; an invalid QVariant for null.
    QVariant value(qsizetype row, int column) const;
    // Plain text form of any cell: texts as stored, integers in decimal, floats in their
    // shortest round-trip form, booleans "True"/"False", dates "yyyy-MM-dd", date-times
    // "yyyy-MM-dd hh:mm:ss(.zzz)"; empty for null.
    QString displayText(qsizetype row, int column) const;

    // ---- raw column access (filter evaluator, sorter, packet codec, sums) -------------
    // Bit r of nullBits()[r >> 6] is 1 when row r is null.
    const uint64_t* nullBits(int column) const { return m_columns[column].nulls.data(); }
    const int64_t* integers(int column) const { return m_columns[column].i64.data(); }
    const double* floats(int column) const { return m_columns[column].f64.data(); }
    const uint8_t* booleans(int column) const { return m_columns[column].b8.data(); }
    const uint32_t* codes(int column) const { return m_columns[column].codes.data(); }
    const StringDictionary& dictionary(int column) const { return m_columns[column].dict; }

    // Bytes held by the columns (capacity, not just size).
    std::size_t memoryBytes() const;

private:
    friend class DataPacketReader;
    struct Column {
        FieldType type = FieldType::String;
        std::vector<uint64_t> nulls;
        std::vector<int64_t> i64;    // Integer, Date, DateTime
        std::vector<double> f64;     // Float
        std::vector<uint8_t> b8;     // Boolean
        std::vector<uint32_t> codes; // String, Memo
        StringDictionary dict;
    };
    void checkCell(qsizetype row, int column) const;
    void clearNull(qsizetype row, int column) {
        m_columns[column].nulls[std::size_t(row) >> 6] &= ~(uint64_t(1) << (row & 63));
    }

    QList<FieldDef> m_fields;
    std::vector<Column> m_columns;
    qsizetype m_rows = 0;
};

} // namespace kestrane
