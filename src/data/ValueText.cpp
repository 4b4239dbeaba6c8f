#include "data/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kestrane {

namespace {

// ASCII copy of a short trimmed text, or false when it holds anything else.
bool toAscii(QStringView text, char* out, int capacity, int& length) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() >= capacity)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return false;
        out[i] = char(c);
    }
    length = int(text.size());
    out[length] = 0;
    return true;
}

bool digits(const char* s, int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

int put(char16_t* out, const char* s, int n) {
    for (int i = 0; i < n; ++i)
        out[i] = char16_t(s[i]);
    return n;
}

bool parseDateAscii(const char* s, int n, QDate& date, int& used) {
    int y, m, d;
    if (n >= 10 && (s[4] == '-' || s[4] == '/') && s[7] == s[4] && digits(s, 4, y) &&
        digits(s + 5, 2, m) && digits(s + 8, 2, d)) {
        used = 10;
    } else if (n >= 8 && digits(s, 4, y) && digits(s + 4, 2, m) && digits(s + 6, 2, d) &&
               (n == 8 || s[8] == ' ' || s[8] == 'T')) {
        used = 8;
    } else {
        return false;
    }
    date = QDate(y, m, d);
    return date.isValid();
}

} // namespace

bool ValueText::parseNumber(QStringView text, double& value) {
    char buf[64];
    int n = 0;
    if (!toAscii(text, buf, sizeof buf, n))
        return false;
    const char* b = buf;
    if (*b == '+')
        ++b;
    // from_chars takes no leading '+', and must not take "inf", "nan" or hex forms.
    for (const char* p = b; *p; ++p) {
        const char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(b, buf + n, v);
    if (ec != std::errc() || end != buf + n || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ValueText::parseInteger(QStringView text, int64_t& value) {
    char buf[64];
    int n = 0;
    if (!toAscii(text, buf, sizeof buf, n))
        return false;
    const char* b = buf[0] == '+' ? buf + 1 : buf;
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(b, buf + n, v);
    if (ec == std::errc() && end == buf + n) {
        value = v;
        return true;
    }
    double d = 0;
    if (!parseNumber(text, d) || d != std::floor(d) || d < -9.2233720368547758e18 ||
        d >= 9.2233720368547758e18)
        return false;
    value = int64_t(d);
    return true;
}

bool ValueText::parseDate(QStringView text, QDate& value) {
    char buf[64];
    int n = 0, used = 0;
    if (!toAscii(text, buf, sizeof buf, n))
        return false;
    QDate d;
    if (!parseDateAscii(buf, n, d, used) || used != n)
        return false;
    value = d;
    return true;
}

bool ValueText::parseDateTime(QStringView text, int64_t& msecs) {
    char buf[64];
    int n = 0, used = 0;
    if (!toAscii(text, buf, sizeof buf, n))
        return false;
    QDate d;
    if (!parseDateAscii(buf, n, d, used))
        return false;
    int h = 0, mi = 0, s = 0, ms = 0;
    if (used < n) {
        const char* t = buf + used + 1;
        const int rest = n - used - 1;
        if (buf[used] != ' ' && buf[used] != 'T')
            return false;
        if (rest < 5 || t[2] != ':' || !digits(t, 2, h) || !digits(t + 3, 2, mi))
            return false;
        int pos = 5;
        if (rest > pos) {
            if (t[pos] != ':' || rest < pos + 3 || !digits(t + pos + 1, 2, s))
                return false;
            pos += 3;
            if (rest > pos) {
                if (t[pos] != '.' || rest < pos + 2 || rest > pos + 4 ||
                    !digits(t + pos + 1, rest - pos - 1, ms))
                    return false;
                for (int k = rest - pos - 1; k < 3; ++k)
                    ms *= 10;
                pos = rest;
            }
        }
    }
    const QTime time(h, mi, s, ms);
    if (!time.isValid())
        return false;
    msecs = toMsecs(QDateTime(d, time));
    return true;
}

bool ValueText::parseBoolean(QStringView text, bool& value) {
    const QStringView t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    if (t.compare(u"false", Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    double d = 0;
    if (!parseNumber(t, d))
        return false;
    value = d != 0;
    return true;
}

int64_t ValueText::toMsecs(const QDateTime& value) {
    // The wall-clock reading, whatever the time spec: dates here carry no zone.
    return QDateTime(value.date(), value.time(), Qt::UTC).toMSecsSinceEpoch();
}

QDateTime ValueText::fromMsecs(int64_t msecs) {
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
    return QDateTime(utc.date(), utc.time());
}

int ValueText::formatInteger(int64_t value, char16_t* buffer) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return put(buffer, buf, int(end - buf));
}

int ValueText::formatFloat(double value, char16_t* buffer) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return 0;
    return put(buffer, buf, int(end - buf));
}

int ValueText::formatDate(int64_t julianDay, char16_t* buffer) {
    const QDate d = QDate::fromJulianDay(julianDay);
    if (!d.isValid() || d.year() < 0 || d.year() > 9999)
        return 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year(), d.month(), d.day());
    return put(buffer, buf, 10);
}

int ValueText::formatDateTime(int64_t msecs, char16_t* buffer) {
    const QDateTime dt = fromMsecs(msecs);
    if (!dt.isValid() || dt.date().year() < 0 || dt.date().year() > 9999)
        return 0;
    const QDate d = dt.date();
    const QTime t = dt.time();
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(),
                          d.day(), t.hour(), t.minute(), t.second());
    if (t.msec() != 0)
        n += std::snprintf(buf + n, sizeof buf - n, ".%03d", t.msec());
    return put(buffer, buf, n);
}

} // namespace kestrane
