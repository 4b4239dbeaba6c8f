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
    // Open addressing with linear probing; a slot keeps the code + 1 (0 = empty) and the
    // text's hash, so a probe compares texts only when the hashes agree.
    struct Slot {
        uint32_t code1 = 0;
        uint32_t hash = 0;
    };
    static uint32_t hashOf(QStringView text);
    void insertSlot(uint32_t code, uint32_t hash);
    void rehash(std::size_t slots);

    std::vector<char16_t> m_chars;
    std::vector<uint32_t> m_offsets{0};
    std::vector<Slot> m_slots;
    uint32_t m_last = UINT32_MAX; // code of the last interned text: runs of equal values
};

} // namespace kestrane
