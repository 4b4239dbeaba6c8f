#include "data/MemTable.h"

#include "common/Error.h"
#include "data/DataPacket.h"
#include "data/ValueText.h"

namespace kestrane {

MemTable::MemTable(QObject* parent) : Dataset(parent) {
    m_view.reset(nullptr);
}

MemTable::~MemTable() = default;

void MemTable::setFieldDefs(const QList<FieldDef>& fields) {
    close();
    m_fieldDefs = fields;
}

QList<FieldDef> MemTable::fields() const {
    return m_active ? m_table.fields() : m_fieldDefs;
}

const std::vector<uint32_t>& MemTable::rowsInView() const {
    return m_view.rows();
}

Dataset::ColumnRef MemTable::columnOf(int field) const {
    return {&m_table, field};
}

void MemTable::createDataSet() {
    const bool wasActive = m_active;
    replaceContent(Table(m_fieldDefs));
    if (!wasActive)
        activeStateChanged();
    else
        rowsChanged();
}

void MemTable::loadPacket(const QVariant& packet) {
    setData(decodePacket(packet));
}

void MemTable::loadPacket(QByteArrayView packet) {
    setData(decodePacket(packet));
}

void MemTable::setData(Table table) {
    const bool wasActive = m_active;
    replaceContent(std::move(table));
    if (!wasActive)
        activeStateChanged();
    else
        rowsChanged();
}

void MemTable::replaceContent(Table&& table) {
    // Work out everything that can fail before touching the current content.
    const QList<FieldDef> fields = table.fields();
    FilterExpression filter = FilterExpression::parse(effectiveFilter(), fields);
    QList<IndexDef> indexes;
    QString indexName;
    std::vector<SortKey> order;
    for (const IndexDef& def : m_indexes) {
        try {
            std::vector<SortKey> keys = RowSorter::keysFromIndexFields(
                def.fields, def.descendingFields, def.caseInsensitive, fields);
            indexes.append(def);
            if (def.name.compare(m_indexName, Qt::CaseInsensitive) == 0) {
                indexName = def.name;
                order = std::move(keys);
            }
        } catch (const Error&) {
            // The index names fields the new content does not have: it goes.
        }
    }
    table.squeeze();
    m_table = std::move(table);
    m_fieldDefs = fields;
    m_indexes = indexes;
    m_indexName = indexName;
    m_active = true;
    m_view.reset(&m_table);
    m_view.setOrder(std::move(order));
    m_view.setFilter(std::move(filter));
}

QByteArray MemTable::packet() const {
    return encodePacket(m_table);
}

void MemTable::appendRecord(const QVariantList& values) {
    if (!m_active)
        throw Error(QStringLiteral("%1: cannot append to a closed table")
                        .arg(objectName().isEmpty() ? QStringLiteral("table") : objectName()));
    m_table.appendRow(values);
    m_view.rowsAppended();
    rowsChanged();
}

void MemTable::doOpen() {
    // Opening a table that holds nothing yet gives an empty table of the declared fields.
    replaceContent(Table(m_fieldDefs));
}

void MemTable::doClose() {
    m_active = false;
    m_table = Table();
    m_view.reset(nullptr);
}

void MemTable::applyFilter(const QString& text) {
    FilterExpression filter = FilterExpression::parse(text, m_table.fields());
    m_view.setFilter(std::move(filter));
    rowsChanged();
}

bool MemTable::locate(QStringView field, const QVariant& key, LocateOptions options) {
    const int column = fieldIndex(field);
    if (column < 0)
        throw Error(QStringLiteral("%1: field %2 not found")
                        .arg(objectName().isEmpty() ? QStringLiteral("table") : objectName(),
                             field.toString()));
    if (!m_active)
        return false;
    const bool keyNull = !key.isValid() || key.isNull();
    const QString keyText = keyNull ? QString() : key.toString();
    const Qt::CaseSensitivity cs =
        options.testFlag(LocateCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool partial = options.testFlag(LocatePartialKey);
    const std::vector<uint32_t>& rows = m_view.rows();
    const bool text = isTextType(m_table.columnType(column));

    auto matches = [&](QStringView value) {
        return partial ? value.startsWith(keyText, cs) : value.compare(keyText, cs) == 0;
    };
    // A whole-value key for a number or date field is read as a value of that field, so that
    // 5, "5" and "5.0" all find 5, and "2005-01-31" finds that date.
    Table probe({{QStringLiteral("key"), QString(), m_table.columnType(column)}});
    bool probeValid = false;
    if (!text && !partial && !keyNull) {
        probe.appendRow();
        probeValid = probe.trySetValue(0, 0, key);
        if (!probeValid)
            return false;
    }
    auto sameValue = [&](uint32_t r) {
        switch (m_table.columnType(column)) {
        case FieldType::Float:
            return m_table.floats(column)[r] == probe.floats(0)[0];
        case FieldType::Boolean:
            return m_table.booleans(column)[r] == probe.booleans(0)[0];
        default:
            return m_table.integers(column)[r] == probe.integers(0)[0];
        }
    };
    std::vector<uint8_t> verdict;
    if (text && !keyNull) {
        // Decide once per distinct text.
        const StringDictionary& dict = m_table.dictionary(column);
        verdict.resize(dict.size());
        for (uint32_t code = 0; code < dict.size(); ++code)
            verdict[code] = matches(dict.at(code));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const uint32_t r = rows[i];
        const bool null = m_table.isNull(r, column);
        bool hit = false;
        if (keyNull || null)
            hit = keyNull && null;
        else if (text)
            hit = verdict[m_table.codes(column)[r]] != 0;
        else if (probeValid)
            hit = sameValue(r);
        else
            hit = matches(m_table.displayText(r, column));
        if (hit) {
            setRecNo(int(i));
            return true;
        }
    }
    return false;
}

std::vector<SortKey> MemTable::keysOf(const IndexDef& def) const {
    return RowSorter::keysFromIndexFields(def.fields, def.descendingFields, def.caseInsensitive,
                                          fields());
}

void MemTable::addIndex(const QString& name, const QString& fieldNames,
                        const QString& descendingFields, bool caseInsensitive) {
    if (name.trimmed().isEmpty())
        throw Error(QStringLiteral("an index needs a name"));
    for (const IndexDef& def : m_indexes) {
        if (def.name.compare(name, Qt::CaseInsensitive) == 0)
            throw Error(QStringLiteral("index %1 already exists").arg(name));
    }
    IndexDef def{name, fieldNames, descendingFields, caseInsensitive};
    if (keysOf(def).empty())
        throw Error(QStringLiteral("index %1 names no fields").arg(name));
    m_indexes.append(def);
}

bool MemTable::deleteIndex(const QString& name) {
    bool removed = false;
    for (qsizetype i = m_indexes.size() - 1; i >= 0; --i) {
        if (m_indexes[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            m_indexes.removeAt(i);
            removed = true;
        }
    }
    if (removed && m_indexName.compare(name, Qt::CaseInsensitive) == 0) {
        m_indexName.clear();
        if (m_active) {
            m_view.setOrder({});
            rowsChanged();
        }
    }
    return removed;
}

void MemTable::setIndexName(const QString& name) {
    std::vector<SortKey> keys;
    QString found;
    if (!name.isEmpty()) {
        const IndexDef* def = nullptr;
        for (const IndexDef& d : m_indexes) {
            if (d.name.compare(name, Qt::CaseInsensitive) == 0)
                def = &d;
        }
        if (!def)
            throw Error(QStringLiteral("index %1 not found").arg(name));
        keys = keysOf(*def);
        found = def->name;
    }
    m_indexName = found;
    if (m_active) {
        m_view.setOrder(std::move(keys));
        rowsChanged();
    }
}

} // namespace kestrane
