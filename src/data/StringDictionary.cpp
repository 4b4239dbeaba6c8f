#include "data/StringDictionary.h"

#include "common/Error.h"

#include <cstring>
#include <limits>

namespace kestrane {

namespace {
constexpr uint64_t maxChars = std::numeric_limits<uint32_t>::max();
constexpr uint32_t maxValues = std::numeric_limits<uint32_t>::max() - 1;

bool sameText(QStringView a, QStringView b) {
    return a.size() == b.size() &&
           std::memcmp(a.utf16(), b.utf16(), std::size_t(a.size()) * sizeof(char16_t)) == 0;
}

uint64_t mix(uint64_t a, uint64_t b) {
    const __uint128_t r = __uint128_t(a ^ 0xa0761d6478bd642full) * (b ^ 0xe7037ed1a0b428dbull);
    return uint64_t(r) ^ uint64_t(r >> 64);
}
} // namespace

// A multiply-mix hash over 8-byte chunks: the texts are short codes and names, and this is
// the hot spot of building a table.
uint32_t StringDictionary::hashOf(QStringView text) {
    const char* p = reinterpret_cast<const char*>(text.utf16());
    std::size_t n = std::size_t(text.size()) * 2;
    uint64_t h = 0x9e3779b97f4a7c15ull ^ n;
    while (n >= 8) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        h = mix(h, v);
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        uint64_t v = 0;
        std::memcpy(&v, p, n);
        h = mix(h, v);
    }
    return uint32_t(h ^ (h >> 32));
}

void StringDictionary::insertSlot(uint32_t code, uint32_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i].code1 != 0)
        i = (i + 1) & mask;
    m_slots[i] = {code + 1, hash};
}

uint32_t StringDictionary::appendDistinct(QStringView text) {
    if (uint64_t(m_chars.size()) + uint64_t(text.size()) > maxChars)
        throw Error(QStringLiteral("text column too large: more than 4294967295 characters"));
    if (size() >= maxValues)
        throw Error(QStringLiteral("text column too large: too many distinct values"));
    const uint32_t code = size();
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    m_chars.insert(m_chars.end(), units, units + text.size());
    m_offsets.push_back(uint32_t(m_chars.size()));
    if (!m_slots.empty()) {
        if (std::size_t(size()) * 2 > m_slots.size())
            rehash(m_slots.size() * 2);
        else
            insertSlot(code, hashOf(text));
    }
    return code;
}

uint32_t StringDictionary::intern(QStringView text) {
    if (m_last < size() && sameText(at(m_last), text))
        return m_last;
    if (m_slots.empty())
        rehash(std::max<std::size_t>(64, std::size_t(size()) * 4));
    const uint32_t hash = hashOf(text);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot slot = m_slots[i];
        if (slot.code1 == 0)
            break;
        if (slot.hash == hash && sameText(at(slot.code1 - 1), text))
            return m_last = slot.code1 - 1;
    }
    return m_last = appendDistinct(text);
}

void StringDictionary::rehash(std::size_t slots) {
    std::size_t n = 64;
    while (n < slots)
        n *= 2;
    m_slots.assign(n, Slot());
    for (uint32_t code = 0; code < size(); ++code)
        insertSlot(code, hashOf(at(code)));
}

void StringDictionary::clear() {
    m_chars.clear();
    m_offsets.assign(1, 0);
    m_slots.clear();
    m_last = UINT32_MAX;
}

void StringDictionary::squeeze() {
    m_slots = {};
    m_chars.shrink_to_fit();
    m_offsets.shrink_to_fit();
}

std::size_t StringDictionary::memoryBytes() const {
    return m_chars.capacity() * sizeof(char16_t) + m_offsets.capacity() * sizeof(uint32_t) +
           m_slots.capacity() * sizeof(Slot);
}

} // namespace kestrane
