// The expression language, the name lookup order and memo expansion.
#include "common/Error.h"
#include "report/DisplayFormat.h"
#include "report/ExpressionText.h"
#include "report/TRMEvaluator.h"
#include "report/TRMStandardFunctions.h"
#include "report/TRMVariables.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QtTest>

using namespace kestrane;
using namespace kestrane::report;

class tst_Expression : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void evaluate_data();
    void evaluate();
    void errors_data();
    void errors();
    void bracketScanner_data();
    void bracketScanner();
    void singleBracket_data();
    void singleBracket();
    void formatSuffix_data();
    void formatSuffix();
    void lookupOrder_data();
    void lookupOrder();
    void recursionStops();
    void expandLines_data();
    void expandLines();
    void expandMemoLines();
    void aggregateHook();
    void capitals_data();
    void capitals();
    void messageBoxFunction();
    void errorMessage();

private:
    TRMVariables m_globals;
    TRMVariables m_locals;
};

void tst_Expression::init() {
    m_globals.Clear();
    m_locals.Clear();
}

namespace {
// An evaluator on test variable sets with two names of its own.
struct Fixture {
    TRMEvaluator ev;
    Fixture(TRMVariables& g, TRMVariables& l) {
        ev.globalVariables = &g;
        ev.localVariables = &l;
        ev.state.started = QDateTime(QDate(2005, 3, 10), QTime(9, 30, 0));
        ev.dictionary = [](const QString& name, QVariant& v) {
            if (name.compare(u"cdsPrint.\"f_Gjje\"", Qt::CaseInsensitive) == 0) {
                v = 1234.5;
                return true;
            }
            return false;
        };
    }
};
} // namespace

void tst_Expression::evaluate_data() {
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("integer") << "42" << QVariant(42);
    QTest::newRow("point decimal") << "2.5" << QVariant(2.5);
    QTest::newRow("comma decimal") << "2,5" << QVariant(2.5);
    QTest::newRow("string") << "'abc'" << QVariant("abc");
    QTest::newRow("doubled quote") << "'it''s'" << QVariant("it's");
    QTest::newRow("concat") << "'a' + 'b'" << QVariant("ab");
    QTest::newRow("precedence") << "1 + 2 * 3" << QVariant(7);
    QTest::newRow("parentheses") << "(1 + 2) * 3" << QVariant(9);
    QTest::newRow("left assoc minus") << "10 - 2 - 3" << QVariant(5);
    QTest::newRow("division") << "7 / 2" << QVariant(3.5);
    QTest::newRow("mod keyword") << "7 mod 3" << QVariant(1);
    QTest::newRow("unary minus") << "-2 * 3" << QVariant(-6);
    QTest::newRow("unary plus") << "+4" << QVariant(4);
    QTest::newRow("comparison") << "1 + 1 = 2" << QVariant(true);
    QTest::newRow("not equal") << "'a' <> 'b'" << QVariant(true);
    QTest::newRow("less equal") << "3 <= 2" << QVariant(false);
    QTest::newRow("greater equal") << "3 >= 3" << QVariant(true);
    QTest::newRow("parenthesised and") << "(1 = 1) and (2 = 2)" << QVariant(true);
    // AND binds like "*": 1 = (1 AND 2) = 2 -> (1 = 0) = 2 -> false = 2.
    QTest::newRow("and binds tight") << "1 = 1 AND 2 = 2" << QVariant(false);
    QTest::newRow("or booleans") << "(1 = 2) OR (2 = 2)" << QVariant(true);
    QTest::newRow("not") << "NOT (1 = 2)" << QVariant(true);
    QTest::newRow("semicolon ends") << "1 + 1; 5" << QVariant(2);
    QTest::newRow("call") << "Copy('abcdef', 2, 3)" << QVariant("bcd");
    QTest::newRow("nested call") << "UpperCase(Trim('  ab '))" << QVariant("AB");
    QTest::newRow("comma in quoted argument") << "Pos(',', 'a,b')" << QVariant(2);
    QTest::newRow("missing argument empty") << "IF(1 = 2, 'x', )" << QVariant();
    QTest::newRow("if") << "IF(2 > 1, 'yes', 'no')" << QVariant("yes");
    QTest::newRow("bracketed reference") << "[cdsPrint.\"f_Gjje\"] * 2" << QVariant(2469.0);
    QTest::newRow("field reference name") << "cdsPrint.\"f_Gjje\" + 0.5" << QVariant(1235.0);
    QTest::newRow("numeric text adds") << "'2' + 3" << QVariant(5.0);
    QTest::newRow("round half away") << "Round(2.5)" << QVariant(3);
    QTest::newRow("rmround") << "RMRound(2.675, 2)" << QVariant(2.68);
    QTest::newRow("int") << "Int(-3.7)" << QVariant(-3);
    QTest::newRow("frac") << "Frac(2.25)" << QVariant(0.25);
    QTest::newRow("div") << "Div(7, 2)" << QVariant(3);
    QTest::newRow("format float") << "FormatFloat('#,##0.00', 1234.5)" << QVariant("1,234.50");
    QTest::newRow("format date") << "FormatDateTime('yyyy年m月', StrToDate('2005-03-10'))"
                                 << QVariant("2005年3月");
    QTest::newRow("year of date") << "Year(Date)" << QVariant(2005);
    QTest::newRow("length") << "Length('报表')" << QVariant(2);
    QTest::newRow("name case") << "NameCase('hello wORLD')" << QVariant("Hello World");
    QTest::newRow("string of char") << "StringOfChar('*', 3)" << QVariant("***");
    QTest::newRow("month english") << "MonthToEnglishShort(3)" << QVariant("Mar");
    QTest::newRow("extract path") << "ExtractFilePath('c:\\a\\b.rmf')" << QVariant("c:\\a\\");
    QTest::newRow("max num") << "MaxNum(3, 8)" << QVariant(8);
    QTest::newRow("true function") << "TRUE()" << QVariant(true);
    QTest::newRow("page function") << "PAGE#()" << QVariant(1);
    QTest::newRow("keyword case") << "7 Mod 4" << QVariant(3);
}

