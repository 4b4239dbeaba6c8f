#pragma once
// The engine's name lookup, expression evaluation and text expansion.
//
// Getting the value of a name asks, in this order, and the first step that answers wins:
//   1. the report's OnGetValue handler;
//   2. the data dictionary (cached field references, dictionary variables, field references);
//   3. "VALUE", the value last computed for the current view;
//   4. the built-ins "Page#", "ApplicationPath#", "Date#"/"Date", "Time#"/"Time",
//      "DateTime#", "Line#", "LineThough#", "Column#", "Current#", "TotalPages#"/"TotalPages",
//      "CALCWIDTH" - so a caller's variable named "Date" or "Time" is never reached;
//   5. the process-wide caller variables;
//   6. the report-local variables;
//   7. "CurY", "FreeSpace", "FinalPass", "PageHeight", "PageWidth", object property
//      references ("Memo1.Left", "PAGE1.Width"), the engine's own variables;
//   8. evaluation of the text as an expression.
// A text that comes back while it is itself being evaluated stops the recursion: it gives
// the text itself in dictionary evaluation and an empty value otherwise.
//
// The report wires the steps that need its objects (handler, dictionary, properties,
// aggregates) through the hooks below, so the evaluator knows no report class.
#include "report/TRMParser.h"
#include "report/TRMPrepareState.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kestrane::report {

class TRMVariables;

class TRMEvaluator : public TRMParserHost {
public:
    using Lookup = std::function<bool(const QString& name, QVariant& value)>;
    using FunctionHook =
        std::function<bool(const QString& name, TRMFunctionArgs& args, QVariant& result)>;

    TRMEvaluator();

    // --- hooks -----------------------------------------------------------------------
    Lookup onGetValue;         // step 1, the report's OnGetValue
    Lookup dictionary;         // step 2
    Lookup properties;         // step 7, object property references
    FunctionHook userFunction; // OnUserFunction, for names no library knows
    // "AVG", "COUNT", "MAX", "MIN", "SUM": answered by the running preparation over a data
    // band; without a preparation they give an empty value.
    FunctionHook aggregate;
    // "NewPage", "NewColumn", "ShowBand", "StopReport", "Progress": passed to preparation.
    FunctionHook preparationControl;

    TRMVariables* globalVariables; // the process-wide set unless a test replaces it
    TRMVariables* localVariables = nullptr;
    TRMVariables* engineVariables = nullptr;
    TRMPrepareState state;

    // --- lookup and evaluation ----------------------------------------------------------
    QVariant getValue(const QString& name);
    // Evaluates an expression text; throws kestrane::Error on errors.
    QVariant evaluate(const QString& expression);
    // Evaluates a dictionary variable's expression (recursion gives the text itself).
    QVariant evaluateInDictionary(const QString& expression);

    // --- expansion ---------------------------------------------------------------------
    // The text a bracketed expression prints: the " #" suffix split off, the value looked
    // up, zero hidden with hideZeros, then formatted.
    QString bracketText(const QString& expression, uint32_t formatWord, const QString& formatString,
                        bool hideZeros);
    // One line with every "[...]" replaced by its text ("\[" prints a literal "[").
    QString expandLine(const QString& line, uint32_t formatWord, const QString& formatString,
                       bool hideZeros);
    // Memo lines expanded; values with line breaks give several lines. With textOnly the
    // lines are taken as they are.
    QStringList expandMemo(const QStringList& memo, uint32_t formatWord,
                           const QString& formatString, bool hideZeros, bool textOnly);

    // The message a failed preparation shows: "计算时发生错误", the view's memo lines, the
    // report's name, the view's name and the error text.
    static QString composePrepareError(const QString& errorText, const QString& reportName,
                                       bool hasView, const QString& viewName,
                                       const QStringList& viewMemo);

    // TRMParserHost
    QVariant valueOfName(const QString& name) override;
    QVariant callFunction(const QString& name, TRMFunctionArgs& args) override;

    TRMParser& parser() { return m_parser; }

    // A line cut once into literal text and bracketed expressions (with their format
    // suffix already split off); lines repeat for every record, so they are kept.
    struct Segment {
        QString literal;
        bool isExpression = false;
        QString expression;
        bool hasFormat = false;
        uint32_t word = 0;
        QString formatString;
    };
    using CompiledLine = std::vector<Segment>;
    const CompiledLine& compiledLine(const QString& line);

private:
    QString valueText(const QString& expression, uint32_t word, const QString& formatString,
                      bool hideZeros);
    // The value's text appended to `out`; sets VALUE like valueText.
    void appendValueText(QString& out, const QString& expression, uint32_t word,
                         const QString& formatString, bool hideZeros);

    bool builtIn(const QString& name, QVariant& value) const;
    bool pageValue(const QString& name, QVariant& value) const;

    TRMParser m_parser;
    QStringList m_evaluating;
    QHash<QString, std::shared_ptr<const CompiledLine>> m_lines;
    bool m_dictionaryEvaluation = false;
};

} // namespace kestrane::report
