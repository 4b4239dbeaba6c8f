#include "data/DataPacket.h"

#include "common/Error.h"

#include <cstring>
#include <limits>

namespace kestrane {

namespace {

constexpr char magic[4] = {'K', 'D', 'P', 'K'};
constexpr uint16_t formatVersion = 1;
constexpr uint32_t maxFields = 4096;
constexpr uint8_t flagVisible = 0x1;
constexpr uint8_t flagCalculated = 0x2;

// ---- writing ------------------------------------------------------------------------------

class Writer {
public:
    void bytes(const void* p, std::size_t n) {
        m_out.append(static_cast<const char*>(p), qsizetype(n));
    }
    void u8(uint8_t v) { m_out.append(char(v)); }
    void u16(uint16_t v) {
        const char b[2] = {char(v & 0xff), char(v >> 8)};
        m_out.append(b, 2);
    }
    void u32(uint32_t v) {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        m_out.append(b, 4);
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void u64(uint64_t v) {
        u32(uint32_t(v));
        u32(uint32_t(v >> 32));
    }
    void text(QStringView t) {
        u32(uint32_t(t.size()));
        for (QChar c : t)
            u16(c.unicode());
    }
    QByteArray& out() { return m_out; }

private:
    QByteArray m_out;
};

void writeHeader(Writer& w, const Table& table, uint32_t rows) {
    w.bytes(magic, 4);
    w.u16(formatVersion);
    w.u16(0);
    w.u32(uint32_t(table.columnCount()));
    w.u32(rows);
}

void writeFieldDef(Writer& w, const FieldDef& f) {
    w.text(f.name);
    w.text(f.displayLabel);
    w.u8(uint8_t(f.type));
    w.u8(uint8_t((f.visible ? flagVisible : 0) | (f.calculated ? flagCalculated : 0)));
    w.i32(std::max(f.size, 0));
    w.i32(f.tag);
    w.text(f.displayFormat);
}

void writeNullBitmap(Writer& w, const Table& table, int c, const std::vector<uint32_t>& rows) {
    QByteArray bits((rows.size() + 7) / 8, '\0');
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (table.isNull(rows[i], c))
            bits[qsizetype(i >> 3)] = char(uchar(bits[qsizetype(i >> 3)]) | (1u << (i & 7)));
    }
    w.out().append(bits);
}

void writeColumn(Writer& w, const Table& table, int c, const std::vector<uint32_t>& rows) {
    writeNullBitmap(w, table, c, rows);
    switch (table.columnType(c)) {
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::DateTime: {
        const int64_t* v = table.integers(c);
        for (uint32_t r : rows)
            w.u64(table.isNull(r, c) ? 0 : uint64_t(v[r]));
        break;
    }
    case FieldType::Float: {
        const double* v = table.floats(c);
        for (uint32_t r : rows) {
            uint64_t bits = 0;
            const double d = table.isNull(r, c) ? 0.0 : v[r];
            std::memcpy(&bits, &d, 8);
            w.u64(bits);
        }
        break;
    }
    case FieldType::Boolean: {
        const uint8_t* v = table.booleans(c);
        for (uint32_t r : rows)
            w.u8(table.isNull(r, c) ? 0 : (v[r] ? 1 : 0));
        break;
    }
    case FieldType::String:
    case FieldType::Memo: {
        // Only the texts the written rows use, numbered in order of first use.
        const StringDictionary& dict = table.dictionary(c);
        const uint32_t* codes = table.codes(c);
        std::vector<uint32_t> remap(dict.size(), std::numeric_limits<uint32_t>::max());
        std::vector<uint32_t> used;
        for (uint32_t r : rows) {
            if (table.isNull(r, c))
                continue;
            uint32_t& m = remap[codes[r]];
            if (m == std::numeric_limits<uint32_t>::max()) {
                m = uint32_t(used.size());
                used.push_back(codes[r]);
            }
        }
        w.u32(uint32_t(used.size()));
        for (uint32_t code : used)
            w.text(dict.at(code));
        const uint8_t width = used.size() <= 0x100 ? 1 : used.size() <= 0x10000 ? 2 : 4;
        w.u8(width);
        for (uint32_t r : rows) {
            const uint32_t code = table.isNull(r, c) ? 0 : remap[codes[r]];
            if (width == 1)
                w.u8(uint8_t(code));
            else if (width == 2)
                w.u16(uint16_t(code));
            else
                w.u32(code);
        }
        break;
    }
    }
}

} // namespace

QByteArray encodePacket(const Table& table, const std::vector<uint32_t>& rows) {
    for (uint32_t r : rows) {
        if (qsizetype(r) >= table.rowCount())
            throw Error(QStringLiteral("data packet: row %1 out of range (%2 rows)")
                            .arg(r)
                            .arg(table.rowCount()));
    }
    Writer w;
    writeHeader(w, table, uint32_t(rows.size()));
    for (const FieldDef& f : table.fields())
        writeFieldDef(w, f);
    for (int c = 0; c < table.columnCount(); ++c)
        writeColumn(w, table, c, rows);
    return std::move(w.out());
}

QByteArray encodePacket(const Table& table) {
    std::vector<uint32_t> rows(std::size_t(table.rowCount()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = uint32_t(i);
    return encodePacket(table, rows);
}

// ---- reading ------------------------------------------------------------------------------

// Reads a packet into a Table. Every read first checks what remains; every count is checked
// against the remaining bytes before anything is allocated for it.
class DataPacketReader {
public:
    explicit DataPacketReader(QByteArrayView bytes)
        : m_data(reinterpret_cast<const uint8_t*>(bytes.data())),
          m_size(std::size_t(bytes.size())) {}

    Table read();

private:
    [[noreturn]] void fail(std::size_t at, const QString& what) const {
        throw Error(QStringLiteral("data packet, byte %1: %2").arg(at).arg(what));
    }
    std::size_t remaining() const { return m_size - m_pos; }
    void need(std::size_t n, const char* what) const {
        if (n > remaining())
            fail(m_pos, QStringLiteral("%1 needs %2 bytes but %3 remain")
                            .arg(QLatin1String(what))
                            .arg(n)
                            .arg(remaining()));
    }
    uint8_t u8(const char* what) {
        need(1, what);
        return m_data[m_pos++];
    }
    uint16_t u16(const char* what) {
        need(2, what);
        const uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint32_t u32(const char* what) {
        need(4, what);
        const uint32_t v = uint32_t(m_data[m_pos]) | (uint32_t(m_data[m_pos + 1]) << 8) |
                           (uint32_t(m_data[m_pos + 2]) << 16) |
                           (uint32_t(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    uint64_t u64At(std::size_t at) const {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | m_data[at + std::size_t(i)];
        return v;
    }
    // A text: u32 count of UTF-16 units, then the units.
    QStringView text(const char* what);

    void readFieldDef(FieldDef& f, uint32_t index);
    void readColumn(Table::Column& col, const FieldDef& f, uint32_t rows);

    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::vector<char16_t> m_scratch;
};

QStringView DataPacketReader::text(const char* what) {
    const std::size_t at = m_pos;
    const uint32_t n = u32(what);
    if (uint64_t(n) * 2 > remaining())
        fail(at, QStringLiteral("%1 of %2 code units needs %3 bytes but %4 remain")
                     .arg(QLatin1String(what))
                     .arg(n)
                     .arg(uint64_t(n) * 2)
                     .arg(remaining()));
    m_scratch.resize(n);
    for (uint32_t i = 0; i < n; ++i)
        m_scratch[i] = char16_t(m_data[m_pos + 2 * i] | (m_data[m_pos + 2 * i + 1] << 8));
    m_pos += std::size_t(n) * 2;
    return QStringView(m_scratch.data(), qsizetype(n));
}

void DataPacketReader::readFieldDef(FieldDef& f, uint32_t index) {
    const std::size_t start = m_pos;
    f.name = text("field name").toString();
    if (f.name.isEmpty())
        fail(start, QStringLiteral("field %1 has an empty name").arg(index + 1));
    f.displayLabel = text("field label").toString();
    const std::size_t typeAt = m_pos;
    const uint8_t type = u8("field type");
    if (type < uint8_t(FieldType::String) || type > uint8_t(FieldType::Memo))
        fail(typeAt, QStringLiteral("field %1 (%2) has unknown type %3")
                         .arg(index + 1)
                         .arg(f.name)
                         .arg(type));
    f.type = FieldType(type);
    const std::size_t flagsAt = m_pos;
    const uint8_t flags = u8("field flags");
    if (flags & ~(flagVisible | flagCalculated))
        fail(flagsAt, QStringLiteral("field %1 (%2) has unknown flags 0x%3")
                          .arg(index + 1)
                          .arg(f.name)
                          .arg(flags, 2, 16, QLatin1Char('0')));
    f.visible = flags & flagVisible;
    f.calculated = flags & flagCalculated;
    const std::size_t sizeAt = m_pos;
    const int32_t size = int32_t(u32("field size"));
    if (size < 0)
        fail(sizeAt, QStringLiteral("field %1 (%2) has negative size %3")
                         .arg(index + 1)
                         .arg(f.name)
                         .arg(size));
    f.size = size;
    f.tag = int32_t(u32("field tag"));
    f.displayFormat = text("display format").toString();
}

void DataPacketReader::readColumn(Table::Column& col, const FieldDef& f, uint32_t rows) {
    const QString where = QStringLiteral(" of field %1").arg(f.name);
    // Null bitmap.
    const std::size_t bitmapBytes = (std::size_t(rows) + 7) / 8;
    if (bitmapBytes > remaining())
        fail(m_pos, QStringLiteral("null bitmap%1 of %2 rows needs %3 bytes but %4 remain")
                        .arg(where)
                        .arg(rows)
                        .arg(bitmapBytes)
                        .arg(remaining()));
    if (rows % 8 != 0 && (m_data[m_pos + bitmapBytes - 1] >> (rows % 8)) != 0)
        fail(m_pos + bitmapBytes - 1,
             QStringLiteral("null bitmap%1 has bits set beyond the last row").arg(where));
    col.nulls.assign((std::size_t(rows) + 63) / 64, 0);
    for (std::size_t i = 0; i < bitmapBytes; ++i)
        col.nulls[i >> 3] |= uint64_t(m_data[m_pos + i]) << ((i & 7) * 8);
    m_pos += bitmapBytes;

    auto valuesNeed = [&](uint64_t bytes, const char* what) {
        if (bytes > remaining())
            fail(m_pos, QStringLiteral("%1%2 of %3 rows needs %4 bytes but %5 remain")
                            .arg(QLatin1String(what))
                            .arg(where)
                            .arg(rows)
                            .arg(bytes)
                            .arg(remaining()));
    };
    switch (f.type) {
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::DateTime:
        valuesNeed(uint64_t(rows) * 8, "values");
        col.i64.resize(rows);
        for (uint32_t r = 0; r < rows; ++r)
            col.i64[r] = int64_t(u64At(m_pos + std::size_t(r) * 8));
        m_pos += std::size_t(rows) * 8;
        break;
    case FieldType::Float:
        valuesNeed(uint64_t(rows) * 8, "values");
        col.f64.resize(rows);
        for (uint32_t r = 0; r < rows; ++r) {
            const uint64_t bits = u64At(m_pos + std::size_t(r) * 8);
            std::memcpy(&col.f64[r], &bits, 8);
        }
        m_pos += std::size_t(rows) * 8;
        break;
    case FieldType::Boolean:
        valuesNeed(rows, "values");
        col.b8.resize(rows);
        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t b = m_data[m_pos + r];
            if (b > 1)
                fail(m_pos + r, QStringLiteral("boolean%1 in row %2 is %3, not 0 or 1")
                                    .arg(where)
                                    .arg(r + 1)
                                    .arg(b));
            col.b8[r] = b;
        }
        m_pos += rows;
        break;
    case FieldType::String:
    case FieldType::Memo: {
        const std::size_t countAt = m_pos;
        const uint32_t distinct = u32("count of distinct texts");
        // Every text takes at least its 4-byte length.
        if (uint64_t(distinct) * 4 > remaining())
            fail(countAt, QStringLiteral("%1 distinct texts%2 need at least %3 bytes but %4 remain")
                              .arg(distinct)
                              .arg(where)
                              .arg(uint64_t(distinct) * 4)
                              .arg(remaining()));
        for (uint32_t i = 0; i < distinct; ++i)
            col.dict.appendDistinct(text("text"));
        const std::size_t widthAt = m_pos;
        const uint8_t width = u8("code width");
        if (width != 1 && width != 2 && width != 4)
            fail(widthAt,
                 QStringLiteral("code width%1 is %2, not 1, 2 or 4").arg(where).arg(width));
        valuesNeed(uint64_t(rows) * width, "text codes");
        col.codes.resize(rows);
        for (uint32_t r = 0; r < rows; ++r) {
            const std::size_t at = m_pos + std::size_t(r) * width;
            uint32_t code = m_data[at];
            if (width >= 2)
                code |= uint32_t(m_data[at + 1]) << 8;
            if (width == 4)
                code |= (uint32_t(m_data[at + 2]) << 16) | (uint32_t(m_data[at + 3]) << 24);
            const bool null = (col.nulls[r >> 6] >> (r & 63)) & 1u;
            if (null) {
                code = 0;
            } else if (code >= distinct) {
                fail(at,
                     QStringLiteral("text code %1%2 in row %3 is not below the %4 distinct texts")
                         .arg(code)
                         .arg(where)
                         .arg(r + 1)
                         .arg(distinct));
            }
            col.codes[r] = code;
        }
        m_pos += std::size_t(rows) * width;
        break;
    }
    }
}

Table DataPacketReader::read() {
    if (m_size < 4 || std::memcmp(m_data, magic, 4) != 0)
        fail(0, m_size < 4
                    ? QStringLiteral("%1 bytes are too short for a data packet").arg(m_size)
                    : QStringLiteral("not a data packet (the first bytes are not \"KDPK\")"));
    m_pos = 4;
    const uint16_t version = u16("format version");
    if (version != formatVersion)
        fail(4, QStringLiteral("format version %1 is not supported (expected %2)")
                    .arg(version)
                    .arg(formatVersion));
    const uint16_t flags = u16("packet flags");
    if (flags != 0)
        fail(6, QStringLiteral("unknown packet flags 0x%1").arg(flags, 4, 16, QLatin1Char('0')));
    const uint32_t fieldCount = u32("field count");
    if (fieldCount > maxFields)
        fail(8, QStringLiteral("%1 fields is more than the %2 a packet may hold")
                    .arg(fieldCount)
                    .arg(maxFields));
    const uint32_t rows = u32("row count");
    if (rows > uint32_t(std::numeric_limits<int32_t>::max()))
        fail(12, QStringLiteral("%1 rows is more than a table can hold").arg(rows));
    if (fieldCount == 0 && rows != 0)
        fail(12, QStringLiteral("%1 rows but no fields").arg(rows));
    // A field definition takes at least 22 bytes.
    if (uint64_t(fieldCount) * 22 > remaining())
        fail(m_pos, QStringLiteral("%1 field definitions need at least %2 bytes but %3 remain")
                        .arg(fieldCount)
                        .arg(uint64_t(fieldCount) * 22)
                        .arg(remaining()));
    QList<FieldDef> fields;
    fields.reserve(fieldCount);
    for (uint32_t i = 0; i < fieldCount; ++i) {
        FieldDef f;
        readFieldDef(f, i);
        fields.append(f);
    }
    // Each column takes at least one byte per row beyond its bitmap.
    if (uint64_t(fieldCount) * rows > remaining())
        fail(m_pos, QStringLiteral("%1 rows of %2 fields need at least %3 bytes but %4 remain")
                        .arg(rows)
                        .arg(fieldCount)
                        .arg(uint64_t(fieldCount) * rows)
                        .arg(remaining()));
    Table table(fields);
    for (uint32_t c = 0; c < fieldCount; ++c)
        readColumn(table.m_columns[c], fields[qsizetype(c)], rows);
    if (m_pos != m_size)
        fail(m_pos, QStringLiteral("%1 bytes follow the last column").arg(m_size - m_pos));
    table.m_rows = rows;
    return table;
}

Table decodePacket(QByteArrayView bytes) {
    return DataPacketReader(bytes).read();
}

Table decodePacket(const QByteArray& bytes) {
    return DataPacketReader(QByteArrayView(bytes)).read();
}

Table decodePacket(const QVariant& packet) {
    if (packet.typeId() != QMetaType::QByteArray)
        throw Error(QStringLiteral("data packet expected, but the value holds %1")
                        .arg(packet.isValid() ? QString::fromLatin1(packet.typeName())
                                              : QStringLiteral("nothing")));
    const QByteArray bytes = packet.toByteArray();
    return DataPacketReader(QByteArrayView(bytes)).read();
}

} // namespace kestrane
