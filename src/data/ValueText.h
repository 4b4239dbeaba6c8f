#pragma once
// Reading values out of text and writing them as text, one set of rules for the table's
// conversions, the filter's comparisons and the plain text form of cells.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace kestrane {

class ValueText {
public:
    // A decimal number, optionally signed, with an optional fraction and exponent; spaces
    // around it are allowed. "0101" reads as 101. Empty text, "1,000", "0x10" and "inf" do
    // not read as numbers.
    static bool parseNumber(QStringView text, double& value);
    // A whole number in the range of int64 (spaces around allowed); "5.0" reads as 5.
    static bool parseInteger(QStringView text, int64_t& value);
    // "yyyy-MM-dd", "yyyy/MM/dd" or "yyyyMMdd"; spaces around allowed.
    static bool parseDate(QStringView text, QDate& value);
    // A date as above, optionally followed by " hh:mm[:ss[.zzz]]" (or "T" instead of the
    // blank). Milliseconds since 1970 of that wall-clock time.
    static bool parseDateTime(QStringView text, int64_t& msecs);
    // "true"/"false" (case ignored) or a number (non-zero is true).
    static bool parseBoolean(QStringView text, bool& value);

    // Wall-clock date-time <-> milliseconds since 1970 (no time zone involved).
    static int64_t toMsecs(const QDateTime& value);
    static QDateTime fromMsecs(int64_t msecs);

    // Plain text forms, written into `buffer` (at least 64 units); returns the length.
    static int formatInteger(int64_t value, char16_t* buffer);
    static int formatFloat(double value, char16_t* buffer);     // shortest round-trip form
    static int formatDate(int64_t julianDay, char16_t* buffer); // yyyy-MM-dd
    static int formatDateTime(int64_t msecs, char16_t* buffer); // yyyy-MM-dd hh:mm:ss[.zzz]
};

} // namespace kestrane
