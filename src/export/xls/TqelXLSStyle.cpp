#include "export/xls/TqelXLSStyle.h"

#include <QHash>

namespace kestrane::xls {

size_t TqelXLSFontHash::operator()(const TqelXLSFont& f) const {
    return qHash(f.name) ^ (static_cast<size_t>(f.color) * 31) ^
           (static_cast<size_t>(f.size) << 40) ^ (static_cast<size_t>(f.style) << 48) ^
           (static_cast<size_t>(f.charset) << 52) ^ (static_cast<size_t>(f.pitch) << 60);
}

size_t TqelXLSStyleHash::operator()(const TqelXLSStyle& s) const {
    size_t h = TqelXLSFontHash()(s.font);
    auto mix = [&h](size_t v) { h = (h ^ v) * 1099511628211ull; };
    for (int i = 0; i < TqelXLSBorders::Count; ++i)
        mix(size_t(s.borders[i].color) << 16 | size_t(s.borders[i].lineStyle) << 8 |
            s.borders[i].flags);
    mix(size_t(s.horizontalAlignment) | size_t(s.verticalAlignment) << 8 | size_t(s.wrap) << 16 |
        size_t(s.rotation) << 24 | size_t(s.fillPattern) << 32);
    mix(size_t(s.fillForeground) << 32 | s.fillBackground);
    mix(qHash(s.format));
    return h;
}

} // namespace kestrane::xls
