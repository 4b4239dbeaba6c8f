#include "export/xls/TqelXLSWorkbook.h"

namespace kestrane::xls {

TqelXLSWorkbook::TqelXLSWorkbook() : m_defaultStyle(&keepStyle(TqelXLSStyle())) {}

const TqelXLSStyle& TqelXLSWorkbook::keepStyle(const TqelXLSStyle& style) {
    for (const TqelXLSStyle* recent : m_recentStyles)
        if (recent && (recent == &style || *recent == style))
            return *recent;
    const TqelXLSStyle* kept;
    if (auto it = m_styleLookup.find(style); it != m_styleLookup.end()) {
        kept = it->second;
    } else {
        kept = &m_styles.emplace_back(style);
        m_styleLookup.emplace(style, kept);
    }
    m_recentStyles[m_recentNext] = kept;
    m_recentNext = (m_recentNext + 1) % m_recentStyles.size();
    return *kept;
}

void TqelXLSWorkbook::SetTitle(const QString& title) {
    QString t = title.trimmed();
    qsizetype n = std::min<qsizetype>(t.size(), MaxTitleLength);
    if (n < t.size() && n > 0 && t.at(n - 1).isHighSurrogate())
        --n;
    m_title = t.left(n);
}

TqelXLSWorksheet& TqelXLSWorkbook::AddSheet() {
    const int number = SheetCount() + 1;
    m_sheets.push_back(std::make_unique<TqelXLSWorksheet>(this, number));
    return *m_sheets.back();
}

} // namespace kestrane::xls
