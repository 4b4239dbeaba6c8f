#include "report/DisplayFormat.h"

#include <QHash>
#include <QStringList>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace kestrane::report {

namespace {

// --- decimal digits of a double --------------------------------------------------------

// A non-negative value as at most 15 significant decimal digits: value = 0.D * 10^exp10.
// Working on this decimal form (not on the binary value) is what makes 2.675 round to 2.68.
struct Decimal {
    std::string digits; // no leading zeros; empty for zero (short: kept inline, no allocation)
    int exp10 = 0;
};

// Powers of ten up to 10^15.
constexpr std::array<uint64_t, 16> kPow10 = [] {
    std::array<uint64_t, 16> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

int decimalDigitCount(uint64_t v) {
    int n = 1;
    while (n < 16 && v >= kPow10[n])
        ++n;
    return n;
}

// The 15 significant digits of a value in [1, 1e15) found with integer arithmetic: the
// double is m * 2^e exactly, so m * 10^p / 2^-e is the value scaled to 15 digits and its
// remainder tells the rounding, half to even like the library conversion below. Prices and
// quantities are in this range; it is the same result at a fraction of the cost.
bool toDecimalExact(double absValue, Decimal& d) {
    if (!(absValue >= 1.0 && absValue < 1e15))
        return false;
    uint64_t bits;
    std::memcpy(&bits, &absValue, sizeof bits);
    const uint64_t m = (bits & ((1ull << 52) - 1)) | (1ull << 52);
    const int e = int((bits >> 52) & 0x7FF) - 1075;
    // Below 1e15 (< 2^50) the value always has a fraction part in its 52 mantissa bits.
    const int k = -e; // 3..52 in this range
    int exp10 = decimalDigitCount(m >> k);
    const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * kPow10[15 - exp10];
    uint64_t q = uint64_t(scaled >> k);
    const unsigned __int128 rest = scaled - (static_cast<unsigned __int128>(q) << k);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (k - 1);
    if (rest > half || (rest == half && (q & 1)))
        ++q;
    if (q == kPow10[15]) {
        q = kPow10[14];
        ++exp10;
    }
    char buf[20];
    int n = int(std::to_chars(buf, buf + sizeof buf, q).ptr - buf);
    while (n > 0 && buf[n - 1] == '0')
        --n;
    d.digits.assign(buf, size_t(n));
    d.exp10 = exp10;
    return true;
}

Decimal toDecimal(double absValue) {
    Decimal d;
    if (!(absValue > 0) || !std::isfinite(absValue))
        return d;
    if (toDecimalExact(absValue, d))
        return d;
    // "d.dddddddddddddde+XX": 15 significant digits, written without locale or allocation.
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, absValue, std::chars_format::scientific, 14);
    const char* end = res.ptr;
    const char* e = std::find(static_cast<const char*>(buf), end, 'e');
    char digits[20];
    int n = 0;
    for (const char* p = buf; p < e && n < 20; ++p)
        if (*p != '.')
            digits[n++] = *p;
    while (n > 0 && digits[n - 1] == '0')
        --n;
    int exp = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exp);
    d.digits.assign(digits, size_t(n));
    d.exp10 = exp + 1;
    return d;
}

