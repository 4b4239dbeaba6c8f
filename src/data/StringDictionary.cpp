#include "data/StringDictionary.h"

#include "common/Error.h"

#include <QHashFunctions>
#include <limits>

namespace kestrane {

namespace {
constexpr uint64_t maxChars = std::numeric_limits<uint32_t>::max();
constexpr uint32_t maxValues = std::numeric_limits<uint32_t>::max() - 1;

std::size_t hashOf(QStringView text) {
    return qHash(text, 0);
}
} // namespace

uint32_t StringDictionary::appendDistinct(QStringView text) {
    if (uint64_t(m_chars.size()) + uint64_t(text.size()) > maxChars)
        throw Error(QStringLiteral("text column too large: more than 4294967295 characters"));
    if (size() >= maxValues)
        throw Error(QStringLiteral("text column too large: too many distinct values"));
    const uint32_t code = size();
    m_chars.insert(m_chars.end(), reinterpret_cast<const char16_t*>(text.utf16()),
                   reinterpret_cast<const char16_t*>(text.utf16()) + text.size());
    m_offsets.push_back(uint32_t(m_chars.size()));
    if (!m_slots.empty()) {
        if (std::size_t(size()) * 2 > m_slots.size()) {
            rehash(m_slots.size() * 2);
        } else {
            const std::size_t mask = m_slots.size() - 1;
            std::size_t i = hashOf(text) & mask;
            while (m_slots[i] != 0)
                i = (i + 1) & mask;
            m_slots[i] = code + 1;
        }
    }
    return code;
}

uint32_t StringDictionary::lookup(QStringView text, std::size_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const uint32_t slot = m_slots[i];
        if (slot == 0)
            return std::numeric_limits<uint32_t>::max();
        if (at(slot - 1) == text)
            return slot - 1;
    }
}

uint32_t StringDictionary::intern(QStringView text) {
    if (m_slots.empty())
        rehash(std::max<std::size_t>(64, std::size_t(size()) * 4));
    const uint32_t found = lookup(text, hashOf(text));
    if (found != std::numeric_limits<uint32_t>::max())
        return found;
    return appendDistinct(text);
}

void StringDictionary::rehash(std::size_t slots) {
    std::size_t n = 64;
    while (n < slots)
        n *= 2;
    m_slots.assign(n, 0);
    const std::size_t mask = n - 1;
    for (uint32_t code = 0; code < size(); ++code) {
        std::size_t i = hashOf(at(code)) & mask;
        while (m_slots[i] != 0)
            i = (i + 1) & mask;
        m_slots[i] = code + 1;
    }
}

void StringDictionary::clear() {
    m_chars.clear();
    m_offsets.assign(1, 0);
    m_slots.clear();
}

void StringDictionary::squeeze() {
    m_slots = {};
    m_chars.shrink_to_fit();
    m_offsets.shrink_to_fit();
}

std::size_t StringDictionary::memoryBytes() const {
    return m_chars.capacity() * sizeof(char16_t) + m_offsets.capacity() * sizeof(uint32_t) +
           m_slots.capacity() * sizeof(uint32_t);
}

} // namespace kestrane
