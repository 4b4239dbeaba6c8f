#include "report/TRMParser.h"

#include "common/Error.h"
#include "report/DisplayFormat.h"
#include "report/ExpressionText.h"

#include <cmath>

namespace kestrane::report {

namespace {

using Program = TRMParser::Program;

// Expressions nest through parentheses and calls; beyond this depth a text is refused
// rather than allowed to exhaust the stack.
constexpr int kMaxNesting = 200;
constexpr qsizetype kCacheLimit = 4096;

enum TokenKind { TkEnd, TkNumber, TkString, TkBracket, TkName, TkCall, TkLParen, TkRParen, TkOp };

struct Token {
    TokenKind kind = TkEnd;
    int code = 0;
    QVariant value;
    QString text;
    QStringList args;
};

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'"' || c == u'#' || c.unicode() >= 0x80;
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'.' || c == u'"' ||
           c.unicode() >= 0x80;
}

class Compiler {
public:
    explicit Compiler(const QString& text) : m_text(text) {}

    Program compile() {
        next();
        if (m_tok.kind == TkEnd)
            return m_program; // an empty expression is an empty value
        comparison(0);
        if (m_tok.kind != TkEnd)
            fail(QStringLiteral("unexpected text"));
        return m_program;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw Error(QStringLiteral("Expression error in \"%1\" at %2: %3")
                        .arg(m_text)
                        .arg(m_tokStart + 1)
                        .arg(what));
    }

    void emit(Program::Op op) { m_program.ops.push_back(std::move(op)); }
    void emitOp(Program::Kind kind, int code) {
        Program::Op op(kind);
        op.code = code;
        emit(std::move(op));
    }

    void skipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    // Reads the next token into m_tok.
    void next() {
        m_prevOperand = m_tok.kind == TkNumber || m_tok.kind == TkString ||
                        m_tok.kind == TkBracket || m_tok.kind == TkName || m_tok.kind == TkCall ||
                        m_tok.kind == TkRParen;
        skipBlanks();
        m_tokStart = m_pos;
        m_tok = Token{};
        if (m_pos >= m_text.size() || m_text[m_pos] == u';') {
            m_tok.kind = TkEnd;
            return;
        }
        const QChar c = m_text[m_pos];
        if (c.isDigit() ||
            (c == u'.' && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit())) {
            readNumber();
            return;
        }
        if (c == u'\'') {
            readString();
            return;
        }
        if (c == u'[') {
            const qsizetype end = ExpressionText::findBracketEnd(m_text, m_pos);
            if (end < 0)
                fail(QStringLiteral("\"]\" expected"));
            m_tok.kind = TkBracket;
            m_tok.text = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return;
        }
        if (c == u'(') {
            m_tok.kind = TkLParen;
            ++m_pos;
            return;
        }
        if (c == u')') {
            m_tok.kind = TkRParen;
            ++m_pos;
            return;
        }
        if (readOperator())
            return;
        if (isNameStart(c)) {
            readName();
            return;
        }
        fail(QStringLiteral("unexpected character \"%1\"").arg(c));
    }

    void readNumber() {
        qsizetype p = m_pos;
        while (p < m_text.size() && m_text[p].isDigit())
            ++p;
        if (p + 1 < m_text.size() && (m_text[p] == u'.' || m_text[p] == u',') &&
            m_text[p + 1].isDigit()) {
            ++p;
            while (p < m_text.size() && m_text[p].isDigit())
                ++p;
        } else if (p < m_text.size() && m_text[p] == u'.' && p == m_pos) {
            ++p;
            while (p < m_text.size() && m_text[p].isDigit())
                ++p;
        }
        QString s = m_text.mid(m_pos, p - m_pos);
        s.replace(u',', u'.');
        m_pos = p;
        m_tok.kind = TkNumber;
        bool ok = false;
        if (!s.contains(u'.')) {
            const qlonglong n = s.toLongLong(&ok);
            if (ok) {
                m_tok.value = n >= INT_MIN && n <= INT_MAX ? QVariant(int(n)) : QVariant(n);
                return;
            }
        }
        m_tok.value = s.toDouble(&ok);
    }

