#pragma once
// The 56-colour workbook palette and the mapping of 24-bit colours onto its indices. A colour
// the default palette lacks takes over the first entry that is neither one of the 16 basic
// colours nor a colour already in use, so cells written earlier keep their colours.
#include <QtGlobal>

#include <array>
#include <unordered_map>
#include <unordered_set>

namespace kestrane::xls {

class XlsPalette {
public:
    static constexpr int Size = 56;
    // Index of palette entry 0 in BIFF8 colour indices.
    static constexpr int FirstIndex = 8;

    XlsPalette();

    // The BIFF8 colour index for a 0x00BBGGRR colour (system colours resolved first).
    quint16 map(quint32 color);
    bool changed() const { return m_changed; }
    // Entry i (0..55) as 0x00BBGGRR.
    quint32 entry(int i) const { return m_entries[static_cast<size_t>(i)]; }

    // The default Excel 97 colours of indices 8 to 63.
    static const std::array<quint32, Size>& defaults();
    // A colour with the top bit set names a system colour (its low byte is the element
    // number); returns its value on a classic Windows desktop. Other colours pass unchanged.
    static quint32 resolveSystemColor(quint32 color);

private:
    std::array<quint32, Size> m_entries;
    bool m_changed = false;
    std::unordered_set<quint32> m_used;
    // A colour's index never changes once given (its entry is in use, so it is never taken
    // over), which lets every later lookup skip the search.
    std::unordered_map<quint32, quint16> m_cache;
    // Neighbouring cells mostly repeat a colour: the last answer short-cuts the lookup.
    quint32 m_lastColor = 0xFFFFFFFF;
    quint16 m_lastIndex = 0;
};

} // namespace kestrane::xls
