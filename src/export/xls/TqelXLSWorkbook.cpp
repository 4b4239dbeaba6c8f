#include "export/xls/TqelXLSWorkbook.h"

namespace kestrane::xls {

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
