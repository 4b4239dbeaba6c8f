#include "data/RecordsetDataset.h"

#include "common/Error.h"

namespace kestrane {

namespace {
const std::vector<uint32_t> noRows;

// Whether a column can serve a fixed field as it is: the typed accessors of the grid and the
// report engine read texts from text columns and numbers from numeric ones.
bool servesAsIs(FieldType fixed, FieldType column) {
    if (isTextType(fixed) || isTextType(column))
        return isTextType(fixed) && isTextType(column);
    const bool fixedTime = fixed == FieldType::Date || fixed == FieldType::DateTime;
    const bool columnTime = column == FieldType::Date || column == FieldType::DateTime;
    return fixedTime == columnTime;
}
} // namespace

RecordsetDataset::RecordsetDataset(QObject* parent) : Dataset(parent) {}

RecordsetDataset::~RecordsetDataset() {
    if (m_recordset)
        m_recordset->unsubscribe(m_listener);
}

void RecordsetDataset::setFieldDefs(const QList<FieldDef>& fields) {
    m_fixed = fields;
    if (m_recordset) {
        matchColumns();
        rowsChanged();
    }
}

QList<FieldDef> RecordsetDataset::fields() const {
    if (!m_fixed.isEmpty())
        return m_fixed;
    return m_recordset ? m_recordset->fields() : QList<FieldDef>();
}

void RecordsetDataset::createDataSet() {
    setRecordset(std::make_shared<Recordset>(m_fixed));
}

void RecordsetDataset::setRecordset(std::shared_ptr<Recordset> recordset) {
    if (!recordset) {
        close();
        return;
    }
    try {
        attach(std::move(recordset));
    } catch (...) {
        if (m_recordset) {
            detach();
        }
        activeStateChanged();
        throw;
    }
    activeStateChanged();
}

void RecordsetDataset::attach(std::shared_ptr<Recordset> recordset) {
    if (m_recordset)
        detach();
    // Check what we are about to give the recordset before touching it.
    const QString filter = effectiveFilter();
    if (!filter.isEmpty())
        FilterExpression::parse(filter, recordset->fields());
    if (!m_indexFields.trimmed().isEmpty())
        RowSorter::parseSortText(indexSortText(), recordset->fields());

    m_recordset = std::move(recordset);
    m_listener = m_recordset->subscribe([this] {
        if (m_recordset->generation() != m_generation)
            matchColumns();
        rowsChanged();
    });
    matchColumns();
    if (!filter.isEmpty())
        m_recordset->setFilter(filter);
    if (!m_indexFields.trimmed().isEmpty())
        m_recordset->setSort(indexSortText());
}

void RecordsetDataset::detach() {
    if (m_recordset)
        m_recordset->unsubscribe(m_listener);
    m_listener = 0;
    m_recordset.reset();
    m_refs.clear();
    m_converted = Table();
}

void RecordsetDataset::matchColumns() {
    m_refs.clear();
    m_converted = Table();
    if (!m_recordset)
        return;
    m_generation = m_recordset->generation();
    const Table& t = m_recordset->table();
    if (m_fixed.isEmpty()) {
        for (int c = 0; c < t.columnCount(); ++c)
            m_refs.push_back({&t, c});
        return;
    }
    QList<FieldDef> convertedDefs;
    std::vector<std::pair<int, int>> converted; // (field, source column)
    m_refs.resize(std::size_t(m_fixed.size()));
    for (int i = 0; i < m_fixed.size(); ++i) {
        const int c = t.columnIndex(m_fixed[i].name);
        if (c < 0)
            continue; // no column: null in every row
        if (servesAsIs(m_fixed[i].type, t.columnType(c))) {
            m_refs[std::size_t(i)] = {&t, c};
        } else {
            converted.emplace_back(i, c);
            convertedDefs.append(m_fixed[i]);
        }
    }
    if (converted.empty())
        return;
    // Rare: the host's column is of another kind than the view declares. Convert once.
    m_converted = Table(convertedDefs);
    m_converted.reserve(t.rowCount());
    for (qsizetype r = 0; r < t.rowCount(); ++r) {
        m_converted.appendRow();
        for (std::size_t k = 0; k < converted.size(); ++k)
            m_converted.trySetValue(r, int(k), t.value(r, converted[k].second));
    }
    m_converted.squeeze();
    for (std::size_t k = 0; k < converted.size(); ++k)
        m_refs[std::size_t(converted[k].first)] = {&m_converted, int(k)};
}

QString RecordsetDataset::sort() const {
    return m_recordset ? m_recordset->sort() : QString();
}

void RecordsetDataset::setSort(const QString& text) {
    if (!m_recordset)
        throw Error(QStringLiteral("%1: cannot sort a closed dataset")
                        .arg(objectName().isEmpty() ? QStringLiteral("dataset") : objectName()));
    m_recordset->setSort(text);
}

QString RecordsetDataset::indexSortText() const {
    QStringList parts;
    for (const QString& f : m_indexFields.split(u';', Qt::SkipEmptyParts)) {
        if (!f.trimmed().isEmpty())
            parts.append(f.trimmed() + QStringLiteral(" ASC"));
    }
    return parts.join(u',');
}

void RecordsetDataset::setIndexFieldNames(const QString& fields) {
    const QString old = m_indexFields;
    m_indexFields = fields;
    if (!m_recordset)
        return;
    try {
        m_recordset->setSort(indexSortText());
    } catch (...) {
        m_indexFields = old;
        throw;
    }
}

QStringList RecordsetDataset::missingFields() const {
    QStringList missing;
    if (!m_recordset)
        return missing;
    for (int i = 0; i < m_fixed.size() && std::size_t(i) < m_refs.size(); ++i) {
        if (!m_refs[std::size_t(i)].table)
            missing.append(m_fixed[i].name);
    }
    return missing;
}

const std::vector<uint32_t>& RecordsetDataset::rowsInView() const {
    return m_recordset ? m_recordset->rows() : noRows;
}

Dataset::ColumnRef RecordsetDataset::columnOf(int field) const {
    if (field < 0 || std::size_t(field) >= m_refs.size())
        return {};
    return m_refs[std::size_t(field)];
}

void RecordsetDataset::applyFilter(const QString& text) {
    m_recordset->setFilter(text);
}

void RecordsetDataset::doOpen() {
    attach(std::make_shared<Recordset>(m_fixed));
}

void RecordsetDataset::doClose() {
    detach();
}

} // namespace kestrane
