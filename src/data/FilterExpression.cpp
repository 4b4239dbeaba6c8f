#include "data/FilterExpression.h"

#include "common/Error.h"
#include "data/Table.h"
#include "data/ValueText.h"

#include <cmath>

namespace kestrane {

namespace {

// ---- tokens -------------------------------------------------------------------------------

enum class Tok { End, LParen, RParen, Op, Text, Number, Name };

struct Token {
    Tok kind = Tok::End;
    int pos = 0;  // 1-based character position
    QString text; // operator, literal text (quotes removed), number as written, or name
    bool bracketed = false;
};

[[noreturn]] void fail(int pos, const QString& what) {
    throw Error(QStringLiteral("filter text, character %1: %2").arg(pos).arg(what));
}

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'@' || c == u'#' || c == u'$';
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (true) {
        while (i < n && s[i].isSpace())
            ++i;
        Token t;
        t.pos = int(i + 1);
        if (i >= n) {
            out.push_back(t);
            return out;
        }
        const QChar c = s[i];
        if (c == u'(') {
            t.kind = Tok::LParen;
            ++i;
        } else if (c == u')') {
            t.kind = Tok::RParen;
            ++i;
        } else if (c == u'\'') {
            t.kind = Tok::Text;
            ++i;
            while (true) {
                if (i >= n)
                    fail(t.pos,
                         QStringLiteral("text literal is not closed (expected ' before the end)"));
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        t.text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t.text += s[i++];
            }
        } else if (c == u'[') {
            t.kind = Tok::Name;
            t.bracketed = true;
            const qsizetype close = s.indexOf(u']', i + 1);
            if (close < 0)
                fail(t.pos, QStringLiteral("field name in brackets is not closed (expected ])"));
            t.text = s.mid(i + 1, close - i - 1).trimmed();
            if (t.text.isEmpty())
                fail(t.pos, QStringLiteral("empty field name in brackets"));
            i = close + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            t.kind = Tok::Number;
            const qsizetype start = i;
            while (i < n && (s[i].isDigit() || s[i] == u'.'))
                ++i;
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-'))
                    ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            t.text = s.mid(start, i - start);
            if (i < n && isNameStart(s[i]))
                fail(int(i + 1),
                     QStringLiteral("unexpected '%1' after the number %2").arg(s[i]).arg(t.text));
            double d = 0;
            if (!ValueText::parseNumber(t.text, d))
                fail(t.pos, QStringLiteral("malformed number %1").arg(t.text));
        } else if (isNameStart(c)) {
            t.kind = Tok::Name;
            const qsizetype start = i;
            while (i < n && isNamePart(s[i]))
                ++i;
            t.text = s.mid(start, i - start);
        } else if (c == u'=') {
            t.kind = Tok::Op;
            t.text = QStringLiteral("=");
            ++i;
        } else if (c == u'<' || c == u'>' || c == u'!') {
            t.kind = Tok::Op;
            if (i + 1 < n && (s[i + 1] == u'=' || (c == u'<' && s[i + 1] == u'>'))) {
                t.text = s.mid(i, 2);
                i += 2;
            } else {
                if (c == u'!')
                    fail(t.pos, QStringLiteral("expected != but found a lone !"));
                t.text = QString(c);
                ++i;
            }
        } else if (c == u'-' || c == u'+') {
            t.kind = Tok::Op;
            t.text = QString(c);
            ++i;
        } else {
            fail(t.pos, QStringLiteral("unexpected character '%1'").arg(c));
        }
        out.push_back(std::move(t));
    }
}

QString describe(const Token& t) {
    switch (t.kind) {
    case Tok::End:
        return QStringLiteral("the end of the text");
    case Tok::LParen:
        return QStringLiteral("'('");
    case Tok::RParen:
        return QStringLiteral("')'");
    case Tok::Text:
        return QStringLiteral("the text '%1'").arg(t.text.left(30));
    default:
        return QStringLiteral("'%1'").arg(t.text.left(30));
    }
}

// ---- values compared the way the language says ------------------------------------------

enum class CmpOp { Eq, Ne, Lt, Le, Gt, Ge };

bool applyOp(int cmp, CmpOp op) {
    switch (op) {
    case CmpOp::Eq:
        return cmp == 0;
    case CmpOp::Ne:
        return cmp != 0;
    case CmpOp::Lt:
        return cmp < 0;
    case CmpOp::Le:
        return cmp <= 0;
    case CmpOp::Gt:
        return cmp > 0;
    case CmpOp::Ge:
        return cmp >= 0;
    }
    return false;
}

CmpOp flipped(CmpOp op) {
    switch (op) {
    case CmpOp::Lt:
        return CmpOp::Gt;
    case CmpOp::Le:
        return CmpOp::Ge;
    case CmpOp::Gt:
        return CmpOp::Lt;
    case CmpOp::Ge:
        return CmpOp::Le;
    default:
        return op;
    }
}

// A value during evaluation. Texts are views; numbers and times also carry their text form
// (written into a caller's buffer) for LIKE and for comparisons with non-numeric texts.
struct Cell {
    enum Kind { Null, Number, Time, Text } kind = Null;
    double number = 0;
    int64_t msecs = 0;
    QStringView text;
};

int compareNumbers(double a, double b, bool& comparable) {
    if (std::isnan(a) || std::isnan(b)) {
        comparable = false;
        return 0;
    }
    return a < b ? -1 : a > b ? 1 : 0;
}

int compareTexts(QStringView a, QStringView b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Compares two non-null cells. `comparable` turns false for NaN.
int compareCells(const Cell& a, const Cell& b, bool& comparable) {
    comparable = true;
    if (a.kind == Cell::Number && b.kind == Cell::Number)
        return compareNumbers(a.number, b.number, comparable);
    if (a.kind == Cell::Time && b.kind == Cell::Time)
        return a.msecs < b.msecs ? -1 : a.msecs > b.msecs ? 1 : 0;
    if (a.kind == Cell::Text && b.kind == Cell::Number) {
        double d = 0;
        if (ValueText::parseNumber(a.text, d))
            return compareNumbers(d, b.number, comparable);
        return compareTexts(a.text, b.text);
    }
    if (a.kind == Cell::Number && b.kind == Cell::Text) {
        double d = 0;
        if (ValueText::parseNumber(b.text, d))
            return compareNumbers(a.number, d, comparable);
        return compareTexts(a.text, b.text);
    }
    if (a.kind == Cell::Text && b.kind == Cell::Time) {
        int64_t ms = 0;
        if (ValueText::parseDateTime(a.text, ms))
            return ms < b.msecs ? -1 : ms > b.msecs ? 1 : 0;
        return compareTexts(a.text, b.text);
    }
    if (a.kind == Cell::Time && b.kind == Cell::Text) {
        int64_t ms = 0;
        if (ValueText::parseDateTime(b.text, ms))
            return a.msecs < ms ? -1 : a.msecs > ms ? 1 : 0;
        return compareTexts(a.text, b.text);
    }
    return compareTexts(a.text, b.text);
}

// LIKE over case-folded texts: '%' any run (also empty), '_' exactly one UTF-16 unit.
bool likeFolded(QStringView s, QStringView p) {
    qsizetype si = 0, pi = 0, starP = -1, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == u'_' || (p[pi] != u'%' && p[pi] == s[si]))) {
            ++si;
            ++pi;
        } else if (pi < p.size() && p[pi] == u'%') {
            starP = pi++;
            starS = si;
        } else if (starP >= 0) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'%')
        ++pi;
    return pi == p.size();
}

