#pragma once
// The rows of a table that a filter lets through, in the order of the current sort: a
// selection vector of row numbers. MemTable keeps one per table; a Recordset keeps one that
// every dataset attached to it shares.
#include "data/FilterExpression.h"
#include "data/RowSorter.h"

#include <cstdint>
#include <vector>

namespace kestrane {

class Table;

class RowView {
public:
    // Start over on `table` (may be null): no filter, no order, all rows.
    void reset(const Table* table);
    // Replace the filter (the empty expression shows all rows).
    void setFilter(FilterExpression filter);
    // Replace the order (no keys: table order).
    void setOrder(std::vector<SortKey> keys);
    // Recompute after the table's rows changed.
    void refresh();
    // Rows were appended at the end of the table: without order and filter they are added at
    // once; otherwise everything is recomputed (so build large tables before sorting them).
    void rowsAppended();

    const FilterExpression& filter() const { return m_filter; }
    const std::vector<SortKey>& order() const { return m_keys; }
    // The visible rows, in order.
    const std::vector<uint32_t>& rows() const { return m_rows; }

private:
    void rebuild();

    const Table* m_table = nullptr;
    FilterExpression m_filter;
    std::vector<SortKey> m_keys;
    std::vector<uint32_t> m_sorted; // all rows in key order; empty when there are no keys
    std::vector<uint64_t> m_pass;   // filter bitset; empty when there is no filter
    std::vector<uint32_t> m_rows;
};

} // namespace kestrane
