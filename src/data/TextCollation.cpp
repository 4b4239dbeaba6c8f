#include "data/TextCollation.h"

#include "data/StringDictionary.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace kestrane {

std::vector<uint32_t> TextCollation::ranks(const StringDictionary& dict, bool caseInsensitive) {
    const uint32_t n = dict.size();
    std::vector<uint32_t> ranks(n, 0);
    if (n == 0)
        return ranks;
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    collator.setCaseSensitivity(caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);

    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    for (uint32_t code = 0; code < n; ++code)
        keys.push_back(collator.sortKey(dict.at(code).toString()));
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    // Ties under the collation (e.g. case with the case-insensitive option) are broken by
    // code-unit order, except that equal-under-collation texts share a rank.
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : a < b;
    });
    uint32_t rank = 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (i > 0 && keys[order[i - 1]].compare(keys[order[i]]) != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

} // namespace kestrane
