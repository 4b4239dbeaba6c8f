#include "host/SqlTokenizer.h"

namespace kestrane::host {

namespace {

bool isWordStart(QChar c) {
    // Letters outside ASCII (Chinese names in quoted aliases aside) count as letters, as they
    // do for the servers.
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'@' || c == u'#';
}

} // namespace

std::vector<SqlToken> SqlTokenizer::tokenize(QStringView sql) {
    std::vector<SqlToken> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto push = [&](SqlToken::Kind kind, qsizetype from, qsizetype to) {
        out.push_back(SqlToken{kind, sql.mid(from, to - from).toString()});
    };
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            push(SqlToken::Space, start, i);
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
            push(SqlToken::Comment, start, i);
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            i += 2;
            while (i < n && !(sql[i] == u'*' && i + 1 < n && sql[i + 1] == u'/'))
                ++i;
            i = qMin(n, i + 2);
            push(SqlToken::Comment, start, i);
        } else if (c == u'\'' || c == u'"') {
            // A doubled quote stays inside the token.
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(c == u'\'' ? SqlToken::String : SqlToken::QuotedName, start, i);
        } else if (c == u'[') {
            while (i < n && sql[i] != u']')
                ++i;
            i = qMin(n, i + 1);
            push(SqlToken::QuotedName, start, i);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < n && (sql[j] == u'+' || sql[j] == u'-'))
                    ++j;
                if (j < n && sql[j].isDigit()) {
                    i = j;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
            }
            push(SqlToken::Number, start, i);
        } else if (isWordStart(c)) {
            while (i < n && isWordPart(sql[i]))
                ++i;
            push(SqlToken::Word, start, i);
        } else {
            static const char16_t* const pairs[] = {u"<=", u">=", u"<>", u"!=", u"||"};
            qsizetype len = 1;
            if (i + 1 < n) {
                const QStringView two = sql.mid(i, 2);
                for (const char16_t* p : pairs) {
                    if (two == QStringView(p))
                        len = 2;
                }
            }
            i += len;
            push(SqlToken::Symbol, start, i);
        }
    }
    return out;
}

QString SqlTokenizer::join(const std::vector<SqlToken>& tokens) {
    QString out;
    for (const SqlToken& t : tokens)
        out += t.text;
    return out;
}

} // namespace kestrane::host