void tst_Expression::evaluate() {
    QFETCH(QString, expr);
    QFETCH(QVariant, expected);
    Fixture f(m_globals, m_locals);
    const QVariant v = f.ev.evaluate(expr);
    if (!expected.isValid()) {
        QVERIFY2(!v.isValid() || v.toString().isEmpty(), qPrintable(v.toString()));
        return;
    }
    if (expected.typeId() == QMetaType::Double)
        QCOMPARE(v.toDouble(), expected.toDouble());
    else
        QCOMPARE(v, expected);
}

void tst_Expression::errors_data() {
    QTest::addColumn<QString>("expr");
    QTest::newRow("unbalanced call") << "Copy('abc', 1";
    QTest::newRow("unclosed paren") << "(1 + 2";
    QTest::newRow("division by zero") << "1 / 0";
    QTest::newRow("mod by zero") << "1 mod 0";
    QTest::newRow("eleven arguments") << "IF(1,2,3,4,5,6,7,8,9,10,11)";
    QTest::newRow("unknown function") << "NoSuchFunction(1)";
    QTest::newRow("dangling operator") << "1 +";
    QTest::newRow("unterminated string") << "'abc";
    QTest::newRow("not a number") << "StrToFloat('abc')";
    QTest::newRow("deep nesting") << QString(5000, u'(') + u'1' + QString(5000, u')');
}

void tst_Expression::errors() {
    QFETCH(QString, expr);
    Fixture f(m_globals, m_locals);
    QVERIFY_THROWS_EXCEPTION(Error, f.ev.evaluate(expr));
}

void tst_Expression::bracketScanner_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("simple") << "a[b]c" << 1 << 3;
    QTest::newRow("nested") << "[a[b]c]" << 0 << 6;
    QTest::newRow("bracket in single quotes") << "[IF(1,']','x')]" << 0 << 14;
    QTest::newRow("bracket in double quotes") << "[ds.\"a]b\"]" << 0 << 9;
    QTest::newRow("double quote inside single") << "['\"]' + 'x']" << 0 << 11;
    QTest::newRow("unclosed") << "[abc" << 0 << -1;
}

void tst_Expression::bracketScanner() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QCOMPARE(int(ExpressionText::findBracketEnd(text, start)), end);
}

