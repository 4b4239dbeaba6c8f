#pragma once
// How texts are ordered when users sort a column.
//
// Collation: ICU through QCollator for the locale zh_CN, which orders Chinese characters by
// their pinyin (the order a Chinese user expects from a sorted list of names), and orders
// digits before Latin letters, letters alphabetically with lower case before upper case only
// as a last tie-break (or not at all with the case-insensitive option). Numeric mode is off:
// codes such as "0101" and "101" are texts and sort character by character.
// Should ICU's zh_CN data be missing, QCollator falls back to the root collation, which still
// gives a stable total order.
//
// Texts of a column are ranked once per distinct value of its dictionary (so a million rows of
// a few thousand names cost a few thousand collation keys), and the rows are then sorted by
// integer rank.
#include <cstdint>
#include <vector>

namespace kestrane {

class StringDictionary;

class TextCollation {
public:
    // Rank of every code of `dict`: equal texts under the collation get equal ranks, and
    // rank order is collation order. Ranks run 0..(number of distinct ranks - 1).
    static std::vector<uint32_t> ranks(const StringDictionary& dict, bool caseInsensitive);
};

} // namespace kestrane
