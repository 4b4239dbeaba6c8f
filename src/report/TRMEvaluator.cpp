#include "report/TRMEvaluator.h"

#include "common/Error.h"
#include "report/DisplayFormat.h"
#include "report/ExpressionText.h"
#include "report/TRMFunctionLibrary.h"
#include "report/TRMStandardFunctions.h"
#include "report/TRMVariables.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

namespace kestrane::report {

namespace {

// Names and variable values may refer to each other; a chain longer than this is a loop
// through different texts and is cut off as an empty value.
constexpr int kMaxLookupDepth = 64;

bool is(const QString& name, QStringView what) {
    return name.compare(what, Qt::CaseInsensitive) == 0;
}

struct EvaluatingGuard {
    QStringList& list;
    explicit EvaluatingGuard(QStringList& l, const QString& text) : list(l) { list.append(text); }
    ~EvaluatingGuard() { list.removeLast(); }
};

} // namespace

TRMEvaluator::TRMEvaluator() : globalVariables(&TRMVariables::global()), m_parser(*this) {}

bool TRMEvaluator::builtIn(const QString& name, QVariant& value) const {
    if (!name.isEmpty() && name.back() != u'#' && !is(name, u"Date") && !is(name, u"Time") &&
        !is(name, u"TotalPages") && !is(name, u"CALCWIDTH"))
        return false;
    if (is(name, u"Page#")) {
        value = state.page;
    } else if (is(name, u"ApplicationPath#")) {
        value = QString(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) +
                        QDir::separator());
    } else if (is(name, u"Date#") || is(name, u"Date")) {
        value = state.started.date();
    } else if (is(name, u"Time#") || is(name, u"Time")) {
        value = state.started.time();
    } else if (is(name, u"DateTime#")) {
        value = state.started;
    } else if (is(name, u"Line#")) {
        value = state.line;
    } else if (is(name, u"LineThough#")) {
        value = state.lineThrough;
    } else if (is(name, u"Column#")) {
        value = state.column;
    } else if (is(name, u"Current#")) {
        value = state.current;
    } else if (is(name, u"TotalPages#") || is(name, u"TotalPages")) {
        value = state.totalPages;
    } else if (is(name, u"CALCWIDTH")) {
        value = state.calcWidth;
    } else {
        return false;
    }
    return true;
}

bool TRMEvaluator::pageValue(const QString& name, QVariant& value) const {
    if (is(name, u"CurY"))
        value = state.curY;
    else if (is(name, u"FreeSpace"))
        value = state.pageBottom - state.curY;
    else if (is(name, u"FinalPass"))
        value = state.finalPass;
    else if (is(name, u"PageHeight"))
        value = state.pageBottom;
    else if (is(name, u"PageWidth"))
        value = state.pageWidth;
    else
        return false;
    return true;
}

QVariant TRMEvaluator::getValue(const QString& name) {
    QVariant v;
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isSpace(); }))
        return v;
    if (m_evaluating.size() > kMaxLookupDepth)
        return v;
    if (onGetValue && onGetValue(name, v))
        return v;
    if (dictionary && dictionary(name, v))
        return v;
    if (is(name, u"VALUE"))
        return state.value;
    if (builtIn(name, v))
        return v;
    if (globalVariables && globalVariables->find(name, v))
        return v;
    if (localVariables && localVariables->find(name, v))
        return v;
    if (pageValue(name, v))
        return v;
    if (properties && properties(name, v))
        return v;
    if (engineVariables && engineVariables->find(name, v))
        return v;
    // Last: the text is an expression of its own.
    if (m_evaluating.contains(name))
        return m_dictionaryEvaluation ? QVariant(name) : QVariant();
    EvaluatingGuard guard(m_evaluating, name);
    return m_parser.evaluate(name);
}

QVariant TRMEvaluator::evaluate(const QString& expression) {
    if (m_evaluating.contains(expression))
        return m_dictionaryEvaluation ? QVariant(expression) : QVariant();
    EvaluatingGuard guard(m_evaluating, expression);
    return m_parser.evaluate(expression);
}

QVariant TRMEvaluator::evaluateInDictionary(const QString& expression) {
    const bool saved = m_dictionaryEvaluation;
    m_dictionaryEvaluation = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{m_dictionaryEvaluation, saved};
    return evaluate(expression);
}

QVariant TRMEvaluator::valueOfName(const QString& name) {
    return getValue(name);
}

QVariant TRMEvaluator::callFunction(const QString& name, TRMFunctionArgs& args) {
    QVariant result;
    if (TRMStandardFunctions::instance().call(*this, name, args, result))
        return result;
    for (TRMFunctionLibrary* lib : TRMFunctionLibrary::registered())
        if (lib->call(*this, name, args, result))
            return result;
    if (userFunction && userFunction(name, args, result))
        return result;
    throw Error(QStringLiteral("Unknown function %1").arg(name));
}

