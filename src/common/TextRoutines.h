#pragma once
// The product's small text helpers, used by the condition builder, the grid, the query builder
// and the parameter loader.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane {

// a when the condition holds, else b.
QString IfThenStr(bool condition, const QString& a, const QString& b);

// True when s is a signed 64-bit whole number: leading spaces allowed, trailing ones not,
// "$" or "0x" hexadecimal accepted. Never throws.
bool IsIntText(const QString& s);

// The value of a text IsIntText accepts (hexadecimal beyond the signed range wraps to a
// negative value, as the runtime reads it); false, leaving `value` alone, for any other text.
bool TextToInt64(const QString& s, int64_t& value);

// The text as a 32-bit whole number, the way the runtime converts settings and parameters;
// throws kestrane::Error "'<text>' 不是有效的整数值" for anything else.
int32_t StrToInt(const QString& s);

// The value's decimal text padded with "0" in front to width; a longer text is kept whole,
// or, with cut, only its last width characters.
QString PadNum(int width, bool cut, int64_t value);

// Number of fields of s split at the one-character delimiter; 0 for an empty s. A delimiter
// of any other length never matches, so the answer is then 1.
int CountFields(const QString& s, const QString& delimiter);

// The n-th field (from 1) of s split at the delimiter; empty when the cut piece is the whole
// of s (so a text without delimiters gives an empty field even for n = 1).
QString GetField(const QString& s, const QString& delimiter, uint8_t n);

// Splits s at every occurrence of separator into list (replaced), each piece trimmed of
// spaces. True when no piece is empty.
bool SplitText(const QString& separator, const QString& s, QStringList& list);

} // namespace kestrane
