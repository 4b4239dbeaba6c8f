#pragma once
// Display formats of report views: how a value becomes the text a view prints.
//
// Every view carries a 32-bit format word and a format string. The word packs
//   bits 0-7   the decimal separator character ('.' for a new view),
//   bits 8-15  the number of decimals (2 for a new view),
//   bits 16-23 the format index within the category,
//   bits 24-27 the category (text, number, date, time, Boolean).
// The format string is the pattern of the "custom" index of each category.
//
// All the runtime format routines the engine relies on live here, in one place:
// the float pattern formatter ("####0.00", "#,##0.", sections, scientific form), the
// date-time pattern formatter (with the Chinese month and weekday names of our locale),
// the fixed and grouped notations of number indexes 1 and 3, and the plain conversion
// used as the fallback whenever a value does not fit its format.
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace kestrane::report {

enum FormatCategory : int {
    fcText = 0,
    fcNumber = 1,
    fcDate = 2,
    fcTime = 3,
    fcBoolean = 4,
};

// Custom ("自定义") index of each category: the format string is the pattern.
constexpr int kNumberCustomIndex = 4;
constexpr int kDateCustomIndex = 7;
constexpr int kTimeCustomIndex = 4;
constexpr int kBooleanCustomIndex = 4;

class DisplayFormat {
public:
    // --- the format word -------------------------------------------------------------
    static uint32_t makeWord(int category, int index, int decimals = 2, QChar separator = u'.');
    static int category(uint32_t word) { return int((word >> 24) & 0x0F); }
    static int index(uint32_t word) { return int((word >> 16) & 0xFF); }
    static int decimals(uint32_t word) { return int((word >> 8) & 0xFF); }
    // The separator character; a zero byte means '.'.
    static QChar separator(uint32_t word);
    // A new view: text category, two decimals, '.' as separator.
    static uint32_t defaultWord() { return makeWord(fcText, 0, 2, u'.'); }

    // Category names and index labels the designer shows.
    static QString categoryName(int category);
    static QString indexLabel(int category, int index);
    // The table pattern of a category and index ("yy.mm.dd", "hh:nn", "0;1", "##0.##"); empty
    // for the custom indexes and for the numeric notations of number indexes 1 and 3.
    static QString tablePattern(int category, int index, int decimals);

    // --- formatting ------------------------------------------------------------------
    // A value as the view prints it with this format word and string. Empty values and
    // strings that are blank after trimming give an empty text. Any value that does not
    // convert to what the category needs is printed by plain conversion.
    static QString formatValue(const QVariant& value, uint32_t word, const QString& formatString);
    // The same text appended to `out`, for callers that build a line of many values.
    static void appendValue(QString& out, const QVariant& value, uint32_t word,
                            const QString& formatString);

    // Float pattern formatting: up to three sections ("pos;neg;zero"), "0" and "#" digit
    // placeholders, "." decimal point (printed as `separator`), "," grouping, "E+00"
    // scientific form, quoted literals. An empty pattern gives the general form.
    static QString formatFloat(const QString& pattern, double value, QChar separator = u'.');
    static void appendFloat(QString& out, const QString& pattern, double value,
                            QChar separator = u'.');
    // Fixed notation (number index 1) and grouped notation (index 3): the given decimals,
    // at least one integer digit, scientific form beyond 15 significant digits.
    static QString formatFixed(double value, int decimals, bool grouping, QChar separator = u'.');
    // Shortest general form with at most 15 significant digits ("1234.5", "0.1", "1E20").
    static QString formatGeneral(double value, QChar separator = u'.');

    // Date-time pattern formatting; `dateSeparator` is what "/" prints.
    static QString formatDateTime(const QString& pattern, const QDateTime& value,
                                  QChar dateSeparator = u'-');

    // Plain conversion: strings as they are, numbers in general form, Booleans "True" and
    // "False", date-times in the short date format plus the long time when not midnight.
    static QString plainText(const QVariant& value, QChar separator = u'.');

    // --- value helpers ---------------------------------------------------------------
    // True for numbers (and Booleans, date-times) whose numeric value is zero; never for
    // strings. What HideZeros hides.
    static bool isZeroNonString(const QVariant& value);
    // Converts a value to a number: numbers, Booleans (-1 / 0), numeric strings with "." or
    // `separator`. False when it is not one.
    static bool toDouble(const QVariant& value, double& out, QChar separator = u'.');
    // Converts a value to a date-time: QDateTime, QDate, QTime, day numbers counted from
    // 1899-12-30 and texts "yyyy-mm-dd[ hh:nn[:ss]]", "yyyy/mm/dd", "yyyymmdd".
    static bool toDateTime(const QVariant& value, QDateTime& out);
    static bool isEmptyValue(const QVariant& value);

    // Our locale's defaults.
    static QString shortDateFormat() { return QStringLiteral("yyyy-mm-dd"); }
    static QString longDateFormat() { return QStringLiteral("yyyy'年'm'月'd'日'"); }
    static QString longTimeFormat() { return QStringLiteral("hh:nn:ss"); }
    static QString shortTimeFormat() { return QStringLiteral("hh:nn"); }
};

} // namespace kestrane::report
