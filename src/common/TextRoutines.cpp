#include "common/TextRoutines.h"

#include "common/Error.h"

#include <limits>

namespace kestrane {

QString IfThenStr(bool condition, const QString& a, const QString& b) {
    return condition ? a : b;
}

namespace {

// Trims only the space character (not tabs or line breaks), as the product's own trim does.
QString trimSpaces(const QString& s) {
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == u' ')
        ++first;
    while (last > first && s[last - 1] == u' ')
        --last;
    return s.mid(first, last - first);
}

int digitValue(QChar c) {
    char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Reads a signed 64-bit number the way the runtime's text-to-integer conversion does.
bool parseInt64(QStringView s, int64_t& result) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    // Accumulate in unsigned arithmetic; hexadecimal may use all 64 bits (two's complement).
    const uint64_t limit = base == 16
                               ? std::numeric_limits<uint64_t>::max()
                               : uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        int d = digitValue(s[i]);
        if (d < 0 || d >= base)
            return false;
        if (value > (limit - uint64_t(d)) / uint64_t(base))
            return false;
        value = value * uint64_t(base) + uint64_t(d);
    }
    result = negative ? int64_t(0 - value) : int64_t(value);
    return true;
}

} // namespace

bool IsIntText(const QString& s) {
    int64_t ignored = 0;
    return TextToInt64(s, ignored);
}

bool TextToInt64(const QString& s, int64_t& value) {
    if (trimSpaces(s).isEmpty())
        return false;
    int64_t parsed = 0;
    if (!parseInt64(s, parsed))
        return false;
    value = parsed;
    return true;
}

int32_t StrToInt(const QString& s) {
    int64_t value = 0;
    // A hexadecimal text that only reads as negative by wrapping is too large, not negative.
    if (!TextToInt64(s, value) || (value < 0 && !trimSpaces(s).startsWith(u'-')) ||
        value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw Error(QStringLiteral("'%1' 不是有效的整数值").arg(s));
    return int32_t(value);
}

QString PadNum(int width, bool cut, int64_t value) {
    QString text = QString::number(value);
    if (text.size() > width) {
        if (cut)
            return width > 0 ? text.right(width) : QString();
        return text;
    }
    return QString(width - text.size(), u'0') + text;
}

int CountFields(const QString& s, const QString& delimiter) {
    if (s.isEmpty())
        return 0;
    if (delimiter.size() != 1)
        return 1;
    return 1 + int(s.count(delimiter[0]));
}

QString GetField(const QString& s, const QString& delimiter, uint8_t n) {
    const bool oneChar = delimiter.size() == 1;
    qsizetype start = 0, end = s.size();
    int seen = 0;
    for (qsizetype i = 0; oneChar && i < s.size(); ++i) {
        if (s[i] != delimiter[0])
            continue;
        ++seen;
        if (seen == n - 1)
            start = i + 1;
        if (seen == n) {
            end = i;
            break;
        }
    }
    if (n > 1 && seen < n - 1)
        start = 0;
    if (start >= end)
        return QString();
    QString piece = s.mid(start, end - start);
    return piece == s ? QString() : piece;
}

bool SplitText(const QString& separator, const QString& s, QStringList& list) {
    list.clear();
    bool noneEmpty = true;
    auto add = [&](const QString& piece) {
        QString trimmed = trimSpaces(piece);
        noneEmpty = noneEmpty && !trimmed.isEmpty();
        list.append(trimmed);
    };
    QString rest = s;
    if (!separator.isEmpty()) {
        qsizetype at;
        while ((at = rest.indexOf(separator)) >= 0) {
            add(rest.left(at));
            rest = rest.mid(at + separator.size());
        }
    }
    add(rest);
    return noneEmpty;
}

} // namespace kestrane