    void readString() {
        QString s;
        qsizetype p = m_pos + 1;
        for (;;) {
            if (p >= m_text.size())
                fail(QStringLiteral("unterminated string"));
            if (m_text[p] == u'\'') {
                if (p + 1 < m_text.size() && m_text[p + 1] == u'\'') {
                    s.append(u'\'');
                    p += 2;
                    continue;
                }
                ++p;
                break;
            }
            s.append(m_text[p++]);
        }
        m_pos = p;
        m_tok.kind = TkString;
        m_tok.value = s;
    }

    bool readOperator() {
        const QChar c = m_text[m_pos];
        const QChar n = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : QChar();
        auto op = [&](int code, int len) {
            m_tok.kind = TkOp;
            m_tok.code = code;
            m_pos += len;
            return true;
        };
        switch (c.unicode()) {
        case u'+':
            return op(Program::OpAdd, 1);
        case u'-':
            return op(Program::OpSub, 1);
        case u'*':
            return op(Program::OpMul, 1);
        case u'/':
            return op(Program::OpDiv, 1);
        case u'=':
            return op(Program::OpEq, 1);
        case u'<':
            if (n == u'>')
                return op(Program::OpNe, 2);
            if (n == u'=')
                return op(Program::OpLe, 2);
            return op(Program::OpLt, 1);
        case u'>':
            if (n == u'=')
                return op(Program::OpGe, 2);
            return op(Program::OpGt, 1);
        default:
            return false;
        }
    }

    void readName() {
        qsizetype p = m_pos;
        bool inQuote = false;
        while (p < m_text.size()) {
            const QChar c = m_text[p];
            if (c == u'"') {
                inQuote = !inQuote;
            } else if (!inQuote && !isNameChar(c)) {
                break;
            }
            ++p;
        }
        if (inQuote)
            fail(QStringLiteral("unterminated quoted name"));
        const QString name = m_text.mid(m_pos, p - m_pos);
        m_pos = p;
        static const struct {
            const char16_t* word;
            int code;
        } keywords[] = {{u"MOD", Program::OpMod},
                        {u"AND", Program::OpAnd},
                        {u"OR", Program::OpOr},
                        {u"NOT", Program::OpNot}};
        // After an operand a keyword is always the operator; where an operand is expected, a
        // keyword followed by "(" is the library function of that name ("AND(a, b)").
        skipBlanks();
        const bool call = m_pos < m_text.size() && m_text[m_pos] == u'(';
        if (m_prevOperand || !call) {
            for (const auto& k : keywords) {
                if (name.compare(QStringView(k.word), Qt::CaseInsensitive) == 0) {
                    m_tok.kind = TkOp;
                    m_tok.code = k.code;
                    return;
                }
            }
            m_tok.kind = TkName;
            m_tok.text = name;
            return;
        }
        const qsizetype end = ExpressionText::findParenEnd(m_text, m_pos);
        if (end < 0)
            fail(QStringLiteral("unbalanced parentheses in the call of %1").arg(name));
        const QString inner = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_tok.kind = TkCall;
        m_tok.text = name;
        if (!inner.trimmed().isEmpty())
            m_tok.args = ExpressionText::splitArguments(inner);
        if (m_tok.args.size() > TRMParser::kMaxArguments)
            fail(QStringLiteral("more than %1 arguments in the call of %2")
                     .arg(TRMParser::kMaxArguments)
                     .arg(name));
        m_pos = end + 1;
    }

    void enter(int depth) const {
        if (depth > kMaxNesting)
            fail(QStringLiteral("expression nested too deeply"));
    }

