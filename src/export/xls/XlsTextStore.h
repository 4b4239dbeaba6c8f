#pragma once
// Keeps the cell texts of a sheet one after another in large blocks instead of one heap string
// per cell: a sheet of a million text cells then costs a few dozen block allocations, and a
// text is two words in its range. Stored texts never move and live as long as the store; a
// text that is replaced stays in its block until the sheet is freed.
#include "export/xls/XlsLargeBlock.h"

#include <QStringView>

#include <memory>
#include <vector>

namespace kestrane::xls {

class XlsTextStore {
public:
    static constexpr qsizetype BlockChars = 1024 * 1024; // 2 MiB: a large block

    XlsTextStore() = default;
    XlsTextStore(const XlsTextStore&) = delete;
    XlsTextStore& operator=(const XlsTextStore&) = delete;

    // A stored copy of the text in which every CR LF pair has become a single LF.
    QStringView storeWithLineFeeds(QStringView text);

private:
    char16_t* reserve(qsizetype chars);

    std::vector<std::unique_ptr<char16_t[], LargeBlockDeleter>> m_blocks;
    char16_t* m_free = nullptr;
    qsizetype m_room = 0;
};

} // namespace kestrane::xls
