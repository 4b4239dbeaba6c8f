#pragma once
// The expression language of report texts. An expression is compiled once into postfix form
// (cached by its text) and evaluated on a value stack. Elements: numbers with "." or ","
// as decimal mark, single-quoted strings ('' is one quote), bracketed references, names
// (identifiers, dotted names, field references with double-quoted field names), calls
// name(a, b, ...) with at most ten arguments, parentheses, and the operators by binding,
// tightest first:
//   level 1: "*", "/", MOD, AND, OR, NOT
//   level 2: "+", "-" and unary plus and minus
//   level 3: "=", "<", ">", "<>", ">=", "<="
// AND and OR bind like multiplication, so "a = 1 AND b = 2" reads as "a = (1 AND b) = 2";
// comparisons joined by AND or OR must be parenthesised. ";" ends the expression.
// Names and calls are answered by the host (the engine's name lookup and function
// libraries); the parser itself knows no names.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace kestrane::report {

class TRMParser;

// The arguments of a call, evaluated only when a function asks for them (aggregates need
// the text of their argument, IF needs only one branch).
class TRMFunctionArgs {
public:
    TRMFunctionArgs(TRMParser& parser, const QStringList& texts)
        : m_parser(parser), m_texts(texts) {}
    int count() const { return int(m_texts.size()); }
    QString text(int i) const { return i >= 0 && i < m_texts.size() ? m_texts[i] : QString(); }
    // The value of argument i; empty for a missing or empty argument.
    QVariant value(int i);

private:
    TRMParser& m_parser;
    QStringList m_texts;
    QHash<int, QVariant> m_values;
};

class TRMParserHost {
public:
    virtual ~TRMParserHost() = default;
    // The value of a name or of the text of a bracketed reference.
    virtual QVariant valueOfName(const QString& name) = 0;
    // A call; throws when no library knows the name.
    virtual QVariant callFunction(const QString& name, TRMFunctionArgs& args) = 0;
};

class TRMParser {
public:
    static constexpr int kMaxArguments = 10;

    explicit TRMParser(TRMParserHost& host) : m_host(host) {}

    // Compiles (or takes from the cache) and evaluates. Throws kestrane::Error on a syntax
    // error, an unbalanced call, a division by zero or a failing function.
    QVariant evaluate(const QString& expression);

    struct Program;
    // Compiles an expression text into its postfix program; throws on a syntax error.
    static std::shared_ptr<const Program> compile(const QString& expression);
    QVariant run(const Program& program);

    // The operators on values, exposed for the function library and the aggregates.
    static QVariant add(const QVariant& a, const QVariant& b);
    static QVariant subtract(const QVariant& a, const QVariant& b);
    static QVariant multiply(const QVariant& a, const QVariant& b);
    static QVariant divide(const QVariant& a, const QVariant& b);
    // -1, 0, 1: numbers numerically, date-times in time order, anything else as text.
    static int compare(const QVariant& a, const QVariant& b);
    static bool truth(const QVariant& v);
    static double number(const QVariant& v);
    static bool isNumeric(const QVariant& v);

private:
    TRMParserHost& m_host;
    QHash<QString, std::shared_ptr<const Program>> m_cache;
    int m_depth = 0;
};

struct TRMParser::Program {
    enum Kind { PushConst, PushName, PushBracket, Call, Binary, Unary };
    enum Code {
        OpAdd,
        OpSub,
        OpMul,
        OpDiv,
        OpMod,
        OpAnd,
        OpOr,
        OpEq,
        OpLt,
        OpGt,
        OpNe,
        OpGe,
        OpLe,
        OpNeg,
        OpPlus,
        OpNot
    };
    struct Op {
        explicit Op(Kind k) : kind(k) {}
        Kind kind;
        int code = 0;
        QVariant value;
        QString text;
        QStringList args;
    };
    std::vector<Op> ops;
};

} // namespace kestrane::report