// Rounds to `keep` significant digits, half away from zero. Returns the rounded form.
Decimal roundSignificant(Decimal d, int keep) {
    if (d.digits.empty())
        return d;
    if (keep < 0)
        return Decimal{};
    if (size_t(keep) >= d.digits.size())
        return d;
    const bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[size_t(i)] == '9') {
            d.digits[size_t(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.exp10 += 1;
        } else {
            d.digits[size_t(i)] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// ASCII digits of one part of a number. Numbers are formatted for every record, so their
// digits stay on the stack; only an unusually long part goes to the heap.
using DigitText = QVarLengthArray<char, 40>;

// Rounds to `decimals` places after the point and splits into integer digits (no leading
// zeros, empty for a value below one) and exactly `decimals` fraction digits.
void fixedDigits(double absValue, int decimals, DigitText& intPart, DigitText& fracPart) {
    const Decimal exact = toDecimal(absValue);
    const Decimal d = roundSignificant(exact, exact.exp10 + decimals);
    intPart.clear();
    fracPart.clear();
    const int n = int(d.digits.size());
    for (int i = 0; i < d.exp10; ++i)
        intPart.append(i < n ? d.digits[size_t(i)] : '0');
    for (int j = 0; j < decimals; ++j) {
        const int i = d.exp10 + j;
        fracPart.append(i >= 0 && i < n ? d.digits[size_t(i)] : '0');
    }
}

void appendDigits(QString& out, const DigitText& digits) {
    out.append(QLatin1String(digits.constData(), digits.size()));
}

QString groupDigits(const DigitText& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        out.append(QLatin1Char(digits[i]));
        const qsizetype rest = n - 1 - i;
        if (rest > 0 && rest % 3 == 0)
            out.append(u',');
    }
    return out;
}

// Scientific general form: "1E20", "1.5E-6".
QString scientificGeneral(const Decimal& dec, QChar separator) {
    struct {
        QString digits;
        int exp10;
    } d{QString::fromStdString(dec.digits), dec.exp10};
    QString out = d.digits.left(1);
    if (d.digits.size() > 1)
        out += separator + d.digits.mid(1);
    out += u'E' + QString::number(d.exp10 - 1);
    return out;
}

// --- float pattern sections ------------------------------------------------------------

QStringList splitSections(const QString& pattern) {
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';' && sections.size() < 2) {
            sections.append(cur);
            cur.clear();
            continue;
        }
        cur.append(c);
    }
    sections.append(cur);
    return sections;
}

// What a section asks for, found by one scan of it.
struct SectionInfo {
    int intPlaceholders = 0;
    int minIntDigits = 0; // placeholders from the first "0" to the point
    int fracPlaceholders = 0;
    int minFracDigits = 0; // up to the last "0" after the point
    bool grouping = false;
    bool scientific = false;
    bool expAlwaysSign = false;
    int expDigits = 0;
};

SectionInfo analyse(const QString& s) {
    SectionInfo info;
    bool afterPoint = false;
    int firstZero = -1;
    QChar quote;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++info.fracPlaceholders;
                if (c == u'0')
                    info.minFracDigits = info.fracPlaceholders;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = info.intPlaceholders;
                ++info.intPlaceholders;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            info.grouping = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() &&
                   (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            info.scientific = true;
            info.expAlwaysSign = s[i + 1] == u'+';
            qsizetype j = i + 2;
            while (j < s.size() && s[j] == u'0' && info.expDigits < 4) {
                ++info.expDigits;
                ++j;
            }
            break; // what follows the exponent prints as text; placeholders end here
        }
    }
    if (firstZero >= 0)
        info.minIntDigits = info.intPlaceholders - firstZero;
    return info;
}

// The digits one section prints for a non-negative value.
struct SectionDigits {
    DigitText intDigits;  // padded to the minimum integer digits
    DigitText fracDigits; // trailing zeros stripped down to the minimum
    QString exponent;     // scientific only: sign and digits
    bool zero = true;
};

bool allZero(const DigitText& digits) {
    return std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c == '0'; });
}

SectionDigits digitsFor(const SectionInfo& info, double absValue) {
    SectionDigits out;
    if (info.scientific) {
        const int intCount = std::max(1, info.intPlaceholders);
        const Decimal d = roundSignificant(toDecimal(absValue), intCount + info.fracPlaceholders);
        const int exp = d.digits.empty() ? 0 : d.exp10 - intCount;
        const int n = int(d.digits.size());
        for (int i = 0; i < intCount; ++i)
            out.intDigits.append(i < n ? d.digits[size_t(i)] : '0');
        for (int j = 0; j < info.fracPlaceholders; ++j) {
            const int i = intCount + j;
            out.fracDigits.append(i < n ? d.digits[size_t(i)] : '0');
        }
        QString e = QString::number(std::abs(exp)).rightJustified(info.expDigits, u'0');
        if (exp < 0)
            e.prepend(u'-');
        else if (info.expAlwaysSign)
            e.prepend(u'+');
        out.exponent = e;
    } else {
        fixedDigits(absValue, info.fracPlaceholders, out.intDigits, out.fracDigits);
    }
    out.zero = allZero(out.intDigits) && allZero(out.fracDigits);
    // Leading zeros only as far as the "0" placeholders ask for them.
    qsizetype lead = 0;
    while (lead < out.intDigits.size() && out.intDigits[lead] == '0' &&
           out.intDigits.size() - lead > info.minIntDigits)
        ++lead;
    out.intDigits.erase(out.intDigits.cbegin(), out.intDigits.cbegin() + lead);
    if (out.intDigits.size() < info.minIntDigits)
        out.intDigits.insert(out.intDigits.cbegin(), info.minIntDigits - out.intDigits.size(), '0');
    while (out.fracDigits.size() > info.minFracDigits && out.fracDigits.back() == '0')
        out.fracDigits.removeLast();
    return out;
}

