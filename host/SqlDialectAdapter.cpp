#include "host/SqlDialectAdapter.h"

#include "host/SqlTokenizer.h"

#include <algorithm>
#include <vector>

namespace kestrane::host {

namespace {

// A token, or a parenthesised group of nodes.
struct Node {
    SqlToken token; // for a group: the "(" token
    bool group = false;
    bool closed = false;     // the group's ")" was present
    std::vector<Node> items; // content of a group

    bool isWord(QStringView w) const { return !group && token.isWord(w); }
    bool isSymbol(QStringView s) const { return !group && token.isSymbol(s); }
    bool isBlank() const { return !group && token.isBlank(); }
};

using Nodes = std::vector<Node>;

Node tokenNode(SqlToken::Kind kind, const QString& text) {
    Node n;
    n.token = SqlToken{kind, text};
    return n;
}

// Builds the group tree. A stray ")" stays a plain symbol; an unclosed "(" runs to the end.
Nodes buildTree(const std::vector<SqlToken>& tokens, std::size_t& pos, bool inGroup) {
    Nodes out;
    while (pos < tokens.size()) {
        const SqlToken& t = tokens[pos];
        if (t.isSymbol(u")") && inGroup)
            return out;
        ++pos;
        if (t.isSymbol(u"(")) {
            Node g;
            g.group = true;
            g.token = t;
            g.items = buildTree(tokens, pos, true);
            if (pos < tokens.size()) {
                g.closed = true;
                ++pos;
            }
            out.push_back(std::move(g));
        } else {
            Node n;
            n.token = t;
            out.push_back(std::move(n));
        }
    }
    return out;
}

void print(const Nodes& nodes, QString& out) {
    for (const Node& n : nodes) {
        if (n.group) {
            out += u'(';
            print(n.items, out);
            if (n.closed)
                out += u')';
        } else {
            out += n.token.text;
        }
    }
}

// Index of the next node that is not blank, from `from` on; nodes.size() when none.
std::size_t nextSig(const Nodes& nodes, std::size_t from, std::size_t end) {
    while (from < end && nodes[from].isBlank())
        ++from;
    return from;
}

std::size_t nextSig(const Nodes& nodes, std::size_t from) {
    return nextSig(nodes, from, nodes.size());
}

bool isSetOperator(const Node& n) {
    return n.isWord(u"union") || n.isWord(u"except") || n.isWord(u"intersect");
}

// End of the select that starts at `select`: the next set operator on the same level, or the
// end of the level. Trailing blanks are left outside.
std::size_t selectEnd(const Nodes& nodes, std::size_t select) {
    std::size_t end = nodes.size();
    for (std::size_t i = select + 1; i < nodes.size(); ++i) {
        if (isSetOperator(nodes[i])) {
            end = i;
            break;
        }
    }
    while (end > select + 1 && nodes[end - 1].isBlank())
        --end;
    return end;
}

void insertLimit(Nodes& nodes, std::size_t at, const QString& count) {
    const Node seq[] = {tokenNode(SqlToken::Space, u" "_qs), tokenNode(SqlToken::Word, u"limit"_qs),
                        tokenNode(SqlToken::Space, u" "_qs), tokenNode(SqlToken::Number, count)};
    nodes.insert(nodes.begin() + std::ptrdiff_t(at), std::begin(seq), std::end(seq));
}

// select top N ... -> select ... limit N
void rewriteTop(Nodes& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].isWord(u"select"))
            continue;
        std::size_t t = nextSig(nodes, i + 1);
        if (t < nodes.size() && (nodes[t].isWord(u"distinct") || nodes[t].isWord(u"all")))
            t = nextSig(nodes, t + 1);
        if (t >= nodes.size() || !nodes[t].isWord(u"top"))
            continue;
        const std::size_t c = nextSig(nodes, t + 1);
        if (c >= nodes.size())
            continue;
        QString count;
        if (!nodes[c].group && nodes[c].token.kind == SqlToken::Number) {
            count = nodes[c].token.text;
        } else if (nodes[c].group && nodes[c].items.size() == 1 &&
                   nodes[c].items[0].token.kind == SqlToken::Number) {
            count = nodes[c].items[0].token.text;
        } else {
            continue;
        }
        // Drop "top N" and the blank after it.
        std::size_t last = c + 1;
        if (last < nodes.size() && nodes[last].isBlank())
            ++last;
        nodes.erase(nodes.begin() + std::ptrdiff_t(t), nodes.begin() + std::ptrdiff_t(last));
        insertLimit(nodes, selectEnd(nodes, i), count);
    }
}

