#include "data/Table.h"

#include "common/Error.h"
#include "data/ValueText.h"

#include <cmath>
#include <limits>

namespace kestrane {

Table::Table(const QList<FieldDef>& fields) : m_fields(fields) {
    m_columns.resize(std::size_t(fields.size()));
    for (std::size_t c = 0; c < m_columns.size(); ++c)
        m_columns[c].type = fields[qsizetype(c)].type;
}

int Table::columnIndex(QStringView name) const {
    return fieldIndexOf(m_fields, name);
}

void Table::reserve(qsizetype rows) {
    const std::size_t n = std::size_t(std::max<qsizetype>(rows, 0));
    for (Column& col : m_columns) {
        col.nulls.reserve((n + 63) / 64);
        switch (col.type) {
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::DateTime:
            col.i64.reserve(n);
            break;
        case FieldType::Float:
            col.f64.reserve(n);
            break;
        case FieldType::Boolean:
            col.b8.reserve(n);
            break;
        case FieldType::String:
        case FieldType::Memo:
            col.codes.reserve(n);
            break;
        }
    }
}

qsizetype Table::appendRow() {
    if (m_rows >= std::numeric_limits<int32_t>::max())
        throw Error(QStringLiteral("table full: at most 2147483647 rows"));
    const qsizetype row = m_rows;
    const bool newWord = (row & 63) == 0;
    for (Column& col : m_columns) {
        if (newWord)
            col.nulls.push_back(0);
        col.nulls.back() |= uint64_t(1) << (row & 63);
        switch (col.type) {
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::DateTime:
            col.i64.push_back(0);
            break;
        case FieldType::Float:
            col.f64.push_back(0);
            break;
        case FieldType::Boolean:
            col.b8.push_back(0);
            break;
        case FieldType::String:
        case FieldType::Memo:
            col.codes.push_back(0);
            break;
        }
    }
    ++m_rows;
    return row;
}

qsizetype Table::appendRow(const QVariantList& values) {
    if (values.size() > columnCount())
        throw Error(QStringLiteral("row of %1 values for a table of %2 columns")
                        .arg(values.size())
                        .arg(columnCount()));
    const qsizetype row = appendRow();
    try {
        for (int c = 0; c < values.size(); ++c)
            setValue(row, c, values[c]);
    } catch (...) {
        // Leave the table as it was: drop the half-filled row.
        --m_rows;
        for (Column& col : m_columns) {
            if ((m_rows & 63) == 0)
                col.nulls.pop_back();
            if (!col.i64.empty() && col.i64.size() > std::size_t(m_rows))
                col.i64.pop_back();
            if (col.f64.size() > std::size_t(m_rows))
                col.f64.pop_back();
            if (col.b8.size() > std::size_t(m_rows))
                col.b8.pop_back();
            if (col.codes.size() > std::size_t(m_rows))
                col.codes.pop_back();
        }
        throw;
    }
    return row;
}

void Table::checkCell(qsizetype row, int column) const {
    if (column < 0 || column >= columnCount())
        throw Error(
            QStringLiteral("column %1 out of range (%2 columns)").arg(column).arg(columnCount()));
    if (row < 0 || row >= m_rows)
        throw Error(QStringLiteral("row %1 out of range (%2 rows)").arg(row).arg(m_rows));
}

void Table::setNull(qsizetype row, int column) {
    checkCell(row, column);
    m_columns[column].nulls[std::size_t(row) >> 6] |= uint64_t(1) << (row & 63);
}

void Table::setText(qsizetype row, int column, QStringView text) {
    Q_ASSERT(isTextType(m_columns[column].type));
    Column& col = m_columns[column];
    col.codes[std::size_t(row)] = col.dict.intern(text);
    clearNull(row, column);
}

void Table::setInteger(qsizetype row, int column, int64_t value) {
    Q_ASSERT(m_columns[column].type == FieldType::Integer);
    m_columns[column].i64[std::size_t(row)] = value;
    clearNull(row, column);
}

void Table::setFloat(qsizetype row, int column, double value) {
    Q_ASSERT(m_columns[column].type == FieldType::Float);
    m_columns[column].f64[std::size_t(row)] = value;
    clearNull(row, column);
}

void Table::setBoolean(qsizetype row, int column, bool value) {
    Q_ASSERT(m_columns[column].type == FieldType::Boolean);
    m_columns[column].b8[std::size_t(row)] = value ? 1 : 0;
    clearNull(row, column);
}

void Table::setDate(qsizetype row, int column, QDate value) {
    Q_ASSERT(m_columns[column].type == FieldType::Date);
    if (!value.isValid()) {
        setNull(row, column);
        return;
    }
    m_columns[column].i64[std::size_t(row)] = value.toJulianDay();
    clearNull(row, column);
}

void Table::setDateTime(qsizetype row, int column, const QDateTime& value) {
    Q_ASSERT(m_columns[column].type == FieldType::DateTime);
    if (!value.isValid()) {
        setNull(row, column);
        return;
    }
    m_columns[column].i64[std::size_t(row)] = ValueText::toMsecs(value);
    clearNull(row, column);
}

namespace {
bool isNumberVariant(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}
} // namespace

bool Table::trySetValue(qsizetype row, int column, const QVariant& value) {
    checkCell(row, column);
    if (!value.isValid() || value.isNull()) {
        setNull(row, column);
        return true;
    }
    const int id = value.typeId();
    const bool isText =
        id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
    switch (m_columns[column].type) {
    case FieldType::String:
    case FieldType::Memo: {
        if (id == QMetaType::QString) {
            setText(row, column, value.toString());
            return true;
        }
        if (id == QMetaType::Double || id == QMetaType::Float) {
            char16_t buf[64];
            const int n = ValueText::formatFloat(value.toDouble(), buf);
            setText(row, column, QStringView(buf, n));
            return true;
        }
        if (id == QMetaType::QDateTime) {
            char16_t buf[64];
            const int n = ValueText::formatDateTime(ValueText::toMsecs(value.toDateTime()), buf);
            setText(row, column, QStringView(buf, n));
            return true;
        }
        if (!value.canConvert<QString>())
            break;
        setText(row, column, value.toString());
        return true;
    }
    case FieldType::Integer: {
        int64_t v = 0;
        if (id == QMetaType::Bool) {
            v = value.toBool() ? 1 : 0;
        } else if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = value.toDouble();
            if (!(d == std::floor(d) && d >= -9.2233720368547758e18 && d < 9.2233720368547758e18))
                break;
            v = int64_t(d);
        } else if (isNumberVariant(value)) {
            if (id == QMetaType::ULongLong && value.toULongLong() > uint64_t(INT64_MAX))
                break;
            v = value.toLongLong();
        } else if (!(isText && ValueText::parseInteger(value.toString(), v))) {
            break;
        }
        setInteger(row, column, v);
        return true;
    }
    case FieldType::Float: {
        double d = 0;
        if (id == QMetaType::Bool)
            d = value.toBool() ? 1 : 0;
        else if (isNumberVariant(value))
            d = value.toDouble();
        else if (!(isText && ValueText::parseNumber(value.toString(), d)))
            break;
        setFloat(row, column, d);
        return true;
    }
    case FieldType::Boolean: {
        bool b = false;
        if (id == QMetaType::Bool)
            b = value.toBool();
        else if (isNumberVariant(value))
            b = value.toDouble() != 0;
        else if (!(isText && ValueText::parseBoolean(value.toString(), b)))
            break;
        setBoolean(row, column, b);
        return true;
    }
    case FieldType::Date: {
        QDate d;
        if (id == QMetaType::QDate)
            d = value.toDate();
        else if (id == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else if (!(isText && ValueText::parseDate(value.toString(), d)))
            break;
        if (!d.isValid())
            break;
        setDate(row, column, d);
        return true;
    }
    case FieldType::DateTime: {
        int64_t ms = 0;
        if (id == QMetaType::QDateTime) {
            if (!value.toDateTime().isValid())
                break;
            ms = ValueText::toMsecs(value.toDateTime());
        } else if (id == QMetaType::QDate) {
            if (!value.toDate().isValid())
                break;
            ms = ValueText::toMsecs(QDateTime(value.toDate(), QTime(0, 0)));
        } else if (!(isText && ValueText::parseDateTime(value.toString(), ms))) {
            break;
        }
        m_columns[column].i64[std::size_t(row)] = ms;
        clearNull(row, column);
        return true;
    }
    }
    setNull(row, column);
    return false;
}

void Table::setValue(qsizetype row, int column, const QVariant& value) {
    if (!trySetValue(row, column, value))
        throw Error(QStringLiteral("field %1: cannot store %2 value \"%3\" in a %4 field")
                        .arg(m_fields[column].name, QString::fromLatin1(value.typeName()),
                             value.toString().left(40), fieldTypeName(columnType(column))));
}

void Table::clear() {
    for (Column& col : m_columns) {
        col.nulls.clear();
        col.i64.clear();
        col.f64.clear();
        col.b8.clear();
        col.codes.clear();
        col.dict.clear();
    }
    m_rows = 0;
}

void Table::squeeze() {
    for (Column& col : m_columns) {
        col.nulls.shrink_to_fit();
        col.i64.shrink_to_fit();
        col.f64.shrink_to_fit();
        col.b8.shrink_to_fit();
        col.codes.shrink_to_fit();
        col.dict.squeeze();
    }
}

QStringView Table::text(qsizetype row, int column) const {
    const Column& col = m_columns[column];
    if (!isTextType(col.type) || isNull(row, column))
        return {};
    return col.dict.at(col.codes[std::size_t(row)]);
}

double Table::number(qsizetype row, int column) const {
    if (isNull(row, column))
        return 0;
    const Column& col = m_columns[column];
    switch (col.type) {
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::DateTime:
        return double(col.i64[std::size_t(row)]);
    case FieldType::Float:
        return col.f64[std::size_t(row)];
    case FieldType::Boolean:
        return col.b8[std::size_t(row)];
    case FieldType::String:
    case FieldType::Memo: {
        double d = 0;
        return ValueText::parseNumber(col.dict.at(col.codes[std::size_t(row)]), d) ? d : 0;
    }
    }
    return 0;
}

int64_t Table::integer(qsizetype row, int column) const {
    if (isNull(row, column))
        return 0;
    const Column& col = m_columns[column];
    switch (col.type) {
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::DateTime:
        return col.i64[std::size_t(row)];
    case FieldType::Boolean:
        return col.b8[std::size_t(row)];
    default: {
        const double d = number(row, column);
        return d >= -9.2e18 && d <= 9.2e18 ? int64_t(d) : 0;
    }
    }
}

bool Table::boolean(qsizetype row, int column) const {
    if (isNull(row, column))
        return false;
    const Column& col = m_columns[column];
    if (col.type == FieldType::Boolean)
        return col.b8[std::size_t(row)] != 0;
    if (isTextType(col.type)) {
        bool b = false;
        return ValueText::parseBoolean(col.dict.at(col.codes[std::size_t(row)]), b) && b;
    }
    return number(row, column) != 0;
}

QDate Table::date(qsizetype row, int column) const {
    if (isNull(row, column))
        return {};
    const Column& col = m_columns[column];
    if (col.type == FieldType::Date)
        return QDate::fromJulianDay(col.i64[std::size_t(row)]);
    if (col.type == FieldType::DateTime)
        return ValueText::fromMsecs(col.i64[std::size_t(row)]).date();
    if (isTextType(col.type)) {
        QDate d;
        ValueText::parseDate(col.dict.at(col.codes[std::size_t(row)]), d);
        return d;
    }
    return {};
}

QDateTime Table::dateTime(qsizetype row, int column) const {
    if (isNull(row, column))
        return {};
    const Column& col = m_columns[column];
    if (col.type == FieldType::DateTime)
        return ValueText::fromMsecs(col.i64[std::size_t(row)]);
    if (col.type == FieldType::Date)
        return QDateTime(QDate::fromJulianDay(col.i64[std::size_t(row)]), QTime(0, 0));
    if (isTextType(col.type)) {
        int64_t ms = 0;
        if (ValueText::parseDateTime(col.dict.at(col.codes[std::size_t(row)]), ms))
            return ValueText::fromMsecs(ms);
    }
    return {};
}

QVariant Table::value(qsizetype row, int column) const {
    checkCell(row, column);
    if (isNull(row, column))
        return {};
    const Column& col = m_columns[column];
    switch (col.type) {
    case FieldType::String:
    case FieldType::Memo:
        return col.dict.at(col.codes[std::size_t(row)]).toString();
    case FieldType::Integer:
        return QVariant::fromValue<qlonglong>(col.i64[std::size_t(row)]);
    case FieldType::Float:
        return col.f64[std::size_t(row)];
    case FieldType::Boolean:
        return col.b8[std::size_t(row)] != 0;
    case FieldType::Date:
        return QDate::fromJulianDay(col.i64[std::size_t(row)]);
    case FieldType::DateTime:
        return ValueText::fromMsecs(col.i64[std::size_t(row)]);
    }
    return {};
}

QString Table::displayText(qsizetype row, int column) const {
    checkCell(row, column);
    if (isNull(row, column))
        return {};
    const Column& col = m_columns[column];
    char16_t buf[64];
    int n = 0;
    switch (col.type) {
    case FieldType::String:
    case FieldType::Memo:
        return col.dict.at(col.codes[std::size_t(row)]).toString();
    case FieldType::Integer:
        n = ValueText::formatInteger(col.i64[std::size_t(row)], buf);
        break;
    case FieldType::Float:
        n = ValueText::formatFloat(col.f64[std::size_t(row)], buf);
        break;
    case FieldType::Boolean:
        return col.b8[std::size_t(row)] ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Date:
        n = ValueText::formatDate(col.i64[std::size_t(row)], buf);
        break;
    case FieldType::DateTime:
        n = ValueText::formatDateTime(col.i64[std::size_t(row)], buf);
        break;
    }
    return QStringView(buf, n).toString();
}

std::size_t Table::memoryBytes() const {
    std::size_t bytes = 0;
    for (const Column& col : m_columns) {
        bytes += col.nulls.capacity() * 8 + col.i64.capacity() * 8 + col.f64.capacity() * 8 +
                 col.b8.capacity() + col.codes.capacity() * 4 + col.dict.memoryBytes();
    }
    return bytes;
}

} // namespace kestrane