// Prints one section for a non-negative value after what `out` holds.
void renderSection(QString& out, const QString& s, const SectionInfo& info, const SectionDigits& dg,
                   QChar separator) {
    const DigitText& digits = dg.intDigits;
    const int len = int(digits.size());
    const int offset = len - info.intPlaceholders; // digits beyond the placeholders
    int intIndex = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    bool intDone = false;

    auto emitDigit = [&](int i) {
        out.append(QLatin1Char(digits[i]));
        const int rest = len - 1 - i;
        if (info.grouping && rest > 0 && rest % 3 == 0)
            out.append(u',');
    };
    // Integer digits with no placeholder of their own print where the integer part ends.
    auto flushInt = [&]() {
        if (intDone)
            return;
        intDone = true;
        if (info.intPlaceholders == 0)
            for (int i = 0; i < len; ++i)
                emitDigit(i);
    };

    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            out.append(QStringView(s).mid(i + 1, stop - i - 1));
            i = stop;
            continue;
        }
        if ((c == u'0' || c == u'#') && !afterPoint) {
            if (intIndex == 0)
                for (int k = 0; k < offset; ++k)
                    emitDigit(k);
            const int d = intIndex + offset;
            if (d >= 0 && d < len)
                emitDigit(d);
            ++intIndex;
            continue;
        }
        if ((c == u'0' || c == u'#') && afterPoint) {
            if (fracIndex < dg.fracDigits.size())
                out.append(QLatin1Char(dg.fracDigits[fracIndex]));
            ++fracIndex;
            continue;
        }
        if (c == u'.' && !afterPoint) {
            flushInt();
            afterPoint = true;
            if (!dg.fracDigits.isEmpty())
                out.append(separator);
            continue;
        }
        if (c == u',')
            continue;
        if (info.scientific && (c == u'E' || c == u'e') && i + 1 < s.size() &&
            (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            flushInt();
            out.append(c);
            out.append(dg.exponent);
            i += 2;
            int skipped = 0;
            while (i < s.size() && s[i] == u'0' && skipped < 4) {
                ++i;
                ++skipped;
            }
            --i;
            afterPoint = true;
            continue;
        }
        out.append(c);
    }
    flushInt();
}

const char16_t* const kMonthShort[12] = {u"1月", u"2月", u"3月", u"4月",  u"5月",  u"6月",
                                         u"7月", u"8月", u"9月", u"10月", u"11月", u"12月"};
const char16_t* const kMonthLong[12] = {u"一月", u"二月", u"三月", u"四月", u"五月",   u"六月",
                                        u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
// Sunday first, as the weekday names are listed.
const char16_t* const kDayShort[7] = {u"周日", u"周一", u"周二", u"周三",
                                      u"周四", u"周五", u"周六"};
const char16_t* const kDayLong[7] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                     u"星期四", u"星期五", u"星期六"};