// fetch first N rows only -> limit N
void rewriteFetchFirst(Nodes& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].isWord(u"fetch"))
            continue;
        std::size_t k = nextSig(nodes, i + 1);
        if (k >= nodes.size() || !(nodes[k].isWord(u"first") || nodes[k].isWord(u"next")))
            continue;
        k = nextSig(nodes, k + 1);
        QString count = u"1"_qs;
        if (k < nodes.size() && !nodes[k].group && nodes[k].token.kind == SqlToken::Number) {
            count = nodes[k].token.text;
            k = nextSig(nodes, k + 1);
        }
        if (k >= nodes.size() || !(nodes[k].isWord(u"rows") || nodes[k].isWord(u"row")))
            continue;
        k = nextSig(nodes, k + 1);
        if (k >= nodes.size() || !nodes[k].isWord(u"only"))
            continue;
        nodes.erase(nodes.begin() + std::ptrdiff_t(i), nodes.begin() + std::ptrdiff_t(k + 1));
        const Node seq[] = {tokenNode(SqlToken::Word, u"limit"_qs),
                            tokenNode(SqlToken::Space, u" "_qs),
                            tokenNode(SqlToken::Number, count)};
        nodes.insert(nodes.begin() + std::ptrdiff_t(i), std::begin(seq), std::end(seq));
    }
}

// Words that end an operand chain of '+' (besides ',', comparisons and ';').
bool isChainBreak(const Node& n) {
    static const char16_t* const words[] = {
        u"select",  u"from",  u"where",    u"and",   u"or",    u"not",   u"when",
        u"then",    u"else",  u"end",      u"case",  u"as",    u"on",    u"group",
        u"by",      u"order", u"having",   u"union", u"all",   u"in",    u"like",
        u"between", u"is",    u"join",     u"left",  u"right", u"inner", u"outer",
        u"exists",  u"top",   u"distinct", u"asc",   u"desc",  u"escape"};
    if (n.group)
        return false;
    if (n.token.kind == SqlToken::Symbol) {
        static const char16_t* const symbols[] = {u",", u"=",  u"<>", u"!=", u"<",
                                                  u">", u"<=", u">=", u";"};
        for (const char16_t* s : symbols) {
            if (n.token.text == QStringView(s))
                return true;
        }
        return false;
    }
    if (n.token.kind != SqlToken::Word)
        return false;
    for (const char16_t* w : words) {
        if (n.isWord(w))
            return true;
    }
    return false;
}

bool isTextFunction(const Node& n) {
    static const char16_t* const words[] = {u"left",    u"right", u"substring", u"substr",
                                            u"ltrim",   u"rtrim", u"upper",     u"lower",
                                            u"replace", u"char",  u"str",       u"trim"};
    for (const char16_t* w : words) {
        if (n.isWord(w))
            return true;
    }
    return false;
}

// Whether the group holds text at its top level: a string, a concatenation, a text function.
bool groupIsText(const Node& g);

// cast(... as [n]char|varchar ...)
bool castsToText(const Node& g) {
    for (std::size_t i = 0; i < g.items.size(); ++i) {
        if (!g.items[i].isWord(u"as"))
            continue;
        const std::size_t t = nextSig(g.items, i + 1);
        if (t < g.items.size()) {
            const Node& type = g.items[t];
            return type.isWord(u"char") || type.isWord(u"varchar") || type.isWord(u"nchar") ||
                   type.isWord(u"nvarchar") || type.isWord(u"text");
        }
    }
    return false;
}

