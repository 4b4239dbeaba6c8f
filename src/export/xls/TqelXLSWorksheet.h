#pragma once
// One sheet of the workbook model: its ranges, columns, rows, print settings, pictures and
// page breaks. The sheet owns all of them; references it hands out stay valid while it lives.
#include "export/xls/TqelImages.h"
#include "export/xls/TqelXLSCol.h"
#include "export/xls/TqelXLSPageSetup.h"
#include "export/xls/TqelXLSRange.h"
#include "export/xls/TqelXLSRow.h"
#include "export/xls/XlsChunkedList.h"
#include "export/xls/XlsTextStore.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <deque>
#include <unordered_map>

namespace kestrane::xls {

class TqelXLSWorkbook;

// Used area of a sheet; each edge is -1 while nothing has been placed.
struct TqelXLSBounds {
    int minColumn = -1;
    int minRow = -1;
    int maxColumn = -1;
    int maxRow = -1;
};

class TqelXLSWorksheet {
public:
    static constexpr int MaxNameLength = 31;

    TqelXLSWorksheet(TqelXLSWorkbook* workbook, int number);
    TqelXLSWorksheet(const TqelXLSWorksheet&) = delete;
    TqelXLSWorksheet& operator=(const TqelXLSWorksheet&) = delete;

    TqelXLSWorkbook* Workbook() const { return m_workbook; }
    const QString& Name() const { return m_name; }
    // Keeps the first 31 characters (never half a surrogate pair), then trims spaces.
    void SetName(const QString& name);

    // A new range over the inclusive rectangle, with the default look and no value. Indices
    // must not be negative; a rectangle given right-to-left or bottom-to-top is taken as the
    // single column or row of its first edge.
    TqelXLSRange& AddRange(int left, int top, int right, int bottom);
    // The column or row object with that index, created at the end of its list when missing.
    TqelXLSCol& ColAt(int index);
    TqelXLSRow& RowAt(int index);
    // A picture with zero offsets; with copy the sheet keeps its own copy of the picture.
    TqelImage& AddImage(int anchorColumn, int anchorRow, int endColumn, int endRow,
                        const QImage* picture, bool copy);
    // A break before the row, unless that row already has one.
    void AddPageBreak(int row);

    const XlsChunkedList<TqelXLSRange>& Ranges() const { return m_ranges; }
    const std::deque<TqelXLSCol>& Columns() const { return m_columns; }
    const std::deque<TqelXLSRow>& Rows() const { return m_rows; }
    // The row object of that index, or null when none was asked for.
    const TqelXLSRow* FindRow(int index) const;
    TqelXLSPageSetup& PageSetup() { return m_pageSetup; }
    const TqelXLSPageSetup& PageSetup() const { return m_pageSetup; }
    TqelImages& Images() { return m_images; }
    const TqelImages& Images() const { return m_images; }
    const QList<int>& PageBreaks() const { return m_pageBreaks; }
    const TqelXLSBounds& Bounds() const { return m_bounds; }

private:
    friend class TqelXLSRange;
    XlsTextStore& texts() { return m_texts; }
    size_t keepOtherValue(const QVariant& value);
    const QVariant& otherValue(size_t index) const { return m_otherValues[index]; }
    QString formula(const TqelXLSRange* range) const;
    void setFormula(const TqelXLSRange* range, const QString& formula);

    void widenColumns(int from, int to);
    void widenRows(int from, int to);

    TqelXLSWorkbook* m_workbook;
    QString m_name;
    XlsChunkedList<TqelXLSRange> m_ranges;
    XlsTextStore m_texts;
    std::deque<QVariant> m_otherValues;
    std::unordered_map<const TqelXLSRange*, QString> m_formulas;
    std::deque<TqelXLSCol> m_columns;
    std::deque<TqelXLSRow> m_rows;
    // Index -> position in the list, so ColAt and RowAt stay fast on sheets of many rows.
    std::unordered_map<int, size_t> m_columnIndex;
    std::unordered_map<int, size_t> m_rowIndex;
    TqelXLSPageSetup m_pageSetup;
    TqelImages m_images;
    QList<int> m_pageBreaks;
    TqelXLSBounds m_bounds;
};

} // namespace kestrane::xls