QString two(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

bool startsWithCi(const QString& s, qsizetype at, QStringView what) {
    return s.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

// OLE day numbers count from 1899-12-30.
const QDateTime kDayZero(QDate(1899, 12, 30), QTime(0, 0));

QString formatDateTimeImpl(const QString& pattern, const QDateTime& dt, QChar dateSep, int depth);

QString formatDateTimeImpl(const QString& pattern, const QDateTime& dt, QChar dateSep, int depth) {
    const QDate date = dt.date();
    const QTime time = dt.time();
    // "am/pm" or "a/p" anywhere turns the hours into a 12-hour clock.
    bool twelve = false;
    {
        QChar quote;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const QChar c = pattern[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'\'' || c == u'"') {
                quote = c;
            } else if (startsWithCi(pattern, i, u"am/pm") || startsWithCi(pattern, i, u"a/p")) {
                twelve = true;
            }
        }
    }
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (c == u'\'' || c == u'"') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out.append(pattern.mid(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (lc == u'a') {
            if (startsWithCi(pattern, i, u"am/pm")) {
                out.append(time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
                i += 5;
                continue;
            }
            if (startsWithCi(pattern, i, u"a/p")) {
                out.append(time.hour() < 12 ? u'a' : u'p');
                i += 3;
                continue;
            }
        }
        qsizetype n = 1;
        if (lc == u'y' || lc == u'm' || lc == u'd' || lc == u'h' || lc == u'n' || lc == u's' ||
            lc == u'z' || lc == u't') {
            while (i + n < pattern.size() && pattern[i + n].toLower() == lc)
                ++n;
        }
        switch (lc.unicode()) {
        case u'y':
            out.append(n <= 2 ? two(date.year() % 100)
                              : QString::number(date.year()).rightJustified(4, u'0'));
            afterHour = false;
            break;
        case u'm':
            if (afterHour && n <= 2) {
                out.append(n == 1 ? QString::number(time.minute()) : two(time.minute()));
            } else if (n == 1) {
                out.append(QString::number(date.month()));
            } else if (n == 2) {
                out.append(two(date.month()));
            } else if (n == 3) {
                out.append(QString::fromUtf16(kMonthShort[date.month() - 1]));
            } else {
                out.append(QString::fromUtf16(kMonthLong[date.month() - 1]));
            }
            afterHour = false;
            break;
        case u'd':
            if (n == 1)
                out.append(QString::number(date.day()));
            else if (n == 2)
                out.append(two(date.day()));
            else if (n == 3)
                out.append(QString::fromUtf16(kDayShort[date.dayOfWeek() % 7]));
            else if (n == 4)
                out.append(QString::fromUtf16(kDayLong[date.dayOfWeek() % 7]));
            else if (depth == 0)
                out.append(formatDateTimeImpl(n == 5 ? DisplayFormat::shortDateFormat()
                                                     : DisplayFormat::longDateFormat(),
                                              dt, dateSep, depth + 1));
            afterHour = false;
            break;
        case u'h': {
            int h = time.hour();
            if (twelve) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out.append(n == 1 ? QString::number(h) : two(h));
            afterHour = true;
            break;
        }
        case u'n':
            out.append(n == 1 ? QString::number(time.minute()) : two(time.minute()));
            afterHour = false;
            break;
        case u's':
            out.append(n == 1 ? QString::number(time.second()) : two(time.second()));
            afterHour = false;
            break;
        case u'z':
            out.append(n < 3 ? QString::number(time.msec())
                             : QString::number(time.msec()).rightJustified(3, u'0'));
            afterHour = false;
            break;
        case u't':
            if (depth == 0)
                out.append(formatDateTimeImpl(n == 1 ? DisplayFormat::shortTimeFormat()
                                                     : DisplayFormat::longTimeFormat(),
                                              dt, dateSep, depth + 1));
            afterHour = false;
            break;
        case u'/':
            out.append(dateSep);
            break;
        case u':':
            out.append(u':');
            break;
        default:
            out.append(c);
            break;
        }
        i += n;
    }
    return out;
}

QString repeatHash(int n) {
    return QString(std::max(0, n), u'#');
}

} // namespace

// --- the format word -----------------------------------------------------------------

uint32_t DisplayFormat::makeWord(int category, int index, int decimals, QChar separator) {
    return (uint32_t(category & 0x0F) << 24) | (uint32_t(index & 0xFF) << 16) |
           (uint32_t(decimals & 0xFF) << 8) | uint32_t(separator.unicode() & 0xFF);
}

QChar DisplayFormat::separator(uint32_t word) {
    const char16_t c = char16_t(word & 0xFF);
    return c == 0 ? QChar(u'.') : QChar(c);
}

QString DisplayFormat::categoryName(int category) {
    static const char16_t* const names[5] = {u"文本", u"数字", u"日期", u"时间", u"布尔"};
    return category >= 0 && category < 5 ? QString::fromUtf16(names[category]) : QString();
}

QString DisplayFormat::indexLabel(int category, int index) {
    static const char16_t* const numbers[5] = {u"1234,5", u"1234,50", u"1 234,5", u"1 234,50",
                                               u"自定义"};
    static const char16_t* const dates[8] = {
        u"98.11.15",   u"1998.11.15",        u"1998年11月15日",        u"1998 11 15",
        u"1998/11/15", u"星期六 1998 11 15", u"星期六 1998年11月15日", u"自定义"};
    static const char16_t* const times[5] = {u"02:43:35", u"2:43:35", u"02:43", u"2:43", u"自定义"};
    switch (category) {
    case fcText:
        return QStringLiteral("[无]");
    case fcNumber:
        return index >= 0 && index < 5 ? QString::fromUtf16(numbers[index]) : QString();
    case fcDate:
        return index >= 0 && index < 8 ? QString::fromUtf16(dates[index]) : QString();
    case fcTime:
        return index >= 0 && index < 5 ? QString::fromUtf16(times[index]) : QString();
    case fcBoolean:
        return index == kBooleanCustomIndex ? QStringLiteral("自定义")
                                            : tablePattern(fcBoolean, index, 0);
    }
    return QString();
}

QString DisplayFormat::tablePattern(int category, int index, int decimals) {
    static const char16_t* const dates[7] = {
        u"yy.mm.dd",   u"yyyy.mm.dd",      u"yyyy'年'mm'月'dd'日'",   u"yyyy MM dd",
        u"yyyy/mm/dd", u"dddd yyyy MM dd", u"dddd yyyy'年'M'月'd'日'"};
    static const char16_t* const times[4] = {u"hh:nn:ss", u"h:nn:ss", u"hh:nn", u"h:nn"};
    static const char16_t* const booleans[4] = {u"0;1", u"否;是", u"_;x", u"假;真"};
    switch (category) {
    case fcNumber:
        if (index == 0)
            return QStringLiteral("##0.") + repeatHash(decimals);
        if (index == 2)
            return QStringLiteral("#,##0.") + repeatHash(decimals);
        return QString();
    case fcDate:
        return index >= 0 && index < 7 ? QString::fromUtf16(dates[index]) : QString();
    case fcTime:
        return index >= 0 && index < 4 ? QString::fromUtf16(times[index]) : QString();
    case fcBoolean:
        return index >= 0 && index < 4 ? QString::fromUtf16(booleans[index]) : QString();
    }
    return QString();
}

// --- number formatting -----------------------------------------------------------------

QString DisplayFormat::formatGeneral(double value, QChar separator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const Decimal dec = toDecimal(std::fabs(value));
    if (dec.digits.empty())
        return QStringLiteral("0");
    const QString digits = QString::fromStdString(dec.digits);
    const Decimal& d = dec;
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    // Fixed form while the integer digits fit in 15 and the value is not tiny.
    if (d.exp10 > 15 || d.exp10 < -4)
        return sign + scientificGeneral(d, separator);
    QString intPart, fracPart;
    for (int i = 0; i < d.exp10; ++i)
        intPart.append(i < digits.size() ? digits[i] : u'0');
    for (int i = std::min(d.exp10, 0); i < 0; ++i)
        fracPart.append(u'0');
    if (digits.size() > std::max(d.exp10, 0))
        fracPart.append(digits.mid(std::max(d.exp10, 0)));
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    return sign + intPart + (fracPart.isEmpty() ? QString() : separator + fracPart);
}

QString DisplayFormat::formatFixed(double value, int decimals, bool grouping, QChar separator) {
    if (!std::isfinite(value))
        return formatGeneral(value, separator);
    decimals = std::clamp(decimals, 0, 18);
    const Decimal d = toDecimal(std::fabs(value));
    if (d.exp10 > 15)
        return (value < 0 ? QStringLiteral("-") : QString()) + scientificGeneral(d, separator);
    DigitText intPart, fracPart;
    fixedDigits(std::fabs(value), decimals, intPart, fracPart);
    const bool zero = allZero(intPart) && allZero(fracPart);
    if (intPart.isEmpty())
        intPart.append('0');
    QString out = value < 0 && !zero ? QStringLiteral("-") : QString();
    if (grouping)
        out += groupDigits(intPart);
    else
        appendDigits(out, intPart);
    if (decimals > 0) {
        out += separator;
        appendDigits(out, fracPart);
    }
    return out;
}

QString DisplayFormat::formatFloat(const QString& pattern, double value, QChar separator) {
    QString out;
    out.reserve(pattern.size() + 16);
    appendFloat(out, pattern, value, separator);
    return out;
}

void DisplayFormat::appendFloat(QString& out, const QString& pattern, double value,
                                QChar separator) {
    if (pattern.isEmpty() || !std::isfinite(value)) {
        out += formatGeneral(value, separator);
        return;
    }
    // Patterns are few and used for every record: their sections and analysis are kept.
    struct Parsed {
        QStringList sections;
        QList<SectionInfo> infos;
    };
    static QHash<QString, Parsed> cache;
    auto it = cache.constFind(pattern);
    if (it == cache.constEnd()) {
        if (cache.size() > 256)
            cache.clear();
        Parsed parsed;
        parsed.sections = splitSections(pattern);
        for (const QString& sec : parsed.sections)
            parsed.infos.append(analyse(sec));
        it = cache.insert(pattern, parsed);
    }
    const QStringList& sections = it->sections;
    const bool negative = value < 0;
    const double absValue = std::fabs(value);
    const bool hasNegSection = sections.size() > 1 && !sections[1].isEmpty();
    const bool hasZeroSection = sections.size() > 2 && !sections[2].isEmpty();

    const int which = negative && hasNegSection ? 1 : 0;
    const QString& section = sections[which];
    const SectionInfo& info = it->infos[which];
    const SectionDigits dg = digitsFor(info, absValue);
    if (dg.zero && hasZeroSection) {
        renderSection(out, sections[2], it->infos[2], digitsFor(it->infos[2], 0.0), separator);
        return;
    }
    if (negative && !hasNegSection && !dg.zero)
        out.append(u'-');
    renderSection(out, section, info, dg, separator);
}

// --- dates -----------------------------------------------------------------------------

QString DisplayFormat::formatDateTime(const QString& pattern, const QDateTime& value,
                                      QChar dateSeparator) {
    if (pattern.isEmpty())
        return plainText(value);
    return formatDateTimeImpl(pattern, value, dateSeparator, 0);
}

// --- conversions -----------------------------------------------------------------------

bool DisplayFormat::isEmptyValue(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

bool DisplayFormat::toDouble(const QVariant& value, double& out, QChar separator) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        out = value.toBool() ? -1.0 : 0.0;
        return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        out = value.toDouble();
        return true;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        QString s = value.toString().trimmed();
        if (separator != u'.')
            s.replace(separator, u'.');
        bool ok = false;
        out = s.toDouble(&ok);
        if (!ok) {
            // A comma is a decimal mark in typed numbers as well.
            s.replace(u',', u'.');
            out = s.toDouble(&ok);
        }
        return ok && std::isfinite(out);
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        QDateTime dt;
        if (!toDateTime(value, dt))
            return false;
        out = double(kDayZero.msecsTo(dt)) / 86400000.0;
        return true;
    }
    default:
        return false;
    }
}

