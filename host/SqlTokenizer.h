#pragma once
// Splits SQL text into tokens without losing a character: joining the texts of the tokens
// gives the input back. Quoted strings, quoted identifiers ("x" and [x]) and comments are
// single tokens, so nothing inside them is ever taken for a keyword or an operator. The
// tokenizer never fails: an unterminated string or comment runs to the end of the text and
// the database reports it.
#include <QString>
#include <QStringView>
#include <vector>

namespace kestrane::host {

struct SqlToken {
    enum Kind {
        Space,      // blanks, tabs, line breaks
        Comment,    // -- to end of line, or /* ... */
        Word,       // keyword or plain identifier (letters, digits, '_', '$', '#', '@')
        QuotedName, // "name" or [name]
        String,     // 'text' with '' inside
        Number,     // 12, 1.5, .5, 1e3
        Symbol,     // one operator or punctuation; <= >= <> != || are one token
    };
    Kind kind = Space;
    QString text;

    bool isWord(QStringView word) const {
        return kind == Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView symbol) const { return kind == Symbol && text == symbol; }
    bool isBlank() const { return kind == Space || kind == Comment; }
};

class SqlTokenizer {
public:
    static std::vector<SqlToken> tokenize(QStringView sql);
    static QString join(const std::vector<SqlToken>& tokens);
};

} // namespace kestrane::host
