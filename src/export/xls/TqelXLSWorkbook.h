#pragma once
// The workbook model: a title and an ordered list of sheets, which it owns.
#include "export/xls/TqelXLSWorksheet.h"

#include <QString>

#include <memory>
#include <vector>

namespace kestrane::xls {

class TqelXLSWorkbook {
public:
    static constexpr int MaxTitleLength = 66;

    TqelXLSWorkbook() = default;
    TqelXLSWorkbook(const TqelXLSWorkbook&) = delete;
    TqelXLSWorkbook& operator=(const TqelXLSWorkbook&) = delete;

    const QString& Title() const { return m_title; }
    // Trims spaces at both ends and keeps at most 66 characters.
    void SetTitle(const QString& title);

    TqelXLSWorksheet& AddSheet();
    void Clear() { m_sheets.clear(); }
    int SheetCount() const { return static_cast<int>(m_sheets.size()); }
    TqelXLSWorksheet& Sheet(int i) { return *m_sheets.at(static_cast<size_t>(i)); }
    const TqelXLSWorksheet& Sheet(int i) const { return *m_sheets.at(static_cast<size_t>(i)); }

private:
    QString m_title = QStringLiteral("qel_Report");
    std::vector<std::unique_ptr<TqelXLSWorksheet>> m_sheets;
};

} // namespace kestrane::xls
