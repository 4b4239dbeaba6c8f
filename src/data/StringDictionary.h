#pragma once
// The distinct texts of one string column. Every text is stored once, as UTF-16 in one arena,
// and cells hold a 32-bit code into this dictionary. Result sets repeat their texts a lot
// (department, supplier, item, dates), so this keeps a million rows small and lets the filter
// and the sort do their text work once per distinct value instead of once per row.
#include <QStringView>
#include <cstdint>
#include <vector>

namespace kestrane {

class StringDictionary {
public:
    // Code of `text`, added when new. Throws kestrane::Error when the arena would pass 2^32
    // characters or 2^32-1 values.
    uint32_t intern(QStringView text);
    // Adds `text` as a new value without looking for an equal one (packet decoding: the
    // packet's dictionary is already distinct). Returns its code.
    uint32_t appendDistinct(QStringView text);

    uint32_t size() const { return uint32_t(m_offsets.size() - 1); }
    QStringView at(uint32_t code) const {
        return QStringView(m_chars.data() + m_offsets[code],
                           qsizetype(m_offsets[code + 1] - m_offsets[code]));
    }
    uint64_t totalChars() const { return m_chars.size(); }

    void clear();
    // Drops the lookup table (rebuilt on the next intern); for finished, read-only columns.
    void squeeze();
    std::size_t memoryBytes() const;

private:
    uint32_t lookup(QStringView text, std::size_t hash) const;
    void rehash(std::size_t slots);

    std::vector<char16_t> m_chars;
    std::vector<uint32_t> m_offsets{0};
    std::vector<uint32_t> m_slots; // open addressing; code + 1, 0 = empty
};

} // namespace kestrane