bool DisplayFormat::toDateTime(const QVariant& value, QDateTime& out) {
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        out = value.toDateTime();
        return out.isValid();
    case QMetaType::QDate:
        out = QDateTime(value.toDate(), QTime(0, 0));
        return out.isValid();
    case QMetaType::QTime:
        out = QDateTime(kDayZero.date(), value.toTime());
        return value.toTime().isValid();
    case QMetaType::QString: {
        const QString s = value.toString().trimmed();
        static const char* const formats[] = {"yyyy-M-d H:m:s", "yyyy-M-d H:m", "yyyy-M-d",
                                              "yyyy/M/d H:m:s", "yyyy/M/d H:m", "yyyy/M/d",
                                              "yyyyMMdd",       "H:m:s",        "H:m"};
        for (const char* f : formats) {
            const QString fmt = QString::fromLatin1(f);
            if (!fmt.contains(u'y')) {
                const QTime t = QTime::fromString(s, fmt);
                if (t.isValid()) {
                    out = QDateTime(kDayZero.date(), t);
                    return true;
                }
                continue;
            }
            const QDateTime dt = QDateTime::fromString(s, fmt);
            if (dt.isValid()) {
                out = dt;
                return true;
            }
        }
        return false;
    }
    default: {
        double d = 0;
        if (value.typeId() == QMetaType::Bool || !toDouble(value, d))
            return false;
        // Day numbers beyond any calendar a report prints are not dates.
        if (!(std::fabs(d) < 3.0e6))
            return false;
        out = kDayZero.addMSecs(qint64(std::llround(d * 86400000.0)));
        return out.isValid();
    }
    }
}