void tst_Expression::singleBracket_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("inner");
    QTest::newRow("field") << " [cdsPrint.\"f_Gjje\"] "
                           << "cdsPrint.\"f_Gjje\"";
    QTest::newRow("text after last bracket") << "[f_Gjje] 元"
                                             << "f_Gjje";
    QTest::newRow("two expressions") << "[a] [b]"
                                     << "";
    QTest::newRow("text before") << "x[a]"
                                 << "";
    QTest::newRow("unclosed") << "[a"
                              << "";
}

void tst_Expression::singleBracket() {
    QFETCH(QString, text);
    QFETCH(QString, inner);
    QString got;
    QCOMPARE(ExpressionText::isSingleBracket(text, got), !inner.isEmpty());
    QCOMPARE(got, inner);
}

void tst_Expression::formatSuffix_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expr");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("none") << "[x]"
                          << "[x]" << int(fcText) << 0 << "view";
    QTest::newRow("N") << "x #N#,##0.00"
                       << "x" << int(fcNumber) << 4 << "#,##0.00";
    QTest::newRow("digit loses itself") << "x #0.00"
                                        << "x" << int(fcNumber) << 4 << ".00";
    QTest::newRow("date") << "x #dyyyy"
                          << "x" << int(fcDate) << 7 << "yyyy";
    QTest::newRow("time") << "x #Thh:nn"
                          << "x" << int(fcTime) << 4 << "hh:nn";
    QTest::newRow("boolean") << "x #B否;是"
                             << "x" << int(fcBoolean) << 4 << "否;是";
    QTest::newRow("other keeps view format") << "x #Q"
                                             << "x" << int(fcText) << 0 << "view";
}

void tst_Expression::formatSuffix() {
    QFETCH(QString, text);
    QFETCH(QString, expr);
    QFETCH(int, category);
    QFETCH(int, index);
    QFETCH(QString, pattern);
    uint32_t word = DisplayFormat::makeWord(fcText, 0);
    QString fmt = QStringLiteral("view");
    QCOMPARE(ExpressionText::splitFormatSuffix(text, word, fmt), expr);
    QCOMPARE(DisplayFormat::category(word), category);
    QCOMPARE(DisplayFormat::index(word), index);
    QCOMPARE(fmt, pattern);
}

void tst_Expression::lookupOrder_data() {
    // Each row switches on every source from `from` on and expects the first to answer.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("handler first") << "X"
                                   << "handler";
    QTest::newRow("dictionary before variables") << "Dict"
                                                 << "dictionary";
    QTest::newRow("value") << "VALUE"
                           << "last";
    QTest::newRow("date beats caller variable") << "Date"
                                                << "2005-03-10";
    QTest::newRow("time beats caller variable") << "time"
                                                << "09:30:00";
    QTest::newRow("page built-in") << "Page#"
                                   << "3";
    QTest::newRow("total pages") << "TotalPages"
                                 << "7";
    QTest::newRow("caller variable") << "Title"
                                     << "已勾兑验收单明细查询";
    QTest::newRow("caller before report") << "Both"
                                          << "caller";
    QTest::newRow("report variable") << "Local"
                                     << "report";
    QTest::newRow("page geometry") << "FreeSpace"
                                   << "60";
    QTest::newRow("property") << "Memo1.Left"
                              << "12";
    QTest::newRow("engine variable") << "Engine"
                                     << "engine";
    QTest::newRow("expression last") << "2 * 21"
                                     << "42";
    QTest::newRow("unknown is empty") << "Nothing"
                                      << "";
}

