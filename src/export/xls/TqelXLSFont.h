#pragma once
// The font of a range. Two fonts are the same font in the workbook when every field matches.
#include <QString>

#include <cstddef>

namespace kestrane::xls {

struct TqelXLSFont {
    enum Style : quint8 { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    enum Pitch : quint8 { PitchDefault = 0, PitchFixed = 1, PitchVariable = 2 };
    // Windows character set codes; 1 is DEFAULT_CHARSET, 134 is GB2312_CHARSET.
    static constexpr quint8 DefaultCharset = 1;

    QString name = QStringLiteral("Arial");
    int size = 10; // points
    quint32 color = 0;
    quint8 style = 0;
    quint8 charset = DefaultCharset;
    quint8 pitch = PitchDefault;

    bool operator==(const TqelXLSFont& o) const {
        return charset == o.charset && color == o.color && size == o.size && pitch == o.pitch &&
               style == o.style && name == o.name;
    }
};

struct TqelXLSFontHash {
    size_t operator()(const TqelXLSFont& f) const;
};

} // namespace kestrane::xls