// A '+' chain is text when one of its operands is: T-SQL decides '+' by its operands' types,
// and every text operand of the module's statements is a literal, a text function or a
// parenthesised text expression.
void rewriteConcat(Nodes& nodes) {
    std::size_t segStart = 0;
    auto finish = [&](std::size_t segEnd) {
        bool text = false;
        std::vector<std::size_t> plus;
        for (std::size_t i = segStart; i < segEnd; ++i) {
            const Node& n = nodes[i];
            if (n.isSymbol(u"+")) {
                plus.push_back(i);
            } else if (n.isSymbol(u"||")) {
                text = true;
            } else if (!n.group && n.token.kind == SqlToken::String) {
                text = true;
            } else if (n.group) {
                const std::size_t prev = [&] {
                    std::size_t p = i;
                    while (p > segStart && nodes[p - 1].isBlank())
                        --p;
                    return p;
                }();
                const Node* fn = prev > segStart ? &nodes[prev - 1] : nullptr;
                if (fn && isTextFunction(*fn))
                    text = true;
                else if (fn && fn->isWord(u"cast") && castsToText(n))
                    text = true;
                else if (!fn || fn->group || fn->token.kind != SqlToken::Word)
                    text = text || groupIsText(n);
            }
        }
        if (text) {
            for (std::size_t p : plus)
                nodes[p].token.text = u"||"_qs;
        }
    };
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        // "left" and "right" end a chain as join words, not as the text functions.
        const bool call = (nodes[i].isWord(u"left") || nodes[i].isWord(u"right")) &&
                          nextSig(nodes, i + 1) < nodes.size() &&
                          nodes[nextSig(nodes, i + 1)].group;
        if (!call && isChainBreak(nodes[i])) {
            finish(i);
            segStart = i + 1;
        }
    }
    finish(nodes.size());
}

bool groupIsText(const Node& g) {
    for (std::size_t i = 0; i < g.items.size(); ++i) {
        const Node& n = g.items[i];
        if (isChainBreak(n))
            return false;
        if (n.isSymbol(u"||") || (!n.group && n.token.kind == SqlToken::String))
            return true;
        if (n.group && i > 0 && isTextFunction(g.items[i - 1]))
            return true;
    }
    return false;
}

// Splits [from, to) at top-level commas.
std::vector<std::pair<std::size_t, std::size_t>> splitAtCommas(const Nodes& nodes, std::size_t from,
                                                               std::size_t to) {
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t start = from;
    for (std::size_t i = from; i < to; ++i) {
        if (nodes[i].isSymbol(u",")) {
            parts.emplace_back(start, i);
            start = i + 1;
        }
    }
    parts.emplace_back(start, to);
    return parts;
}

// select alias = expr, ... -> select expr AS alias, ...
void rewriteAliases(Nodes& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].isWord(u"select"))
            continue;
        std::size_t from = nodes.size();
        for (std::size_t k = i + 1; k < nodes.size(); ++k) {
            if (nodes[k].isWord(u"from") || isSetOperator(nodes[k])) {
                from = k;
                break;
            }
        }
        auto parts = splitAtCommas(nodes, i + 1, from);
        // Rewrite from the last item, so that earlier indexes stay valid.
        for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
            const auto [a, b] = *it;
            const std::size_t name = nextSig(nodes, a, b);
            if (name >= b || nodes[name].group)
                continue;
            const SqlToken& nt = nodes[name].token;
            if (!(nt.kind == SqlToken::Word || nt.kind == SqlToken::QuotedName) ||
                nt.isWord(u"distinct") || nt.isWord(u"all") || nt.isWord(u"case"))
                continue;
            const std::size_t eq = nextSig(nodes, name + 1, b);
            if (eq >= b || !nodes[eq].isSymbol(u"="))
                continue;
            std::size_t exprStart = nextSig(nodes, eq + 1, b);
            std::size_t exprEnd = b;
            while (exprEnd > exprStart && nodes[exprEnd - 1].isBlank())
                --exprEnd;
            if (exprStart >= exprEnd)
                continue;
            Nodes rebuilt(nodes.begin() + std::ptrdiff_t(exprStart),
                          nodes.begin() + std::ptrdiff_t(exprEnd));
            rebuilt.push_back(tokenNode(SqlToken::Space, u" "_qs));
            rebuilt.push_back(tokenNode(SqlToken::Word, u"AS"_qs));
            rebuilt.push_back(tokenNode(SqlToken::Space, u" "_qs));
            rebuilt.push_back(nodes[name]);
            nodes.erase(nodes.begin() + std::ptrdiff_t(name),
                        nodes.begin() + std::ptrdiff_t(exprEnd));
            nodes.insert(nodes.begin() + std::ptrdiff_t(name), rebuilt.begin(), rebuilt.end());
        }
    }
}