void tst_Expression::lookupOrder() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    Fixture f(m_globals, m_locals);
    TRMVariables engine;
    f.ev.engineVariables = &engine;
    f.ev.onGetValue = [](const QString& n, QVariant& v) {
        if (n != u"X")
            return false;
        v = QStringLiteral("handler");
        return true;
    };
    f.ev.dictionary = [](const QString& n, QVariant& v) {
        if (n != u"Dict" && n != u"X")
            return false;
        v = QStringLiteral("dictionary");
        return true;
    };
    f.ev.properties = [](const QString& n, QVariant& v) {
        if (n.compare(u"Memo1.Left", Qt::CaseInsensitive) != 0)
            return false;
        v = 12;
        return true;
    };
    f.ev.state.value = QStringLiteral("last");
    f.ev.state.page = 3;
    f.ev.state.totalPages = 7;
    f.ev.state.curY = 40;
    f.ev.state.pageBottom = 100;
    m_globals.SetVariable(QStringLiteral("Date"), QStringLiteral("20990101"));
    m_globals.SetVariable(QStringLiteral("TIME"), QStringLiteral("235959"));
    m_globals.SetVariable(QStringLiteral("title"), QStringLiteral("已勾兑验收单明细查询"));
    m_globals.SetVariable(QStringLiteral("Both"), QStringLiteral("caller"));
    m_globals.SetVariable(QStringLiteral("Dict"), QStringLiteral("variable"));
    m_locals.SetVariable(QStringLiteral("Both"), QStringLiteral("report"));
    m_locals.SetVariable(QStringLiteral("Local"), QStringLiteral("report"));
    m_locals.SetVariable(QStringLiteral("VALUE"), QStringLiteral("variable"));
    engine.SetVariable(QStringLiteral("Engine"), QStringLiteral("engine"));
    engine.SetVariable(QStringLiteral("Title"), QStringLiteral("engine"));
    QCOMPARE(DisplayFormat::plainText(f.ev.getValue(name)), expected);
}

void tst_Expression::recursionStops() {
    Fixture f(m_globals, m_locals);
    // A variable whose value names itself through an expression ends empty, not in a loop.
    f.ev.dictionary = [&f](const QString& n, QVariant& v) {
        if (n.compare(u"Loop", Qt::CaseInsensitive) == 0) {
            v = f.ev.evaluateInDictionary(QStringLiteral("[Loop] + 'x'"));
            return true;
        }
        return false;
    };
    const QVariant v = f.ev.getValue(QStringLiteral("Loop"));
    QVERIFY(v.toString().endsWith(u'x'));
    // Two variables naming each other through expressions end in an empty value.
    m_globals.SetVariable(QStringLiteral("A"), QVariant());
    QCOMPARE(f.ev.evaluate(QStringLiteral("[B1] + ''")).toString(), QString());
}

void tst_Expression::expandLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("hideZeros");
    QTest::addColumn<QString>("expected");
    QTest::newRow("caller variable") << "[Title]" << true << "已勾兑验收单明细查询";
    QTest::newRow("date beats variable") << "[Date]" << true << "2005-03-10";
    QTest::newRow("backslash literal") << "a\\[Title]b" << true << "a[Title]b";
    QTest::newRow("two expressions") << "[Page#]/[TotalPages#]" << true << "1/";
    QTest::newRow("total pages zero shown") << "[Page#]/[TotalPages#]" << false << "1/0";
    QTest::newRow("field amount") << "已兑:[cdsPrint.\"f_Gjje\" #N#,##0.00]" << true
                                  << "已兑:1,234.50";
    QTest::newRow("quoted bracket") << "[IF(1 = 1, ']', 'x')]" << true << "]";
    QTest::newRow("unclosed stays") << "a [b" << true << "a [b";
    QTest::newRow("inserted text not rescanned") << "[Raw]" << true << "[Title]";
    QTest::newRow("zero hidden") << "[Zero]" << true << "";
    QTest::newRow("zero shown") << "[Zero]" << false << "0";
    QTest::newRow("zero text kept") << "[ZeroText]" << true << "0";
}

void tst_Expression::expandLines() {
    QFETCH(QString, line);
    QFETCH(bool, hideZeros);
    QFETCH(QString, expected);
    Fixture f(m_globals, m_locals);
    m_globals.SetVariable(QStringLiteral("Title"), QStringLiteral("已勾兑验收单明细查询"));
    m_globals.SetVariable(QStringLiteral("Date"), QStringLiteral("20990101"));
    m_globals.SetVariable(QStringLiteral("Raw"), QStringLiteral("[Title]"));
    m_globals.SetVariable(QStringLiteral("Zero"), 0.0);
    m_globals.SetVariable(QStringLiteral("ZeroText"), QStringLiteral("0"));
    QCOMPARE(f.ev.expandLine(line, DisplayFormat::defaultWord(), QString(), hideZeros), expected);
}