// --- expansion -------------------------------------------------------------------------

QString TRMEvaluator::valueText(const QString& expression, uint32_t word,
                                const QString& formatString, bool hideZeros) {
    QString out;
    appendValueText(out, expression, word, formatString, hideZeros);
    return out;
}

void TRMEvaluator::appendValueText(QString& out, const QString& expression, uint32_t word,
                                   const QString& formatString, bool hideZeros) {
    state.value = getValue(expression);
    const QVariant& value = state.value;
    if (hideZeros && DisplayFormat::isZeroNonString(value))
        return;
    DisplayFormat::appendValue(out, value, word, formatString);
}

QString TRMEvaluator::bracketText(const QString& expression, uint32_t formatWord,
                                  const QString& formatString, bool hideZeros) {
    uint32_t word = formatWord;
    QString fmt = formatString;
    const QString expr = ExpressionText::splitFormatSuffix(expression, word, fmt);
    return valueText(expr, word, fmt, hideZeros);
}

namespace {
TRMEvaluator::Segment literalSegment(const QString& text) {
    TRMEvaluator::Segment seg;
    seg.literal = text;
    return seg;
}
} // namespace

const TRMEvaluator::CompiledLine& TRMEvaluator::compiledLine(const QString& line) {
    auto it = m_lines.constFind(line);
    if (it != m_lines.constEnd())
        return **it;
    auto compiled = std::make_shared<CompiledLine>();
    QString literal;
    qsizetype from = 0;
    qsizetype i;
    while ((i = line.indexOf(u'[', from)) >= 0) {
        if (i > 0 && line[i - 1] == u'\\') {
            // "\[" prints "[" and the text after it is scanned on.
            literal += QStringView(line).mid(from, i - 1 - from);
            literal += u'[';
            from = i + 1;
            continue;
        }
        const qsizetype end = ExpressionText::findBracketEnd(line, i);
        if (end < 0)
            break; // an unclosed bracket prints as it stands
        literal += QStringView(line).mid(from, i - from);
        if (!literal.isEmpty()) {
            compiled->push_back(literalSegment(literal));
            literal.clear();
        }
        Segment seg;
        seg.isExpression = true;
        // An impossible word tells whether the suffix chose a format of its own.
        uint32_t word = 0xFFFFFFFFu;
        seg.expression =
            ExpressionText::splitFormatSuffix(line.mid(i + 1, end - i - 1), word, seg.formatString);
        seg.hasFormat = word != 0xFFFFFFFFu;
        seg.word = word;
        compiled->push_back(std::move(seg));
        from = end + 1;
    }
    literal += QStringView(line).mid(from);
    if (!literal.isEmpty())
        compiled->push_back(literalSegment(literal));
    if (m_lines.size() > 4096)
        m_lines.clear();
    return **m_lines.insert(line, compiled);
}

QString TRMEvaluator::expandLine(const QString& line, uint32_t formatWord,
                                 const QString& formatString, bool hideZeros) {
    // Keep the compiled line alive even if evaluating a value expands (and caches) others.
    auto it = m_lines.constFind(line);
    const std::shared_ptr<const CompiledLine> keep =
        it != m_lines.constEnd() ? *it : (compiledLine(line), m_lines.value(line));
    QString out;
    out.reserve(line.size() + 16);
    for (const Segment& seg : *keep) {
        if (!seg.isExpression)
            out += seg.literal;
        else if (seg.hasFormat)
            appendValueText(out, seg.expression, seg.word, seg.formatString, hideZeros);
        else
            appendValueText(out, seg.expression, formatWord, formatString, hideZeros);
    }
    return out;
}

QStringList TRMEvaluator::expandMemo(const QStringList& memo, uint32_t formatWord,
                                     const QString& formatString, bool hideZeros, bool textOnly) {
    QStringList out;
    for (const QString& line : memo) {
        if (line.isEmpty() || textOnly) {
            out.append(line);
            continue;
        }
        QString s = expandLine(line, formatWord, formatString, hideZeros);
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        s.replace(u'\r', u'\n');
        out.append(s.split(u'\n'));
    }
    return out;
}

QString TRMEvaluator::composePrepareError(const QString& errorText, const QString& reportName,
                                          bool hasView, const QString& viewName,
                                          const QStringList& viewMemo) {
    QString s = QStringLiteral("计算时发生错误");
    if (hasView)
        for (const QString& line : viewMemo)
            s += u'\n' + line;
    s += QStringLiteral("\n\n") + QStringLiteral("报表:") + u' ' + reportName + u'\n';
    if (hasView)
        s += QStringLiteral("对象:") + u' ' + viewName + u'\n';
    s += u'\n' + errorText;
    return s;
}

} // namespace kestrane::report
