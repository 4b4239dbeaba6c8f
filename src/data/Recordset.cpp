#include "data/Recordset.h"

#include "common/Error.h"

namespace kestrane {

Recordset::Recordset(const QList<FieldDef>& fields) : m_table(fields) {
    m_view.reset(&m_table);
}

Recordset::Recordset(Table table) : m_table(std::move(table)) {
    m_table.squeeze();
    m_view.reset(&m_table);
}

void Recordset::setTable(Table table) {
    // Keep filter and sort when they still make sense for the new fields.
    FilterExpression filter;
    std::vector<SortKey> keys;
    QString sortText;
    try {
        filter = FilterExpression::parse(m_view.filter().text(), table.fields());
    } catch (const Error&) {
    }
    try {
        keys = RowSorter::parseSortText(m_sortText, table.fields());
        sortText = m_sortText;
    } catch (const Error&) {
    }
    table.squeeze();
    m_table = std::move(table);
    m_sortText = sortText;
    m_view.reset(&m_table);
    m_view.setOrder(std::move(keys));
    m_view.setFilter(std::move(filter));
    ++m_generation;
    notify();
}

void Recordset::appendRow(const QVariantList& values) {
    m_table.appendRow(values);
    m_view.rowsAppended();
    ++m_generation;
    notify();
}

void Recordset::setFilter(const QString& text) {
    FilterExpression filter = FilterExpression::parse(text, m_table.fields());
    m_view.setFilter(std::move(filter));
    notify();
}

void Recordset::setSort(const QString& text) {
    std::vector<SortKey> keys = RowSorter::parseSortText(text, m_table.fields());
    m_sortText = text;
    m_view.setOrder(std::move(keys));
    notify();
}

int Recordset::subscribe(std::function<void()> listener) {
    const int handle = m_nextHandle++;
    m_listeners.emplace(handle, std::move(listener));
    return handle;
}

void Recordset::unsubscribe(int handle) {
    m_listeners.erase(handle);
}

void Recordset::notify() {
    // A listener may unsubscribe (a dataset closing in its handler): walk a copy of the keys.
    std::vector<int> handles;
    for (const auto& [h, l] : m_listeners)
        handles.push_back(h);
    for (int h : handles) {
        const auto it = m_listeners.find(h);
        if (it != m_listeners.end())
            it->second();
    }
}

} // namespace kestrane