bool DisplayFormat::isZeroNonString(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() == 0.0;
    default:
        return false;
    }
}

QString DisplayFormat::plainText(const QVariant& value, QChar separator) {
    if (isEmptyValue(value))
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return formatGeneral(value.toDouble(), separator);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        QString s = formatDateTimeImpl(shortDateFormat(), dt, u'-', 0);
        if (dt.time() != QTime(0, 0))
            s += u' ' + formatDateTimeImpl(longTimeFormat(), dt, u'-', 0);
        return s;
    }
    case QMetaType::QDate:
        return formatDateTimeImpl(shortDateFormat(), QDateTime(value.toDate(), QTime(0, 0)), u'-',
                                  0);
    case QMetaType::QTime:
        return formatDateTimeImpl(longTimeFormat(), QDateTime(kDayZero.date(), value.toTime()),
                                  u'-', 0);
    default:
        return value.toString();
    }
}

// --- the whole rule --------------------------------------------------------------------

QString DisplayFormat::formatValue(const QVariant& value, uint32_t word,
                                   const QString& formatString) {
    QString out;
    appendValue(out, value, word, formatString);
    return out;
}

void DisplayFormat::appendValue(QString& out, const QVariant& value, uint32_t word,
                                const QString& formatString) {
    if (isEmptyValue(value))
        return;
    if (value.typeId() == QMetaType::QString) {
        // Blank texts print nothing; checked in place, as this runs for every value.
        const QString* text = static_cast<const QString*>(value.constData());
        if (std::all_of(text->cbegin(), text->cend(), [](QChar c) { return c.isSpace(); }))
            return;
    }
    const QChar sep = separator(word);
    const int idx = index(word);
    switch (category(word)) {
    case fcNumber: {
        double d = 0;
        if (!toDouble(value, d, sep))
            break;
        switch (idx) {
        case 0:
        case 2:
            appendFloat(out, tablePattern(fcNumber, idx, decimals(word)), d, sep);
            return;
        case 1:
            out += formatFixed(d, decimals(word), false, sep);
            return;
        case 3:
            out += formatFixed(d, decimals(word), true, sep);
            return;
        default:
            appendFloat(out, formatString, d, sep);
            return;
        }
    }
    case fcDate: {
        QDateTime dt;
        if (!toDateTime(value, dt))
            break;
        const QString pattern = idx <= 6 ? tablePattern(fcDate, idx, 0) : formatString;
        out += formatDateTime(pattern, dt, pattern.contains(u'/') ? u'/' : u'-');
        return;
    }
    case fcTime: {
        QDateTime dt;
        if (!toDateTime(value, dt))
            break;
        const QString pattern =
            idx < kTimeCustomIndex ? tablePattern(fcTime, idx, 0) : formatString;
        out += formatDateTime(pattern, dt, pattern.contains(u'/') ? u'/' : u'-');
        return;
    }
    case fcBoolean: {
        bool b = false;
        double d = 0;
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (s.compare(u"true", Qt::CaseInsensitive) == 0)
                b = true;
            else if (s.compare(u"false", Qt::CaseInsensitive) == 0)
                b = false;
            else if (toDouble(value, d, sep))
                b = d != 0;
            else
                break;
        } else if (toDouble(value, d, sep)) {
            b = d != 0;
        } else {
            break;
        }
        const QString pattern =
            idx < kBooleanCustomIndex ? tablePattern(fcBoolean, idx, 0) : formatString;
        const qsizetype semi = pattern.indexOf(u';');
        if (semi < 0)
            out += b ? QString() : pattern;
        else
            out += b ? QStringView(pattern).mid(semi + 1) : QStringView(pattern).left(semi);
        return;
    }
    default: // text
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            static const QString kTextPattern = QStringLiteral("0.########");
            appendFloat(out, kTextPattern, value.toDouble(), sep);
            return;
        }
        break;
    }
    out += plainText(value, sep);
}

} // namespace kestrane::report
