#pragma once
// The workbook model: a title and an ordered list of sheets, which it owns.
#include "export/xls/TqelXLSWorksheet.h"

#include <QString>

#include <array>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kestrane::xls {

class TqelXLSWorkbook {
public:
    static constexpr int MaxTitleLength = 66;

    TqelXLSWorkbook();
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

    // The look a new range starts with.
    const TqelXLSStyle& DefaultStyle() const { return *m_defaultStyle; }
    // The workbook's one copy of a look equal to `style`; it lives as long as the workbook.
    const TqelXLSStyle& keepStyle(const TqelXLSStyle& style);
    // The distinct looks kept so far, in the order they were first given.
    const std::deque<TqelXLSStyle>& Styles() const { return m_styles; }

private:
    std::deque<TqelXLSStyle> m_styles;
    std::unordered_map<TqelXLSStyle, const TqelXLSStyle*, TqelXLSStyleHash> m_styleLookup;
    // The last few looks given: producers repeat a few looks cell after cell.
    std::array<const TqelXLSStyle*, 4> m_recentStyles{};
    size_t m_recentNext = 0;
    const TqelXLSStyle* m_defaultStyle;
    QString m_title = QStringLiteral("qel_Report");
    std::vector<std::unique_ptr<TqelXLSWorksheet>> m_sheets;
};

} // namespace kestrane::xls