// A pattern prepared once: folded, and recognised when it is a plain "%text%", "text%",
// "%text" or "text" so that the common cases need no general matching.
struct LikePattern {
    enum Shape { General, Contains, Prefix, Suffix, Exact } shape = General;
    QString folded; // whole folded pattern
    QString core;   // the text between the wildcards for the simple shapes

    explicit LikePattern(QStringView pattern = {}) {
        folded = pattern.toString().toCaseFolded();
        if (folded.contains(u'_'))
            return;
        const qsizetype first = folded.indexOf(u'%');
        if (first < 0) {
            shape = Exact;
            core = folded;
            return;
        }
        const bool lead = folded.startsWith(u'%');
        const bool trail = folded.endsWith(u'%');
        QStringView inner(folded);
        if (lead)
            inner = inner.mid(1);
        if (trail && !inner.isEmpty())
            inner.chop(1);
        if (inner.contains(u'%'))
            return;
        core = inner.toString();
        shape = lead && trail ? Contains : lead ? Suffix : Prefix;
    }

    bool matches(QStringView text) const {
        switch (shape) {
        case Contains:
            return text.contains(core, Qt::CaseInsensitive);
        case Prefix:
            return text.startsWith(core, Qt::CaseInsensitive);
        case Suffix:
            return text.endsWith(core, Qt::CaseInsensitive);
        case Exact:
            return text.compare(core, Qt::CaseInsensitive) == 0;
        case General:
            break;
        }
        return likeFolded(text.toString().toCaseFolded(), folded);
    }
};

} // namespace

