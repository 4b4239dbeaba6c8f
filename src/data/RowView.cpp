#include "data/RowView.h"

#include "data/Table.h"

#include <numeric>

namespace kestrane {

void RowView::reset(const Table* table) {
    m_table = table;
    m_filter = FilterExpression();
    m_keys.clear();
    refresh();
}

void RowView::setFilter(FilterExpression filter) {
    m_filter = std::move(filter);
    m_pass = m_table && !m_filter.isEmpty() ? m_filter.evaluate(*m_table) : std::vector<uint64_t>();
    rebuild();
}

void RowView::setOrder(std::vector<SortKey> keys) {
    m_keys = std::move(keys);
    m_sorted.clear();
    if (m_table && !m_keys.empty()) {
        m_sorted.resize(std::size_t(m_table->rowCount()));
        std::iota(m_sorted.begin(), m_sorted.end(), 0u);
        RowSorter::sort(*m_table, m_keys, m_sorted);
    }
    rebuild();
}

void RowView::refresh() {
    setOrder(m_keys);
    setFilter(m_filter);
}

void RowView::rowsAppended() {
    if (!m_table)
        return;
    if (!m_keys.empty() || !m_filter.isEmpty()) {
        refresh();
        return;
    }
    for (std::size_t r = m_rows.size(); r < std::size_t(m_table->rowCount()); ++r)
        m_rows.push_back(uint32_t(r));
}

void RowView::rebuild() {
    m_rows.clear();
    if (!m_table)
        return;
    const std::size_t n = std::size_t(m_table->rowCount());
    const bool filtered = !m_pass.empty();
    auto passes = [this](uint32_t r) { return ((m_pass[r >> 6] >> (r & 63)) & 1u) != 0; };
    if (!m_keys.empty()) {
        if (!filtered) {
            m_rows = m_sorted;
            return;
        }
        m_rows.reserve(n);
        for (uint32_t r : m_sorted) {
            if (passes(r))
                m_rows.push_back(r);
        }
        return;
    }
    if (!filtered) {
        m_rows.resize(n);
        std::iota(m_rows.begin(), m_rows.end(), 0u);
        return;
    }
    for (std::size_t w = 0; w < m_pass.size(); ++w) {
        uint64_t bits = m_pass[w];
        while (bits) {
            const int b = __builtin_ctzll(bits);
            m_rows.push_back(uint32_t(w * 64 + std::size_t(b)));
            bits &= bits - 1;
        }
    }
}

} // namespace kestrane