// The arguments of a call group, each as a node range of the group's items.
Nodes joinArgs(const std::vector<Nodes>& args) {
    Nodes out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            out.push_back(tokenNode(SqlToken::Symbol, u","_qs));
        out.insert(out.end(), args[i].begin(), args[i].end());
    }
    return out;
}

std::vector<Nodes> callArgs(const Node& group) {
    std::vector<Nodes> args;
    for (const auto& [a, b] : splitAtCommas(group.items, 0, group.items.size()))
        args.emplace_back(group.items.begin() + std::ptrdiff_t(a),
                          group.items.begin() + std::ptrdiff_t(b));
    return args;
}

// Renames of single functions; left() and right() for SQLite, which has neither.
void rewriteFunctions(Nodes& nodes, SqlSourceDialect source, SqlBackendKind backend) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].group || nodes[i].token.kind != SqlToken::Word)
            continue;
        const std::size_t g = nextSig(nodes, i + 1);
        if (g >= nodes.size() || !nodes[g].group)
            continue;
        Node& word = nodes[i];
        Node& call = nodes[g];
        if (source == SqlSourceDialect::SqlServer && word.isWord(u"len")) {
            word.token.text = u"length"_qs;
        } else if (source == SqlSourceDialect::SqlServer && word.isWord(u"isnull")) {
            word.token.text = u"coalesce"_qs;
        } else if (backend == SqlBackendKind::Sqlite &&
                   (word.isWord(u"left") || word.isWord(u"right"))) {
            std::vector<Nodes> args = callArgs(call);
            if (args.size() != 2)
                continue;
            const bool left = word.isWord(u"left");
            word.token.text = u"substr"_qs;
            if (left) {
                args.insert(args.begin() + 1, Nodes{tokenNode(SqlToken::Number, u"1"_qs)});
            } else {
                // right(x, n) = substr(x, -(n)): a negative start counts from the end, and a
                // text shorter than n comes back whole, as right() gives it.
                Node neg;
                neg.group = true;
                neg.closed = true;
                neg.token = SqlToken{SqlToken::Symbol, u"("_qs};
                neg.items = args[1];
                args[1] = Nodes{tokenNode(SqlToken::Symbol, u"-"_qs), neg};
            }
            call.items = joinArgs(args);
        }
    }
}

void rewriteLevel(Nodes& nodes, SqlSourceDialect source, SqlBackendKind backend) {
    for (Node& n : nodes) {
        if (n.group)
            rewriteLevel(n.items, source, backend);
    }
    if (source == SqlSourceDialect::SqlServer) {
        for (Node& n : nodes) {
            if (!n.group && n.token.kind == SqlToken::QuotedName && n.token.text.startsWith(u'[')) {
                QString name = n.token.text.mid(1);
                if (name.endsWith(u']'))
                    name.chop(1);
                n.token.text = u'"' + name.replace(u'"', u"\"\""_qs) + u'"';
            }
        }
        rewriteConcat(nodes);
        rewriteAliases(nodes);
        rewriteTop(nodes);
    }
    if (backend == SqlBackendKind::Sqlite)
        rewriteFetchFirst(nodes);
    rewriteFunctions(nodes, source, backend);
}

} // namespace

QString SqlDialectAdapter::adapt(const QString& sql) const {
    if (m_source == SqlSourceDialect::Db2 && m_backend == SqlBackendKind::PostgreSql)
        return sql;
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    std::size_t pos = 0;
    Nodes tree;
    // A stray ")" at the top level ends buildTree early; keep whatever follows as it is.
    while (pos < tokens.size()) {
        Nodes part = buildTree(tokens, pos, false);
        tree.insert(tree.end(), std::make_move_iterator(part.begin()),
                    std::make_move_iterator(part.end()));
    }
    rewriteLevel(tree, m_source, m_backend);
    QString out;
    print(tree, out);
    return out;
}

bool SqlDialectAdapter::sourceFromKind(const QString& kind, SqlSourceDialect& source) {
    if (kind == u"SQLSERVER") {
        source = SqlSourceDialect::SqlServer;
        return true;
    }
    if (kind == u"DB2") {
        source = SqlSourceDialect::Db2;
        return true;
    }
    return false;
}

} // namespace kestrane::host
