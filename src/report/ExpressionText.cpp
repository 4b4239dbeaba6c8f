#include "report/ExpressionText.h"

#include "report/DisplayFormat.h"

namespace kestrane::report {

namespace {

// Position of the `close` that matches the `open` at or after `start`, skipping quoted text;
// -1 when there is none.
qsizetype findMatching(const QString& text, qsizetype start, QChar open, QChar close) {
    int depth = 0;
    bool inSingle = false;
    bool inDouble = false;
    for (qsizetype i = start; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\'' && !inDouble) {
            inSingle = !inSingle;
        } else if (c == u'"' && !inSingle) {
            inDouble = !inDouble;
        } else if (!inSingle && !inDouble) {
            if (c == open) {
                ++depth;
            } else if (c == close) {
                --depth;
                if (depth == 0)
                    return i;
            }
        }
    }
    return -1;
}

} // namespace

qsizetype ExpressionText::findBracketEnd(const QString& text, qsizetype start) {
    return findMatching(text, start, u'[', u']');
}

QString ExpressionText::splitFormatSuffix(const QString& text, uint32_t& word,
                                          QString& formatString) {
    const qsizetype at = text.indexOf(QStringLiteral(" #"));
    if (at < 0)
        return text;
    const QString expr = text.left(at);
    const QString spec = text.mid(at + 2);
    if (spec.isEmpty())
        return expr;
    const QChar first = spec[0];
    if (first.isDigit() || first == u'N' || first == u'n') {
        word = DisplayFormat::makeWord(fcNumber, kNumberCustomIndex, 0, u'.');
    } else if (first == u'B' || first == u'b') {
        word = DisplayFormat::makeWord(fcBoolean, kBooleanCustomIndex, 0, u'.');
    } else if (first == u'D' || first == u'd') {
        word = DisplayFormat::makeWord(fcDate, kDateCustomIndex, 0, u'.');
    } else if (first == u'T' || first == u't') {
        word = DisplayFormat::makeWord(fcTime, kTimeCustomIndex, 0, u'.');
    } else {
        return expr;
    }
    formatString = spec.mid(1);
    return expr;
}

bool ExpressionText::isSingleBracket(const QString& text, QString& inner) {
    QString t = text.trimmed();
    if (!t.startsWith(u'['))
        return false;
    // Whatever follows the last "]" does not count.
    t.truncate(t.lastIndexOf(u']') + 1);
    const qsizetype end = findBracketEnd(t, 0);
    if (end < 0 || end != t.size() - 1)
        return false;
    inner = t.mid(1, end - 1);
    return true;
}

QStringList ExpressionText::splitArguments(const QString& text) {
    QStringList args;
    QString cur;
    int depth = 0;
    bool inSingle = false;
    for (QChar c : text) {
        if (c == u'\'') {
            inSingle = !inSingle;
        } else if (!inSingle) {
            if (c == u'(' || c == u'[') {
                ++depth;
            } else if (c == u')' || c == u']') {
                --depth;
            } else if (c == u',' && depth == 0) {
                args.append(cur.trimmed());
                cur.clear();
                continue;
            }
        }
        cur.append(c);
    }
    args.append(cur.trimmed());
    return args;
}

qsizetype ExpressionText::findParenEnd(const QString& text, qsizetype open) {
    return findMatching(text, open, u'(', u')');
}

} // namespace kestrane::report
