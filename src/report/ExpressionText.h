#pragma once
// The text-level rules of report expressions: finding a bracketed expression in a text,
// splitting off the " #" format suffix, and cutting function arguments. Kept apart from the
// evaluator because the memo expansion, the binding of views to fields and the calculated
// memos all use them on plain text.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane::report {

class ExpressionText {
public:
    // `start` is the index of a "["; returns the index of the "]" that closes it, or -1.
    // Brackets inside single- or double-quoted parts do not count; a double quote toggles
    // its state only outside single quotes and vice versa.
    static qsizetype findBracketEnd(const QString& text, qsizetype start);

    // Splits "expr #spec" into the expression and the format it asks for. When the text has
    // no " #" suffix, or its first character chooses no category, `word` and `formatString`
    // keep the values passed in (the view's own format).
    static QString splitFormatSuffix(const QString& text, uint32_t& word, QString& formatString);

    // When the text starts with "[" and, cut after its last "]", is one bracketed expression,
    // returns that expression's inside.
    static bool isSingleBracket(const QString& text, QString& inner);

    // Splits an argument list text at commas at nesting level zero (parentheses and
    // brackets count; single-quoted parts do not). Missing arguments are empty texts.
    static QStringList splitArguments(const QString& text);

    // Index of the ")" matching the "(" at `open`, or -1.
    static qsizetype findParenEnd(const QString& text, qsizetype open);
};

} // namespace kestrane::report