    // level 3
    void comparison(int depth) {
        enter(depth);
        additive(depth + 1);
        while (m_tok.kind == TkOp && m_tok.code >= Program::OpEq && m_tok.code <= Program::OpLe) {
            const int code = m_tok.code;
            next();
            additive(depth + 1);
            emitOp(Program::Binary, code);
        }
    }

    // level 2
    void additive(int depth) {
        enter(depth);
        multiplicative(depth + 1);
        while (m_tok.kind == TkOp &&
               (m_tok.code == Program::OpAdd || m_tok.code == Program::OpSub)) {
            const int code = m_tok.code;
            next();
            multiplicative(depth + 1);
            emitOp(Program::Binary, code);
        }
    }

    // level 1
    void multiplicative(int depth) {
        enter(depth);
        unary(depth + 1);
        while (m_tok.kind == TkOp &&
               (m_tok.code == Program::OpMul || m_tok.code == Program::OpDiv ||
                m_tok.code == Program::OpMod || m_tok.code == Program::OpAnd ||
                m_tok.code == Program::OpOr)) {
            const int code = m_tok.code;
            next();
            unary(depth + 1);
            emitOp(Program::Binary, code);
        }
    }

    void unary(int depth) {
        enter(depth);
        if (m_tok.kind == TkOp && (m_tok.code == Program::OpSub || m_tok.code == Program::OpAdd ||
                                   m_tok.code == Program::OpNot)) {
            const int code = m_tok.code == Program::OpSub   ? Program::OpNeg
                             : m_tok.code == Program::OpAdd ? Program::OpPlus
                                                            : Program::OpNot;
            next();
            if (code == Program::OpNot)
                unary(depth + 1);
            else
                multiplicative(depth + 1); // unary sign binds like "+" and "-"
            emitOp(Program::Unary, code);
            return;
        }
        primary(depth + 1);
    }

