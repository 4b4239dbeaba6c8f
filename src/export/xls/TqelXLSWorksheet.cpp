#include "export/xls/TqelXLSWorksheet.h"

#include "common/Error.h"
#include "export/xls/TqelXLSWorkbook.h"

#include <algorithm>

namespace kestrane::xls {

namespace {
void requireIndex(int value, const char* what) {
    if (value < 0)
        throw Error(
            QStringLiteral("工作表的%1不能为负数: %2").arg(QString::fromLatin1(what)).arg(value));
}
} // namespace

TqelXLSWorksheet::TqelXLSWorksheet(TqelXLSWorkbook* workbook, int number)
    : m_workbook(workbook), m_name(QStringLiteral("Sheet") + QString::number(number)) {}

void TqelXLSWorksheet::SetName(const QString& name) {
    qsizetype n = std::min<qsizetype>(name.size(), MaxNameLength);
    if (n < name.size() && n > 0 && name.at(n - 1).isHighSurrogate())
        --n;
    m_name = name.left(n).trimmed();
}

TqelXLSRange& TqelXLSWorksheet::AddRange(int left, int top, int right, int bottom) {
    requireIndex(left, "column");
    requireIndex(top, "row");
    TqelXLSRect rect{left, top, std::max(left, right), std::max(top, bottom)};
    widenColumns(rect.left, rect.right);
    widenRows(rect.top, rect.bottom);
    return m_ranges.emplace_back(this, rect, &m_workbook->DefaultStyle());
}

size_t TqelXLSWorksheet::keepOtherValue(const QVariant& value) {
    m_otherValues.push_back(value);
    return m_otherValues.size() - 1;
}

QString TqelXLSWorksheet::formula(const TqelXLSRange* range) const {
    auto it = m_formulas.find(range);
    return it == m_formulas.end() ? QString() : it->second;
}

void TqelXLSWorksheet::setFormula(const TqelXLSRange* range, const QString& formula) {
    if (formula.isEmpty())
        m_formulas.erase(range);
    else
        m_formulas[range] = formula;
}

TqelXLSCol& TqelXLSWorksheet::ColAt(int index) {
    requireIndex(index, "column");
    auto it = m_columnIndex.find(index);
    if (it != m_columnIndex.end())
        return m_columns[it->second];
    m_columnIndex.emplace(index, m_columns.size());
    widenColumns(index, index);
    return m_columns.emplace_back(index);
}

TqelXLSRow& TqelXLSWorksheet::RowAt(int index) {
    requireIndex(index, "row");
    auto it = m_rowIndex.find(index);
    if (it != m_rowIndex.end())
        return m_rows[it->second];
    m_rowIndex.emplace(index, m_rows.size());
    widenRows(index, index);
    return m_rows.emplace_back(index);
}

const TqelXLSRow* TqelXLSWorksheet::FindRow(int index) const {
    auto it = m_rowIndex.find(index);
    return it == m_rowIndex.end() ? nullptr : &m_rows[it->second];
}

TqelImage& TqelXLSWorksheet::AddImage(int anchorColumn, int anchorRow, int endColumn, int endRow,
                                      const QImage* picture, bool copy) {
    requireIndex(anchorColumn, "column");
    requireIndex(anchorRow, "row");
    requireIndex(endColumn, "column");
    requireIndex(endRow, "row");
    return m_images.Add(anchorColumn, anchorRow, endColumn, endRow, picture, copy);
}

void TqelXLSWorksheet::AddPageBreak(int row) {
    requireIndex(row, "row");
    if (!m_pageBreaks.contains(row))
        m_pageBreaks.append(row);
}

void TqelXLSWorksheet::widenColumns(int from, int to) {
    if (m_bounds.minColumn < 0 || from < m_bounds.minColumn)
        m_bounds.minColumn = from;
    m_bounds.maxColumn = std::max(m_bounds.maxColumn, to);
}

void TqelXLSWorksheet::widenRows(int from, int to) {
    if (m_bounds.minRow < 0 || from < m_bounds.minRow)
        m_bounds.minRow = from;
    m_bounds.maxRow = std::max(m_bounds.maxRow, to);
}

} // namespace kestrane::xls
