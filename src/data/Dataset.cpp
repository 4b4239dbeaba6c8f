#include "data/Dataset.h"

#include "common/Error.h"
#include "data/Table.h"

#include <algorithm>
#include <cmath>

namespace kestrane {

namespace {
const std::vector<uint32_t> noRows;
}

Dataset::Dataset(QObject* parent) : QObject(parent) {}

Dataset::~Dataset() = default;

int Dataset::fieldIndex(QStringView name) const {
    return fieldIndexOf(fields(), name);
}

void Dataset::open() {
    if (isActive())
        return;
    doOpen();
    activeStateChanged();
}

void Dataset::close() {
    if (!isActive())
        return;
    doClose();
    activeStateChanged();
}

const std::vector<uint32_t>& Dataset::visibleRows() const {
    return isActive() ? rowsInView() : noRows;
}

Dataset::ColumnRef Dataset::columnRef(int field) const {
    if (!isActive() || field < 0 || field >= fieldCount())
        return {};
    return columnOf(field);
}

int Dataset::recordCount() const {
    return int(visibleRows().size());
}

void Dataset::first() {
    m_current = 0;
    m_eof = recordCount() == 0;
    m_bof = true;
}

void Dataset::next() {
    const int n = recordCount();
    m_bof = false;
    if (m_current + 1 < n) {
        ++m_current;
    } else {
        m_eof = true;
    }
}

void Dataset::prior() {
    m_eof = false;
    if (m_current > 0) {
        --m_current;
    } else {
        m_bof = true;
    }
    if (recordCount() == 0)
        m_eof = true;
}

void Dataset::last() {
    const int n = recordCount();
    m_current = n > 0 ? n - 1 : 0;
    m_eof = true;
    m_bof = n == 0;
}

bool Dataset::eof() const {
    return m_eof || recordCount() == 0;
}

bool Dataset::bof() const {
    return m_bof;
}

int Dataset::recNo() const {
    const int n = recordCount();
    return n == 0 ? -1 : std::min(m_current, n - 1);
}

void Dataset::setRecNo(int row) {
    const int n = recordCount();
    m_current = std::clamp(row, 0, std::max(n - 1, 0));
    m_eof = n == 0;
    m_bof = n == 0;
}

uint32_t Dataset::storageRowOf(int row) const {
    return visibleRows()[std::size_t(row)];
}

QVariant Dataset::fieldValue(QStringView name) const {
    const int field = fieldIndex(name);
    if (field < 0)
        throw Error(QStringLiteral("%1: field %2 not found")
                        .arg(objectName().isEmpty() ? QStringLiteral("dataset") : objectName(),
                             name.toString()));
    const int row = recNo();
    if (row < 0)
        return {};
    return value(row, field);
}

QString Dataset::fieldText(QStringView name) const {
    const int field = fieldIndex(name);
    if (field < 0)
        throw Error(QStringLiteral("%1: field %2 not found")
                        .arg(objectName().isEmpty() ? QStringLiteral("dataset") : objectName(),
                             name.toString()));
    const int row = recNo();
    if (row < 0)
        return {};
    return displayText(row, field);
}

bool Dataset::isNull(int row, int field) const {
    Q_ASSERT(row >= 0 && row < recordCount() && field >= 0 && field < fieldCount());
    const ColumnRef ref = columnOf(field);
    return !ref.table || ref.table->isNull(storageRowOf(row), ref.column);
}

QStringView Dataset::text(int row, int field) const {
    Q_ASSERT(row >= 0 && row < recordCount() && field >= 0 && field < fieldCount());
    const ColumnRef ref = columnOf(field);
    return ref.table ? ref.table->text(storageRowOf(row), ref.column) : QStringView();
}

double Dataset::number(int row, int field) const {
    Q_ASSERT(row >= 0 && row < recordCount() && field >= 0 && field < fieldCount());
    const ColumnRef ref = columnOf(field);
    return ref.table ? ref.table->number(storageRowOf(row), ref.column) : 0.0;
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount())
        throw Error(QStringLiteral("row %1, field %2 out of range (%3 rows, %4 fields)")
                        .arg(row)
                        .arg(field)
                        .arg(recordCount())
                        .arg(fieldCount()));
    const ColumnRef ref = columnOf(field);
    return ref.table ? ref.table->value(storageRowOf(row), ref.column) : QVariant();
}

QString Dataset::displayText(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount())
        throw Error(QStringLiteral("row %1, field %2 out of range (%3 rows, %4 fields)")
                        .arg(row)
                        .arg(field)
                        .arg(recordCount())
                        .arg(fieldCount()));
    const ColumnRef ref = columnOf(field);
    return ref.table ? ref.table->displayText(storageRowOf(row), ref.column) : QString();
}

void Dataset::setFilterText(const QString& text) {
    if (text == m_filterText)
        return;
    const bool applied = m_filtered && isActive();
    if (applied)
        applyFilter(text); // notifies
    m_filterText = text;
    if (!applied)
        Q_EMIT changed();
}

void Dataset::setFiltered(bool on) {
    if (on == m_filtered)
        return;
    if (isActive())
        applyFilter(on ? m_filterText : QString());
    m_filtered = on;
}

double Dataset::sum(int field) const {
    const ColumnRef ref = columnRef(field);
    if (!ref.table)
        return 0;
    const Table& t = *ref.table;
    const int c = ref.column;
    const uint64_t* nulls = t.nullBits(c);
    const std::vector<uint32_t>& rows = visibleRows();
    auto isNullRow = [nulls](uint32_t r) { return (nulls[r >> 6] >> (r & 63)) & 1u; };
    // Compensated (Neumaier) summation: a million amounts add up to the cent.
    double s = 0, comp = 0;
    auto add = [&s, &comp](double x) {
        const double t2 = s + x;
        if (std::abs(s) >= std::abs(x))
            comp += (s - t2) + x;
        else
            comp += (x - t2) + s;
        s = t2;
    };
    switch (t.columnType(c)) {
    case FieldType::Float: {
        const double* v = t.floats(c);
        for (uint32_t r : rows) {
            if (!isNullRow(r))
                add(v[r]);
        }
        break;
    }
    case FieldType::Integer: {
        const int64_t* v = t.integers(c);
        for (uint32_t r : rows) {
            if (!isNullRow(r))
                add(double(v[r]));
        }
        break;
    }
    case FieldType::Boolean: {
        const uint8_t* v = t.booleans(c);
        for (uint32_t r : rows) {
            if (!isNullRow(r))
                add(v[r]);
        }
        break;
    }
    default:
        return 0;
    }
    return s + comp;
}

void Dataset::rowsChanged() {
    first();
    Q_EMIT changed();
}

void Dataset::activeStateChanged() {
    first();
    Q_EMIT activeChanged(isActive());
    Q_EMIT changed();
}

} // namespace kestrane