// ---- the tree -----------------------------------------------------------------------------

struct Operand {
    enum Kind { Field, Literal } kind = Literal;
    int column = -1;
    Cell literal;    // literal value (text views point into `storage`)
    QString storage; // literal text (as written for numbers)
    int pos = 0;
};

// The literal's value, its text viewing the operand's own storage (operands get copied while
// the tree is built, so the view is made fresh each time).
Cell literalCell(const Operand& o) {
    Cell c = o.literal;
    c.text = o.storage;
    return c;
}

struct FilterExpression::Node {
    enum Kind { And, Or, Not, Const, Compare, Like, Between, IsNull } kind = Const;
    bool value = false; // Const
    CmpOp op = CmpOp::Eq;
    std::shared_ptr<const Node> left, right; // And, Or, Not (left)
    Operand a, b, c;
    std::shared_ptr<const LikePattern> pattern; // Like
};

using NodePtr = std::shared_ptr<FilterExpression::Node>;

namespace {

class Parser {
public:
    Parser(const QString& text, const QList<FieldDef>& fields)
        : m_tokens(tokenize(text)), m_fields(fields) {}

    NodePtr parse() {
        NodePtr root = parseOr();
        if (peek().kind != Tok::End)
            fail(peek().pos, QStringLiteral("expected AND, OR or the end of the text, found %1")
                                 .arg(describe(peek())));
        return root;
    }

private:
    const Token& peek() const { return m_tokens[m_at]; }
    const Token& take() { return m_tokens[m_at < m_tokens.size() - 1 ? m_at++ : m_at]; }
    bool isKeyword(const Token& t, const char* word) const {
        return t.kind == Tok::Name && !t.bracketed &&
               t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool acceptKeyword(const char* word) {
        if (!isKeyword(peek(), word))
            return false;
        ++m_at;
        return true;
    }
    bool isReserved(const Token& t) const {
        for (const char* w : {"and", "or", "not", "like", "between", "is", "null"}) {
            if (isKeyword(t, w))
                return true;
        }
        return false;
    }

    static NodePtr binary(FilterExpression::Node::Kind kind, NodePtr l, NodePtr r) {
        auto n = std::make_shared<FilterExpression::Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    NodePtr parseOr() {
        NodePtr left = parseAnd();
        while (acceptKeyword("or"))
            left = binary(FilterExpression::Node::Or, left, parseAnd());
        return left;
    }
    NodePtr parseAnd() {
        NodePtr left = parseNot();
        while (acceptKeyword("and"))
            left = binary(FilterExpression::Node::And, left, parseNot());
        return left;
    }
    NodePtr parseNot() {
        if (acceptKeyword("not"))
            return binary(FilterExpression::Node::Not, parseNot(), nullptr);
        if (peek().kind == Tok::LParen) {
            const Token open = take();
            NodePtr inner = parseOr();
            if (peek().kind != Tok::RParen)
                fail(peek().pos,
                     QStringLiteral("expected ')' to close the '(' at character %1, found %2")
                         .arg(open.pos)
                         .arg(describe(peek())));
            take();
            return inner;
        }
        return parsePredicate();
    }

    Operand parseOperand(const QString& expected) {
        const Token& t = peek();
        Operand o;
        o.pos = t.pos;
        if (t.kind == Tok::Op && (t.text == u"-" || t.text == u"+") &&
            m_tokens[m_at + 1].kind == Tok::Number) {
            const QString sign = take().text;
            const Token& num = take();
            o.storage = (sign == u"-" ? sign : QString()) + num.text;
            ValueText::parseNumber(o.storage, o.literal.number);
            o.literal.kind = Cell::Number;
            o.literal.text = o.storage;
            return o;
        }
        switch (t.kind) {
        case Tok::Number:
            o.storage = take().text;
            ValueText::parseNumber(o.storage, o.literal.number);
            o.literal.kind = Cell::Number;
            o.literal.text = o.storage;
            return o;
        case Tok::Text:
            o.storage = take().text;
            o.literal.kind = Cell::Text;
            o.literal.text = o.storage;
            return o;
        case Tok::Name: {
            if (isReserved(t))
                break;
            const Token& name = take();
            o.kind = Operand::Field;
            o.column = fieldIndexOf(m_fields, name.text);
            if (o.column < 0)
                fail(name.pos, QStringLiteral("unknown field %1").arg(name.text));
            return o;
        }
        default:
            break;
        }
        fail(t.pos, QStringLiteral("expected %1, found %2").arg(expected, describe(t)));
    }

    // Literal texts compared with a number or date column must read as one.
    void checkAgainstColumn(const Operand& field, Operand& lit, bool forLike) {
        if (field.kind != Operand::Field || lit.kind != Operand::Literal || forLike)
            return;
        const FieldDef& f = m_fields[field.column];
        if (isNumericType(f.type)) {
            if (lit.literal.kind == Cell::Text) {
                double d = 0;
                if (!ValueText::parseNumber(lit.storage, d))
                    fail(lit.pos,
                         QStringLiteral("field %1 holds numbers; the text '%2' is not a number")
                             .arg(f.name, lit.storage.left(30)));
                lit.literal.kind = Cell::Number;
                lit.literal.number = d;
            }
        } else if (f.type == FieldType::Date || f.type == FieldType::DateTime) {
            int64_t ms = 0;
            if (!ValueText::parseDateTime(lit.storage, ms))
                fail(lit.pos, QStringLiteral("field %1 holds dates; %2 is not a date")
                                  .arg(f.name, lit.storage.left(30)));
            lit.literal.kind = Cell::Time;
            lit.literal.msecs = ms;
        }
    }

    NodePtr parsePredicate() {
        auto n = std::make_shared<FilterExpression::Node>();
        n->a = parseOperand(QStringLiteral("a field name, a text in quotes, a number, NOT or '('"));
        bool negate = false;
        const Token& t = peek();
        if (t.kind == Tok::Op && t.text != u"-" && t.text != u"+") {
            const QString op = take().text;
            n->kind = FilterExpression::Node::Compare;
            n->op = op == u"="                   ? CmpOp::Eq
                    : op == u"<>" || op == u"!=" ? CmpOp::Ne
                    : op == u"<"                 ? CmpOp::Lt
                    : op == u"<="                ? CmpOp::Le
                    : op == u">"                 ? CmpOp::Gt
                                                 : CmpOp::Ge;
            n->b = parseOperand(
                QStringLiteral("a field name, a text in quotes or a number after %1").arg(op));
            if (n->a.kind == Operand::Literal && n->b.kind == Operand::Field) {
                std::swap(n->a, n->b);
                n->op = flipped(n->op);
            }
            checkAgainstColumn(n->a, n->b, false);
            return fold(n);
        }
        if (acceptKeyword("not"))
            negate = true;
        if (acceptKeyword("like")) {
            n->kind = FilterExpression::Node::Like;
            n->b = parseOperand(QStringLiteral("a pattern in quotes after LIKE"));
            if (n->b.kind != Operand::Literal)
                fail(n->b.pos,
                     QStringLiteral("expected a pattern in quotes after LIKE, found a field name"));
            n->pattern = std::make_shared<LikePattern>(n->b.storage);
        } else if (acceptKeyword("between")) {
            n->kind = FilterExpression::Node::Between;
            n->b = parseOperand(QStringLiteral("a lower bound after BETWEEN"));
            if (!acceptKeyword("and"))
                fail(peek().pos,
                     QStringLiteral("expected AND between the bounds of BETWEEN, found %1")
                         .arg(describe(peek())));
            n->c = parseOperand(QStringLiteral("an upper bound after BETWEEN ... AND"));
            checkAgainstColumn(n->a, n->b, false);
            checkAgainstColumn(n->a, n->c, false);
        } else if (!negate && acceptKeyword("is")) {
            const bool isNot = acceptKeyword("not");
            if (!acceptKeyword("null"))
                fail(peek().pos,
                     QStringLiteral("expected NULL after IS%1, found %2")
                         .arg(isNot ? QStringLiteral(" NOT") : QString(), describe(peek())));
            n->kind = FilterExpression::Node::IsNull;
            negate = isNot;
        } else {
            fail(peek().pos,
                 QStringLiteral("expected a comparison (= <> < <= > >=), LIKE, BETWEEN or IS "
                                "after %1, found %2")
                     .arg(n->a.kind == Operand::Field ? m_fields[n->a.column].name
                                                      : QStringLiteral("the value"),
                          describe(peek())));
        }
        NodePtr result = fold(n);
        return negate ? binary(FilterExpression::Node::Not, result, nullptr) : result;
    }

    // Predicates over literals only (1=1) become constants.
    static NodePtr fold(const NodePtr& n) {
        const bool allLiteral =
            n->a.kind == Operand::Literal &&
            (n->kind == FilterExpression::Node::IsNull || n->b.kind == Operand::Literal) &&
            (n->kind != FilterExpression::Node::Between || n->c.kind == Operand::Literal);
        if (!allLiteral)
            return n;
        bool value = false;
        bool ok = true;
        switch (n->kind) {
        case FilterExpression::Node::Compare:
            value = applyOp(compareCells(literalCell(n->a), literalCell(n->b), ok), n->op) && ok;
            break;
        case FilterExpression::Node::Between: {
            bool ok2 = true;
            value = compareCells(literalCell(n->a), literalCell(n->b), ok) >= 0 &&
                    compareCells(literalCell(n->a), literalCell(n->c), ok2) <= 0 && ok && ok2;
            break;
        }
        case FilterExpression::Node::Like:
            value = n->pattern->matches(n->a.storage);
            break;
        case FilterExpression::Node::IsNull:
            value = false;
            break;
        default:
            return n;
        }
        auto c = std::make_shared<FilterExpression::Node>();
        c->kind = FilterExpression::Node::Const;
        c->value = value;
        return c;
    }

    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
    const QList<FieldDef>& m_fields;
};

// ---- evaluation ---------------------------------------------------------------------------

using Bits = std::vector<uint64_t>;

struct Truth {
    Bits t; // rows where the predicate is true
    Bits f; // rows where it is false (neither: unknown, from nulls)
};

class Evaluator {
public:
    explicit Evaluator(const Table& table)
        : m_table(table), m_rows(std::size_t(table.rowCount())), m_words((m_rows + 63) / 64) {
        m_lastMask = (m_rows & 63) ? (uint64_t(1) << (m_rows & 63)) - 1 : ~uint64_t(0);
    }

    Truth eval(const FilterExpression::Node& n) const {
        switch (n.kind) {
        case FilterExpression::Node::And: {
            Truth l = eval(*n.left);
            const Truth r = eval(*n.right);
            for (std::size_t w = 0; w < m_words; ++w) {
                l.t[w] &= r.t[w];
                l.f[w] |= r.f[w];
            }
            return l;
        }
        case FilterExpression::Node::Or: {
            Truth l = eval(*n.left);
            const Truth r = eval(*n.right);
            for (std::size_t w = 0; w < m_words; ++w) {
                l.t[w] |= r.t[w];
                l.f[w] &= r.f[w];
            }
            return l;
        }
        case FilterExpression::Node::Not: {
            Truth l = eval(*n.left);
            std::swap(l.t, l.f);
            return l;
        }
        case FilterExpression::Node::Const: {
            Truth out{Bits(m_words, 0), Bits(m_words, 0)};
            fillAll(n.value ? out.t : out.f);
            return out;
        }
        case FilterExpression::Node::IsNull: {
            Truth out{Bits(m_words, 0), Bits(m_words, 0)};
            const uint64_t* nulls = m_table.nullBits(n.a.column);
            for (std::size_t w = 0; w < m_words; ++w) {
                const uint64_t mask = w + 1 == m_words ? m_lastMask : ~uint64_t(0);
                out.t[w] = nulls[w] & mask;
                out.f[w] = ~nulls[w] & mask;
            }
            return out;
        }
        default:
            return evalPredicate(n);
        }
    }

private:
    void fillAll(Bits& bits) const {
        for (std::size_t w = 0; w < m_words; ++w)
            bits[w] = w + 1 == m_words ? m_lastMask : ~uint64_t(0);
    }

    // Spreads a per-row decision over the non-null rows of `column`.
    template <typename Decide> Truth perRow(int column, Decide decide) const {
        Truth out{Bits(m_words, 0), Bits(m_words, 0)};
        const uint64_t* nulls = m_table.nullBits(column);
        for (std::size_t w = 0; w < m_words; ++w) {
            const std::size_t base = w * 64;
            const std::size_t end = std::min<std::size_t>(base + 64, m_rows);
            uint64_t t = 0;
            for (std::size_t r = base; r < end; ++r)
                t |= uint64_t(decide(r) ? 1 : 0) << (r - base);
            const uint64_t valid = ~nulls[w] & (w + 1 == m_words ? m_lastMask : ~uint64_t(0));
            out.t[w] = t & valid;
            out.f[w] = ~t & valid;
        }
        return out;
    }

    static bool decideCells(const FilterExpression::Node& n, const Cell& a, const Cell* b,
                            const Cell* c) {
        bool ok = true, ok2 = true;
        switch (n.kind) {
        case FilterExpression::Node::Compare:
            return applyOp(compareCells(a, *b, ok), n.op) && ok;
        case FilterExpression::Node::Between:
            return compareCells(a, *b, ok) >= 0 && compareCells(a, *c, ok2) <= 0 && ok && ok2;
        case FilterExpression::Node::Like:
            return n.pattern->matches(a.text);
        default:
            return false;
        }
    }

    // The value of an operand in row r (texts of numbers and times go into buf).
    Cell cellOf(const Operand& o, std::size_t r, char16_t* buf) const {
        if (o.kind == Operand::Literal)
            return literalCell(o);
        Cell cell;
        const int col = o.column;
        if (m_table.isNull(qsizetype(r), col))
            return cell;
        int len = 0;
        switch (m_table.columnType(col)) {
        case FieldType::String:
        case FieldType::Memo:
            cell.kind = Cell::Text;
            cell.text = m_table.dictionary(col).at(m_table.codes(col)[r]);
            return cell;
        case FieldType::Integer:
            cell.kind = Cell::Number;
            cell.number = double(m_table.integers(col)[r]);
            len = ValueText::formatInteger(m_table.integers(col)[r], buf);
            break;
        case FieldType::Float:
            cell.kind = Cell::Number;
            cell.number = m_table.floats(col)[r];
            len = ValueText::formatFloat(cell.number, buf);
            break;
        case FieldType::Boolean:
            cell.kind = Cell::Number;
            cell.number = m_table.booleans(col)[r];
            buf[0] = cell.number != 0 ? u'1' : u'0';
            len = 1;
            break;
        case FieldType::Date:
            cell.kind = Cell::Time;
            cell.msecs = (m_table.integers(col)[r] - 2440588) * 86400000;
            len = ValueText::formatDate(m_table.integers(col)[r], buf);
            break;
        case FieldType::DateTime:
            cell.kind = Cell::Time;
            cell.msecs = m_table.integers(col)[r];
            len = ValueText::formatDateTime(cell.msecs, buf);
            break;
        }
        cell.text = QStringView(buf, len);
        return cell;
    }

    Truth evalPredicate(const FilterExpression::Node& n) const {
        const bool hasB = n.kind != FilterExpression::Node::IsNull;
        const bool hasC = n.kind == FilterExpression::Node::Between;
        const bool literalsOnly =
            (!hasB || n.b.kind == Operand::Literal) && (!hasC || n.c.kind == Operand::Literal);
        const int col = n.a.column;
        if (literalsOnly && n.a.kind == Operand::Field) {
            const FieldType type = m_table.columnType(col);
            // Texts: decide once per distinct value, then look the rows up.
            if (isTextType(type)) {
                const StringDictionary& dict = m_table.dictionary(col);
                const Cell lb = literalCell(n.b), lc = literalCell(n.c);
                std::vector<uint8_t> verdict(dict.size());
                for (uint32_t code = 0; code < dict.size(); ++code) {
                    Cell a;
                    a.kind = Cell::Text;
                    a.text = dict.at(code);
                    verdict[code] = decideCells(n, a, &lb, &lc);
                }
                const uint32_t* codes = m_table.codes(col);
                const uint8_t* v = verdict.data();
                // Null rows carry code 0, which may not exist in an empty dictionary.
                if (verdict.empty())
                    return perRow(col, [](std::size_t) { return false; });
                return perRow(col, [codes, v](std::size_t r) { return v[codes[r]] != 0; });
            }
            if (n.kind != FilterExpression::Node::Like) {
                if (type == FieldType::Integer || type == FieldType::Float ||
                    type == FieldType::Boolean) {
                    const double lo = n.b.literal.number;
                    const double hi = hasC ? n.c.literal.number : 0;
                    auto decide = [&](double x) {
                        if (hasC)
                            return x >= lo && x <= hi;
                        bool ok = true;
                        const int cmp = compareNumbers(x, lo, ok);
                        return ok && applyOp(cmp, n.op);
                    };
                    if (type == FieldType::Float) {
                        const double* v = m_table.floats(col);
                        return perRow(col, [&](std::size_t r) { return decide(v[r]); });
                    }
                    if (type == FieldType::Integer) {
                        const int64_t* v = m_table.integers(col);
                        return perRow(col, [&](std::size_t r) { return decide(double(v[r])); });
                    }
                    const uint8_t* v = m_table.booleans(col);
                    return perRow(col, [&](std::size_t r) { return decide(double(v[r])); });
                }
            }
        }
        // Everything else (field against field, LIKE on numbers or dates, dates): row by row.
        const int nullColumn = n.a.kind == Operand::Field           ? col
                               : hasB && n.b.kind == Operand::Field ? n.b.column
                                                                    : n.c.column;
        const Truth base = perRow(nullColumn, [&](std::size_t r) {
            char16_t ba[64], bb[64], bc[64];
            const Cell a = cellOf(n.a, r, ba);
            const Cell b = hasB ? cellOf(n.b, r, bb) : Cell();
            const Cell c = hasC ? cellOf(n.c, r, bc) : Cell();
            if (a.kind == Cell::Null || (hasB && b.kind == Cell::Null) ||
                (hasC && c.kind == Cell::Null))
                return false;
            return decideCells(n, a, &b, &c);
        });
        // A null in any operand makes the row unknown, not false.
        Truth out = base;
        for (const Operand* o : {&n.a, hasB ? &n.b : nullptr, hasC ? &n.c : nullptr}) {
            if (!o || o->kind != Operand::Field)
                continue;
            const uint64_t* nulls = m_table.nullBits(o->column);
            for (std::size_t w = 0; w < m_words; ++w) {
                out.t[w] &= ~nulls[w];
                out.f[w] &= ~nulls[w];
            }
        }
        return out;
    }

    const Table& m_table;
    std::size_t m_rows;
    std::size_t m_words;
    uint64_t m_lastMask;
};

} // namespace

FilterExpression FilterExpression::parse(const QString& text, const QList<FieldDef>& fields) {
    FilterExpression e;
    e.m_text = text;
    if (text.trimmed().isEmpty())
        return e;
    e.m_root = Parser(text, fields).parse();
    return e;
}

std::vector<uint64_t> FilterExpression::evaluate(const Table& table) const {
    const std::size_t words = (std::size_t(table.rowCount()) + 63) / 64;
    if (!m_root) {
        std::vector<uint64_t> all(words, ~uint64_t(0));
        if (table.rowCount() & 63)
            all.back() = (uint64_t(1) << (table.rowCount() & 63)) - 1;
        return all;
    }
    if (words == 0)
        return {};
    return Evaluator(table).eval(*m_root).t;
}

void FilterExpression::select(const Table& table, std::vector<uint32_t>& rows) const {
    if (!m_root)
        return;
    const std::vector<uint64_t> pass = evaluate(table);
    std::size_t out = 0;
    for (uint32_t r : rows) {
        if ((pass[r >> 6] >> (r & 63)) & 1u)
            rows[out++] = r;
    }
    rows.resize(out);
}

} // namespace kestrane
