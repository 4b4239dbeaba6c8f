#pragma once
// The 128 selector bits of a parameter request: bit n is bit (n mod 8) of byte (n div 8).
#include <array>
#include <cstdint>
#include <initializer_list>

namespace kestrane::params {

class TSysParamSet {
public:
    static constexpr int kBitCount = 128;

    TSysParamSet() = default;
    TSysParamSet(std::initializer_list<int> bits) {
        for (int bit : bits)
            include(bit);
    }

    // Bits outside 0..127 are ignored: they select nothing.
    void include(int bit) {
        if (bit >= 0 && bit < kBitCount)
            m_bytes[std::size_t(bit / 8)] |= uint8_t(1u << (bit % 8));
    }
    void exclude(int bit) {
        if (bit >= 0 && bit < kBitCount)
            m_bytes[std::size_t(bit / 8)] &= uint8_t(~(1u << (bit % 8)));
    }
    bool contains(int bit) const {
        return bit >= 0 && bit < kBitCount && (m_bytes[std::size_t(bit / 8)] >> (bit % 8)) & 1u;
    }
    bool isEmpty() const {
        for (uint8_t b : m_bytes)
            if (b)
                return false;
        return true;
    }

    // The 16 bytes as they lie in memory.
    const std::array<uint8_t, 16>& bytes() const { return m_bytes; }

    friend bool operator==(const TSysParamSet&, const TSysParamSet&) = default;

private:
    std::array<uint8_t, 16> m_bytes{};
};

} // namespace kestrane::params
