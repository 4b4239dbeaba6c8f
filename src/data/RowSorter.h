#pragma once
// Ordering of rows by several fields. Sorting permutes row numbers; the rows stay where they
// are.
//
// Order of values:
//   - null comes before every value (so first in ascending, last in descending order);
//   - numbers (integer, float, boolean) and dates compare as numbers;
//   - texts compare with TextCollation: Chinese by pinyin, then the usual order of Latin
//     letters and digits (see TextCollation.h). With the case-insensitive option letters that
//     differ only in case are equal and fall back to the next key.
// The sort is stable: rows equal on all keys keep their previous relative order.
#include "data/FieldDef.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

namespace kestrane {

class Table;

struct SortKey {
    int column = 0;
    bool descending = false;
    bool caseInsensitive = false;
    friend bool operator==(const SortKey&, const SortKey&) = default;
};

class RowSorter {
public:
    // Stable sort of `rows` (row numbers of `table`) by `keys`.
    static void sort(const Table& table, const std::vector<SortKey>& keys,
                     std::vector<uint32_t>& rows);

    // "f_Bmbm ASC,f_Gjje DESC": comma-separated field names, each optionally followed by ASC
    // or DESC (any case); field names may be [bracketed]. An empty text gives no keys.
    // Throws kestrane::Error for an unknown field or a malformed text.
    static std::vector<SortKey> parseSortText(const QString& text, const QList<FieldDef>& fields);

    // Index fields "f_a;f_b" with descending fields "f_b" (both ";"-separated, case
    // ignored) and the index's case-insensitive option. Throws for an unknown field.
    static std::vector<SortKey> keysFromIndexFields(const QString& fields,
                                                    const QString& descendingFields,
                                                    bool caseInsensitive,
                                                    const QList<FieldDef>& fieldList);
};

} // namespace kestrane
