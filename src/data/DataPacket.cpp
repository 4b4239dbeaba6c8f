#include "data/DataPacket.h"

#include "common/Error.h"

#include <bit>
#include <cstring>
#include <limits>

namespace kestrane {

namespace {

constexpr char magic[4] = {'K', 'D', 'P', 'K'};
constexpr uint16_t formatVersion = 1;
constexpr uint32_t maxFields = 4096;
constexpr uint8_t flagVisible = 0x1;
constexpr uint8_t flagCalculated = 0x2;
constexpr bool littleEndian = std::endian::native == std::endian::little;

// ---- writing ------------------------------------------------------------------------------

// Writes into a QByteArray sized once for the whole packet (a buffer of a few hundred
// megabytes grown step by step would be copied and faulted in again at every step).
class Writer {
public:
    explicit Writer(std::size_t size) : m_out(qsizetype(size), Qt::Uninitialized) {}
    char* take(std::size_t n) {
        Q_ASSERT(m_at + n <= std::size_t(m_out.size()));
        char* p = m_out.data() + m_at;
        m_at += n;
        return p;
    }
    void bytes(const void* p, std::size_t n) { std::memcpy(take(n), p, n); }
    void u8(uint8_t v) { *take(1) = char(v); }
    void u16(uint16_t v) { put(take(2), v, 2); }
    void u32(uint32_t v) { put(take(4), v, 4); }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void text(QStringView t) {
        u32(uint32_t(t.size()));
        char* p = take(std::size_t(t.size()) * 2);
        if constexpr (littleEndian) {
            std::memcpy(p, t.utf16(), std::size_t(t.size()) * 2);
        } else {
            for (qsizetype i = 0; i < t.size(); ++i)
                put(p + 2 * i, t[i].unicode(), 2);
        }
    }
    static void put(char* p, uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            p[i] = char(v >> (8 * i));
    }
    QByteArray finish() {
        Q_ASSERT(m_at == std::size_t(m_out.size()));
        return std::move(m_out);
    }

private:
    QByteArray m_out;
    std::size_t m_at = 0;
};

// The rows to write: all rows in table order (rows == nullptr, written with block copies
// where the byte order allows) or the given row numbers.
struct RowList {
    const std::vector<uint32_t>* rows;
    std::size_t n;
    uint32_t operator[](std::size_t i) const { return rows ? (*rows)[i] : uint32_t(i); }
};

bool isNullRow(const uint64_t* nulls, uint32_t r) {
    return (nulls[r >> 6] >> (r & 63)) & 1u;
}

// The texts of a string column that the written rows use, numbered in order of first use.
struct UsedTexts {
    std::vector<uint32_t> remap; // dictionary code -> packet code
    std::vector<uint32_t> used;  // packet code -> dictionary code
    std::size_t chars = 0;
    uint8_t width = 1;
};

UsedTexts usedTexts(const Table& table, int c, const RowList& rows) {
    constexpr uint32_t unused = std::numeric_limits<uint32_t>::max();
    const StringDictionary& dict = table.dictionary(c);
    const uint32_t* codes = table.codes(c);
    const uint64_t* nulls = table.nullBits(c);
    UsedTexts u;
    u.remap.assign(dict.size(), unused);
    for (std::size_t i = 0; i < rows.n; ++i) {
        const uint32_t r = rows[i];
        if (isNullRow(nulls, r))
            continue;
        uint32_t& m = u.remap[codes[r]];
        if (m == unused) {
            m = uint32_t(u.used.size());
            u.used.push_back(codes[r]);
            u.chars += std::size_t(dict.at(codes[r]).size());
        }
    }
    u.width = u.used.size() <= 0x100 ? 1 : u.used.size() <= 0x10000 ? 2 : 4;
    return u;
}

std::size_t textSize(const QString& s) {
    return 4 + std::size_t(s.size()) * 2;
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

void writeNullBitmap(Writer& w, const uint64_t* nulls, const RowList& rows) {
    const std::size_t bytes = (rows.n + 7) / 8;
    char* out = w.take(bytes);
    if (!rows.rows && littleEndian) {
        // Bits beyond the last row are never set in a table's bitmap.
        std::memcpy(out, nulls, bytes);
        return;
    }
    std::memset(out, 0, bytes);
    for (std::size_t i = 0; i < rows.n; ++i) {
        if (isNullRow(nulls, rows[i]))
            out[i >> 3] = char(uchar(out[i >> 3]) | (1u << (i & 7)));
    }
}

template <typename T> void writeFixed(Writer& w, const T* values, const RowList& rows) {
    char* out = w.take(rows.n * 8);
    if (!rows.rows && littleEndian) {
        std::memcpy(out, values, rows.n * 8);
        return;
    }
    for (std::size_t i = 0; i < rows.n; ++i) {
        uint64_t bits = 0;
        std::memcpy(&bits, &values[rows[i]], 8);
        Writer::put(out + i * 8, bits, 8);
    }
}

void writeTexts(Writer& w, const Table& table, int c, const RowList& rows, const UsedTexts& u) {
    const StringDictionary& dict = table.dictionary(c);
    const uint32_t* codes = table.codes(c);
    const uint64_t* nulls = table.nullBits(c);
    w.u32(uint32_t(u.used.size()));
    for (uint32_t code : u.used)
        w.text(dict.at(code));
    w.u8(u.width);
    char* p = w.take(rows.n * u.width);
    auto codeAt = [&](std::size_t i) {
        const uint32_t r = rows[i];
        return isNullRow(nulls, r) ? 0u : u.remap[codes[r]];
    };
    if (u.width == 1) {
        for (std::size_t i = 0; i < rows.n; ++i)
            p[i] = char(codeAt(i));
    } else if (u.width == 2) {
        for (std::size_t i = 0; i < rows.n; ++i)
            Writer::put(p + 2 * i, codeAt(i), 2);
    } else {
        for (std::size_t i = 0; i < rows.n; ++i)
            Writer::put(p + 4 * i, codeAt(i), 4);
    }
}

QByteArray encode(const Table& table, const RowList& rows) {
    // First the size, so that the packet is allocated once.
    std::vector<UsedTexts> texts(std::size_t(table.columnCount()));
    std::size_t size = 16;
    for (const FieldDef& f : table.fields())
        size += textSize(f.name) + textSize(f.displayLabel) + 10 + textSize(f.displayFormat);
    for (int c = 0; c < table.columnCount(); ++c) {
        size += (rows.n + 7) / 8;
        switch (table.columnType(c)) {
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::DateTime:
        case FieldType::Float:
            size += rows.n * 8;
            break;
        case FieldType::Boolean:
            size += rows.n;
            break;
        case FieldType::String:
        case FieldType::Memo: {
            UsedTexts& u = texts[std::size_t(c)];
            u = usedTexts(table, c, rows);
            size += 4 + u.used.size() * 4 + u.chars * 2 + 1 + rows.n * u.width;
            break;
        }
        }
    }

    Writer w(size);
    w.bytes(magic, 4);
    w.u16(formatVersion);
    w.u16(0);
    w.u32(uint32_t(table.columnCount()));
    w.u32(uint32_t(rows.n));
    for (const FieldDef& f : table.fields())
        writeFieldDef(w, f);
    for (int c = 0; c < table.columnCount(); ++c) {
        writeNullBitmap(w, table.nullBits(c), rows);
        switch (table.columnType(c)) {
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::DateTime:
            writeFixed(w, table.integers(c), rows);
            break;
        case FieldType::Float:
            writeFixed(w, table.floats(c), rows);
            break;
        case FieldType::Boolean: {
            char* out = w.take(rows.n);
            const uint8_t* v = table.booleans(c);
            for (std::size_t i = 0; i < rows.n; ++i)
                out[i] = char(v[rows[i]] ? 1 : 0);
            break;
        }
        case FieldType::String:
        case FieldType::Memo:
            writeTexts(w, table, c, rows, texts[std::size_t(c)]);
            break;
        }
    }
    return w.finish();
}

} // namespace

QByteArray encodePacket(const Table& table, const std::vector<uint32_t>& rows) {
    for (uint32_t r : rows) {
        if (qsizetype(r) >= table.rowCount())
            throw Error(QStringLiteral("data packet: row %1 out of range (%2 rows)")
                            .arg(r)
                            .arg(table.rowCount()));
    }
    return encode(table, RowList{&rows, rows.size()});
}

QByteArray encodePacket(const Table& table) {
    return encode(table, RowList{nullptr, std::size_t(table.rowCount())});
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
    if constexpr (littleEndian) {
        std::memcpy(col.nulls.data(), m_data + m_pos, bitmapBytes);
    } else {
        for (std::size_t i = 0; i < bitmapBytes; ++i)
            col.nulls[i >> 3] |= uint64_t(m_data[m_pos + i]) << ((i & 7) * 8);
    }
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
        if constexpr (littleEndian) {
            std::memcpy(col.i64.data(), m_data + m_pos, std::size_t(rows) * 8);
        } else {
            for (uint32_t r = 0; r < rows; ++r)
                col.i64[r] = int64_t(u64At(m_pos + std::size_t(r) * 8));
        }
        m_pos += std::size_t(rows) * 8;
        break;
    case FieldType::Float:
        valuesNeed(uint64_t(rows) * 8, "values");
        col.f64.resize(rows);
        if constexpr (littleEndian) {
            std::memcpy(col.f64.data(), m_data + m_pos, std::size_t(rows) * 8);
        } else {
            for (uint32_t r = 0; r < rows; ++r) {
                const uint64_t bits = u64At(m_pos + std::size_t(r) * 8);
                std::memcpy(&col.f64[r], &bits, 8);
            }
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
        const uint8_t* src = m_data + m_pos;
        uint32_t* dst = col.codes.data();
        if (width == 1) {
            for (uint32_t r = 0; r < rows; ++r)
                dst[r] = src[r];
        } else if (width == 2) {
            for (uint32_t r = 0; r < rows; ++r)
                dst[r] = uint32_t(src[2 * r]) | (uint32_t(src[2 * r + 1]) << 8);
        } else if (littleEndian) {
            std::memcpy(dst, src, std::size_t(rows) * 4);
        } else {
            for (uint32_t r = 0; r < rows; ++r)
                dst[r] = uint32_t(src[4 * r]) | (uint32_t(src[4 * r + 1]) << 8) |
                         (uint32_t(src[4 * r + 2]) << 16) | (uint32_t(src[4 * r + 3]) << 24);
        }
        // Null rows read as code 0; every other code must name a text. Most columns have no
        // nulls and every code in range, which one branch-free pass establishes.
        const uint64_t* nulls = col.nulls.data();
        uint64_t anyNull = 0;
        for (std::size_t w = 0; w < col.nulls.size(); ++w)
            anyNull |= nulls[w];
        uint32_t maxCode = 0;
        for (uint32_t r = 0; r < rows; ++r)
            maxCode = std::max(maxCode, dst[r]);
        if (anyNull != 0 || (rows > 0 && maxCode >= distinct)) {
            for (uint32_t r = 0; r < rows; ++r) {
                if ((nulls[r >> 6] >> (r & 63)) & 1u) {
                    dst[r] = 0;
                } else if (dst[r] >= distinct) {
                    fail(m_pos + std::size_t(r) * width,
                         QStringLiteral(
                             "text code %1%2 in row %3 is not below the %4 distinct texts")
                             .arg(dst[r])
                             .arg(where)
                             .arg(r + 1)
                             .arg(distinct));
                }
            }
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
