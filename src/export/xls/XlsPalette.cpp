#include "export/xls/XlsPalette.h"

#include <algorithm>

namespace kestrane::xls {

namespace {

constexpr quint32 bgr(quint32 rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Excel 97's palette, written as RRGGBB for readability.
constexpr std::array<quint32, XlsPalette::Size> kDefaultRgb = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

// White, black, silver, grey, red, maroon, yellow, olive, lime, green, aqua, teal, blue, navy,
// fuchsia, purple (0x00BBGGRR): never given away to another colour.
constexpr std::array<quint32, 16> kFixed = {
    0xFFFFFF, 0x000000, 0xC0C0C0, 0x808080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080,
    0x00FF00, 0x008000, 0xFFFF00, 0x808000, 0xFF0000, 0x800000, 0xFF00FF, 0x800080,
};

// The classic Windows desktop colours of the system colour elements 0..30 (RRGGBB).
constexpr std::array<quint32, 31> kSystemRgb = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x0000FF, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xECE9D8,
};

bool isFixed(quint32 c) {
    return std::find(kFixed.begin(), kFixed.end(), c) != kFixed.end();
}

} // namespace

const std::array<quint32, XlsPalette::Size>& XlsPalette::defaults() {
    static const std::array<quint32, Size> table = [] {
        std::array<quint32, Size> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = bgr(kDefaultRgb[i]);
        return t;
    }();
    return table;
}

quint32 XlsPalette::resolveSystemColor(quint32 color) {
    if (!(color & 0x80000000u))
        return color;
    const quint32 element = color & 0xFF;
    return element < kSystemRgb.size() ? bgr(kSystemRgb[element]) : 0;
}

XlsPalette::XlsPalette() : m_entries(defaults()) {}

quint16 XlsPalette::map(quint32 color) {
    if (color == m_lastColor)
        return m_lastIndex;
    const quint32 asked = color;
    color = resolveSystemColor(color);
    if (auto it = m_cache.find(color); it != m_cache.end()) {
        m_lastColor = asked;
        m_lastIndex = it->second;
        return it->second;
    }
    m_used.insert(color);
    quint16 index = FirstIndex; // black when the palette has no room left
    bool found = false;
    for (int i = 0; i < Size; ++i) {
        if (m_entries[static_cast<size_t>(i)] == color) {
            index = static_cast<quint16>(i + FirstIndex);
            found = true;
            break;
        }
    }
    if (!found) {
        for (int i = 0; i < Size; ++i) {
            const quint32 e = m_entries[static_cast<size_t>(i)];
            if (!isFixed(e) && !m_used.contains(e)) {
                m_entries[static_cast<size_t>(i)] = color;
                m_changed = true;
                index = static_cast<quint16>(i + FirstIndex);
                break;
            }
        }
    }
    m_cache.emplace(color, index);
    m_lastColor = asked;
    m_lastIndex = index;
    return index;
}

} // namespace kestrane::xls