    void primary(int depth) {
        enter(depth);
        switch (m_tok.kind) {
        case TkNumber:
        case TkString: {
            Program::Op op{Program::PushConst};
            op.value = m_tok.value;
            emit(std::move(op));
            next();
            return;
        }
        case TkBracket:
        case TkName: {
            Program::Op op{m_tok.kind == TkBracket ? Program::PushBracket : Program::PushName};
            op.text = m_tok.text;
            emit(std::move(op));
            next();
            return;
        }
        case TkCall: {
            Program::Op op{Program::Call};
            op.text = m_tok.text;
            op.args = m_tok.args;
            emit(std::move(op));
            next();
            return;
        }
        case TkLParen:
            next();
            comparison(depth + 1);
            if (m_tok.kind != TkRParen)
                fail(QStringLiteral("\")\" expected"));
            next();
            return;
        case TkEnd:
            fail(QStringLiteral("operand expected at the end"));
        default:
            fail(QStringLiteral("operand expected"));
        }
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    qsizetype m_tokStart = 0;
    Token m_tok;
    bool m_prevOperand = false;
    Program m_program;
};

bool isIntegral(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isText(const QVariant& v) {
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

QVariant integerResult(qlonglong n) {
    return n >= INT_MIN && n <= INT_MAX ? QVariant(int(n)) : QVariant(n);
}

// A text that reads as a number takes part in arithmetic as that number.
bool numericText(const QVariant& v, double& out) {
    return isText(v) && DisplayFormat::toDouble(v, out);
}

} // namespace

QVariant TRMFunctionArgs::value(int i) {
    if (i < 0 || i >= m_texts.size() || m_texts[i].trimmed().isEmpty())
        return QVariant();
    auto it = m_values.find(i);
    if (it != m_values.end())
        return *it;
    QVariant v = m_parser.evaluate(m_texts[i]);
    m_values.insert(i, v);
    return v;
}

std::shared_ptr<const TRMParser::Program> TRMParser::compile(const QString& expression) {
    Compiler c(expression);
    return std::make_shared<const Program>(c.compile());
}

QVariant TRMParser::evaluate(const QString& expression) {
    auto it = m_cache.constFind(expression);
    std::shared_ptr<const Program> program;
    if (it != m_cache.constEnd()) {
        program = *it;
    } else {
        program = compile(expression);
        if (m_cache.size() >= kCacheLimit)
            m_cache.clear();
        m_cache.insert(expression, program);
    }
    if (m_depth > kMaxNesting)
        throw Error(QStringLiteral("Expression error in \"%1\": evaluation nested too deeply")
                        .arg(expression));
    ++m_depth;
    struct Leave {
        int& d;
        ~Leave() { --d; }
    } leave{m_depth};
    return run(*program);
}

QVariant TRMParser::run(const Program& program) {
    std::vector<QVariant> stack;
    stack.reserve(program.ops.size());
    auto pop = [&]() {
        if (stack.empty())
            throw Error(QStringLiteral("Expression error: operand missing"));
        QVariant v = std::move(stack.back());
        stack.pop_back();
        return v;
    };
    for (const Program::Op& op : program.ops) {
        switch (op.kind) {
        case Program::PushConst:
            stack.push_back(op.value);
            break;
        case Program::PushName:
        case Program::PushBracket:
            stack.push_back(m_host.valueOfName(op.text));
            break;
        case Program::Call: {
            TRMFunctionArgs args(*this, op.args);
            stack.push_back(m_host.callFunction(op.text, args));
            break;
        }
        case Program::Unary: {
            const QVariant a = pop();
            if (op.code == Program::OpNot) {
                if (isIntegral(a))
                    stack.push_back(integerResult(~a.toLongLong()));
                else
                    stack.push_back(!truth(a));
            } else if (op.code == Program::OpNeg) {
                stack.push_back(isIntegral(a) ? integerResult(-a.toLongLong())
                                              : QVariant(-number(a)));
            } else {
                stack.push_back(isNumeric(a) ? a : QVariant(number(a)));
            }
            break;
        }
        case Program::Binary: {
            const QVariant b = pop();
            const QVariant a = pop();
            switch (op.code) {
            case Program::OpAdd:
                stack.push_back(add(a, b));
                break;
            case Program::OpSub:
                stack.push_back(subtract(a, b));
                break;
            case Program::OpMul:
                stack.push_back(multiply(a, b));
                break;
            case Program::OpDiv:
                stack.push_back(divide(a, b));
                break;
            case Program::OpMod: {
                const qlonglong y = qlonglong(number(b));
                if (y == 0)
                    throw Error(QStringLiteral("Division by zero"));
                stack.push_back(integerResult(qlonglong(number(a)) % y));
                break;
            }
            case Program::OpAnd:
            case Program::OpOr:
                if (isIntegral(a) && isIntegral(b)) {
                    const qlonglong x = a.toLongLong(), y = b.toLongLong();
                    stack.push_back(integerResult(op.code == Program::OpAnd ? (x & y) : (x | y)));
                } else {
                    stack.push_back(op.code == Program::OpAnd ? (truth(a) && truth(b))
                                                              : (truth(a) || truth(b)));
                }
                break;
            case Program::OpEq:
                stack.push_back(compare(a, b) == 0);
                break;
            case Program::OpNe:
                stack.push_back(compare(a, b) != 0);
                break;
            case Program::OpLt:
                stack.push_back(compare(a, b) < 0);
                break;
            case Program::OpGt:
                stack.push_back(compare(a, b) > 0);
                break;
            case Program::OpLe:
                stack.push_back(compare(a, b) <= 0);
                break;
            case Program::OpGe:
                stack.push_back(compare(a, b) >= 0);
                break;
            }
            break;
        }
        }
    }
    if (stack.empty())
        return QVariant();
    if (stack.size() != 1)
        throw Error(QStringLiteral("Expression error: operator missing"));
    return stack.back();
}

// --- value operators -------------------------------------------------------------------

bool TRMParser::isNumeric(const QVariant& v) {
    return isIntegral(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

double TRMParser::number(const QVariant& v) {
    double d = 0;
    if (DisplayFormat::isEmptyValue(v))
        return 0;
    if (DisplayFormat::toDouble(v, d))
        return d;
    if (isText(v) && v.toString().trimmed().isEmpty())
        return 0;
    throw Error(QStringLiteral("\"%1\" is not a valid number").arg(v.toString()));
}

bool TRMParser::truth(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (DisplayFormat::isEmptyValue(v))
        return false;
    if (isText(v)) {
        const QString s = v.toString().trimmed();
        if (s.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(u"false", Qt::CaseInsensitive) == 0 || s.isEmpty())
            return false;
    }
    double d = 0;
    if (DisplayFormat::toDouble(v, d))
        return d != 0;
    return !v.toString().isEmpty();
}

QVariant TRMParser::add(const QVariant& a, const QVariant& b) {
    double x = 0, y = 0;
    if (isText(a) && isText(b))
        return QString(a.toString() + b.toString());
    if (isText(a) || isText(b)) {
        // A number meets a text: numeric when the text reads as one, else joined as text.
        const QVariant& t = isText(a) ? a : b;
        double tv = 0;
        if (!numericText(t, tv) || DisplayFormat::isEmptyValue(isText(a) ? b : a))
            return QString(DisplayFormat::plainText(a) + DisplayFormat::plainText(b));
    }
    if (isIntegral(a) && isIntegral(b))
        return integerResult(a.toLongLong() + b.toLongLong());
    x = number(a);
    y = number(b);
    return x + y;
}

QVariant TRMParser::subtract(const QVariant& a, const QVariant& b) {
    if (isIntegral(a) && isIntegral(b))
        return integerResult(a.toLongLong() - b.toLongLong());
    return number(a) - number(b);
}

QVariant TRMParser::multiply(const QVariant& a, const QVariant& b) {
    if (isIntegral(a) && isIntegral(b)) {
        qlonglong r = 0;
        if (!__builtin_mul_overflow(a.toLongLong(), b.toLongLong(), &r))
            return integerResult(r);
    }
    return number(a) * number(b);
}

QVariant TRMParser::divide(const QVariant& a, const QVariant& b) {
    const double y = number(b);
    if (y == 0)
        throw Error(QStringLiteral("Division by zero"));
    return number(a) / y;
}

int TRMParser::compare(const QVariant& a, const QVariant& b) {
    const bool aEmpty = DisplayFormat::isEmptyValue(a), bEmpty = DisplayFormat::isEmptyValue(b);
    if (aEmpty || bEmpty) {
        if (aEmpty && bEmpty)
            return 0;
        // An empty value equals an empty text and zero.
        const QVariant& other = aEmpty ? b : a;
        int c;
        if (isText(other))
            c = other.toString().isEmpty() ? 0 : 1;
        else
            c = number(other) == 0 ? 0 : (number(other) > 0 ? 1 : -1);
        return aEmpty ? -c : c;
    }
    const bool aNum = isNumeric(a) || a.typeId() == QMetaType::Bool;
    const bool bNum = isNumeric(b) || b.typeId() == QMetaType::Bool;
    double x = 0, y = 0;
    if ((aNum || numericText(a, x)) && (bNum || numericText(b, y)) && (aNum || bNum)) {
        x = number(a);
        y = number(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    QDateTime da, db;
    if ((a.typeId() == QMetaType::QDateTime || a.typeId() == QMetaType::QDate ||
         b.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDate) &&
        DisplayFormat::toDateTime(a, da) && DisplayFormat::toDateTime(b, db))
        return da < db ? -1 : (db < da ? 1 : 0);
    const int c = DisplayFormat::plainText(a).compare(DisplayFormat::plainText(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace kestrane::report
