#include "report/TRMEMFPages.h"

#include "common/Error.h"
#include "report/TRMPage.h"
#include "report/TRMPreparedReport.h"

namespace kestrane::report {

void TRMEMFPages::Clear() {
    m_pages.clear();
    Backgrounds.clear();
}

std::unique_ptr<TRMPage> TRMEMFPages::unpackPage(int index) const {
    if (index < 0 || index >= m_pages.size())
        throw Error(QStringLiteral("prepared page %1 does not exist").arg(index + 1));
    auto page = std::make_unique<TRMPage>();
    const TRMEMFPage& p = m_pages[index];
    page->Size = p.PaperCode;
    page->PaperWidth = p.PaperWidth;
    page->PaperHeight = p.PaperHeight;
    page->Orientation = p.Orientation;
    page->PaperSource = p.PaperSource;
    page->LeftMargin = p.LeftMargin;
    page->TopMargin = p.TopMargin;
    page->RightMargin = p.RightMargin;
    page->BottomMargin = p.BottomMargin;
    page->Visible = p.Visible;
    TRMPreparedReport::readPageStream(p.Stream, *page,
                                      QStringLiteral("prepared page %1").arg(index + 1));
    return page;
}

} // namespace kestrane::report
