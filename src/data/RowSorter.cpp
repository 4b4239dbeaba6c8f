#include "data/RowSorter.h"

#include "common/Error.h"
#include "data/Table.h"
#include "data/TextCollation.h"

#include <algorithm>
#include <cstring>

namespace kestrane {

namespace {

// Every key value as an unsigned 64-bit number whose order is the value order.
uint64_t orderedInt(int64_t v) {
    return uint64_t(v) ^ (uint64_t(1) << 63);
}

uint64_t orderedFloat(double d) {
    // Total order of IEEE doubles: negative numbers reversed, positive ones above them.
    // NaN sorts after +infinity, so the comparison stays a strict weak order.
    if (d == 0)
        d = 0; // -0 and +0 are equal
    uint64_t bits = 0;
    std::memcpy(&bits, &d, 8);
    return (bits & (uint64_t(1) << 63)) ? ~bits : bits | (uint64_t(1) << 63);
}

struct KeyColumn {
    std::vector<uint64_t> values; // per table row
    const uint64_t* nulls = nullptr;
    bool descending = false;
    bool nullAware = false;
};

} // namespace

void RowSorter::sort(const Table& table, const std::vector<SortKey>& keys,
                     std::vector<uint32_t>& rows) {
    if (keys.empty() || rows.size() < 2)
        return;
    const std::size_t n = std::size_t(table.rowCount());
    std::vector<KeyColumn> cols(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const int c = keys[k].column;
        KeyColumn& kc = cols[k];
        kc.nulls = table.nullBits(c);
        kc.descending = keys[k].descending;
        kc.values.resize(n);
        switch (table.columnType(c)) {
        case FieldType::String:
        case FieldType::Memo: {
            const std::vector<uint32_t> ranks =
                TextCollation::ranks(table.dictionary(c), keys[k].caseInsensitive);
            const uint32_t* codes = table.codes(c);
            for (std::size_t r = 0; r < n; ++r)
                kc.values[r] = ranks.empty() ? 0 : ranks[codes[r]];
            break;
        }
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::DateTime: {
            const int64_t* v = table.integers(c);
            for (std::size_t r = 0; r < n; ++r)
                kc.values[r] = orderedInt(v[r]);
            break;
        }
        case FieldType::Float: {
            const double* v = table.floats(c);
            for (std::size_t r = 0; r < n; ++r)
                kc.values[r] = orderedFloat(v[r]);
            break;
        }
        case FieldType::Boolean: {
            const uint8_t* v = table.booleans(c);
            for (std::size_t r = 0; r < n; ++r)
                kc.values[r] = v[r];
            break;
        }
        }
    }
    // Fold nulls into the key where the values leave room: null becomes 0 and every value
    // moves up by one. A column holding the very top of the range (int64 max, some NaN
    // patterns) keeps its nulls apart and is compared with an explicit null test instead.
    for (KeyColumn& kc : cols) {
        bool roomForNull = true;
        for (std::size_t r = 0; r < n && roomForNull; ++r) {
            if (kc.values[r] == ~uint64_t(0) && !((kc.nulls[r >> 6] >> (r & 63)) & 1u))
                roomForNull = false;
        }
        kc.nullAware = !roomForNull;
        for (std::size_t r = 0; r < n; ++r) {
            uint64_t& v = kc.values[r];
            if (roomForNull)
                v = ((kc.nulls[r >> 6] >> (r & 63)) & 1u) ? 0 : v + 1;
            if (kc.descending)
                v = ~v;
        }
    }
    if (cols.size() == 1 && !cols[0].nullAware) {
        const uint64_t* v = cols[0].values.data();
        std::stable_sort(rows.begin(), rows.end(),
                         [v](uint32_t a, uint32_t b) { return v[a] < v[b]; });
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [&cols](uint32_t a, uint32_t b) {
        for (const KeyColumn& kc : cols) {
            if (kc.nullAware) {
                const bool na = (kc.nulls[a >> 6] >> (a & 63)) & 1u;
                const bool nb = (kc.nulls[b >> 6] >> (b & 63)) & 1u;
                if (na != nb)
                    return kc.descending ? nb : na; // null is the smallest value
                if (na)
                    continue;
            }
            const uint64_t x = kc.values[a], y = kc.values[b];
            if (x != y)
                return x < y;
        }
        return false;
    });
}

std::vector<SortKey> RowSorter::parseSortText(const QString& text, const QList<FieldDef>& fields) {
    std::vector<SortKey> keys;
    if (text.trimmed().isEmpty())
        return keys;
    const QStringList parts = text.split(u',');
    for (int i = 0; i < parts.size(); ++i) {
        QString part = parts[i].trimmed();
        if (part.isEmpty())
            throw Error(QStringLiteral("sort text \"%1\": item %2 is empty").arg(text).arg(i + 1));
        SortKey key;
        QString name = part;
        const qsizetype blank = part.lastIndexOf(u' ');
        if (blank > 0 && !part.endsWith(u']')) {
            const QString word = part.mid(blank + 1);
            if (word.compare(u"ASC", Qt::CaseInsensitive) == 0) {
                name = part.left(blank).trimmed();
            } else if (word.compare(u"DESC", Qt::CaseInsensitive) == 0) {
                name = part.left(blank).trimmed();
                key.descending = true;
            } else {
                throw Error(
                    QStringLiteral("sort text \"%1\": expected ASC or DESC after %2, found %3")
                        .arg(text, part.left(blank).trimmed(), word));
            }
        }
        if (name.startsWith(u'[') && name.endsWith(u']'))
            name = name.mid(1, name.size() - 2).trimmed();
        key.column = fieldIndexOf(fields, name);
        if (key.column < 0)
            throw Error(QStringLiteral("sort text \"%1\": unknown field %2").arg(text, name));
        keys.push_back(key);
    }
    return keys;
}

std::vector<SortKey> RowSorter::keysFromIndexFields(const QString& fields,
                                                    const QString& descendingFields,
                                                    bool caseInsensitive,
                                                    const QList<FieldDef>& fieldList) {
    std::vector<SortKey> keys;
    QList<int> desc;
    for (const QString& d : descendingFields.split(u';', Qt::SkipEmptyParts)) {
        const int c = fieldIndexOf(fieldList, d.trimmed());
        if (c < 0)
            throw Error(QStringLiteral("index: unknown descending field %1").arg(d.trimmed()));
        desc.append(c);
    }
    for (const QString& f : fields.split(u';', Qt::SkipEmptyParts)) {
        if (f.trimmed().isEmpty())
            continue;
        SortKey key;
        key.column = fieldIndexOf(fieldList, f.trimmed());
        if (key.column < 0)
            throw Error(QStringLiteral("index: unknown field %1").arg(f.trimmed()));
        key.descending = desc.contains(key.column);
        key.caseInsensitive = caseInsensitive;
        keys.push_back(key);
    }
    return keys;
}

} // namespace kestrane