void tst_Expression::expandMemoLines() {
    Fixture f(m_globals, m_locals);
    m_globals.SetVariable(QStringLiteral("Condi"), QStringLiteral("a\r\nb"));
    const QStringList memo{QStringLiteral("[Condi]"), QString(), QStringLiteral("x[Page#]")};
    QCOMPARE(f.ev.expandMemo(memo, DisplayFormat::defaultWord(), QString(), true, false),
             (QStringList{"a", "b", "", "x1"}));
    QCOMPARE(f.ev.expandMemo(memo, DisplayFormat::defaultWord(), QString(), true, true), memo);
    // A memo amount with "####0.00": value formatted; null amount (0) hidden.
    const uint32_t amount = DisplayFormat::makeWord(fcNumber, 4, 2);
    QCOMPARE(f.ev.expandLine(QStringLiteral("[cdsPrint.\"f_Gjje\"]"), amount,
                             QStringLiteral("####0.00"), true),
             QStringLiteral("1234.50"));
    m_globals.SetVariable(QStringLiteral("NullAmount"), 0.0);
    QCOMPARE(
        f.ev.expandLine(QStringLiteral("[NullAmount]"), amount, QStringLiteral("####0.00"), true),
        QString());
}

void tst_Expression::aggregateHook() {
    Fixture f(m_globals, m_locals);
    QCOMPARE(f.ev.evaluate(QStringLiteral("SUM([x])")), QVariant());
    QString seen;
    f.ev.aggregate = [&seen](const QString& name, TRMFunctionArgs& args, QVariant& r) {
        seen = name + u':' + args.text(0);
        r = 99.5;
        return true;
    };
    QCOMPARE(f.ev.evaluate(QStringLiteral("Sum([cdsPrint.\"f_Gjje\"]) + 0.5")).toDouble(), 100.0);
    QCOMPARE(seen, QStringLiteral("SUM:[cdsPrint.\"f_Gjje\"]"));
}

void tst_Expression::capitals_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("capital");
    QTest::newRow("full") << 1234.56 << "壹仟贰佰叁拾肆元伍角陆分";
    QTest::newRow("whole") << 100.0 << "壹佰元整";
    QTest::newRow("inner zero") << 1005.0 << "壹仟零伍元整";
    QTest::newRow("wan") << 100020.0 << "壹拾万零贰拾元整";
    QTest::newRow("only fen") << 0.05 << "伍分";
    QTest::newRow("no jiao") << 12.05 << "壹拾贰元零伍分";
    QTest::newRow("negative") << -3.5 << "负叁元伍角整";
    QTest::newRow("zero") << 0.0 << "零元整";
}

void tst_Expression::capitals() {
    QFETCH(double, amount);
    QFETCH(QString, capital);
    QCOMPARE(TRMStandardFunctions::currencyToChinese(amount), capital);
}

void tst_Expression::messageBoxFunction() {
    ui::ScriptedModalRunner runner;
    ui::ScopedModalRunner scoped(runner);
    runner.queueAnswer(ui::IdNo);
    Fixture f(m_globals, m_locals);
    QCOMPARE(f.ev.evaluate(QStringLiteral("MessageBox('继续?', '询问', 4)")).toInt(),
             int(ui::IdNo));
    QCOMPARE(runner.messages().size(), 1);
    QCOMPARE(runner.messages()[0].text, QStringLiteral("继续?"));
}

void tst_Expression::errorMessage() {
    QCOMPARE(
        TRMEvaluator::composePrepareError(QStringLiteral("Division by zero"), QStringLiteral("RMR"),
                                          true, QStringLiteral("Memo3"),
                                          {QStringLiteral("[a/b]"), QStringLiteral("x")}),
        QStringLiteral("计算时发生错误\n[a/b]\nx\n\n报表: RMR\n对象: Memo3\n\nDivision by zero"));
    QCOMPARE(TRMEvaluator::composePrepareError(QStringLiteral("e"), QStringLiteral("RMR"), false,
                                               QString(), {}),
             QStringLiteral("计算时发生错误\n\n报表: RMR\n\ne"));
}

QTEST_MAIN(tst_Expression)
#include "tst_Expression.moc"
