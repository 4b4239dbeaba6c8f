// The filter language: every construct, nulls, mixed text/number comparisons, precedence, and
// the position and expectation named by parse errors.
#include "SampleTables.h"
#include "common/Error.h"
#include "data/FilterExpression.h"

#include <QtTest>

using namespace kestrane;

namespace {
QList<int> passingRows(const FilterExpression& e, const Table& t) {
    const std::vector<uint64_t> bits = e.evaluate(t);
    QList<int> rows;
    for (qsizetype r = 0; r < t.rowCount(); ++r) {
        if ((bits[std::size_t(r) >> 6] >> (r & 63)) & 1u)
            rows.append(int(r));
    }
    return rows;
}
} // namespace

class TestFilterExpression : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Rows of the sample table (see SampleTables.h):
    //   0 0101 总店一部  1  120.5  20050105 true  2005-01-05
    //   1 0102 总店二部  2   80    20050131 false 2005-01-31
    //   2 0201 分店      3  100    20050201 true  2005-02-01
    //   3 0202 (every other column null)
    //   4 1    abc Shop 10   -5.25 20041231 false 2004-12-31
    //   5 A1   ABC shop  5    0    20050115 true  2005-01-15
    void selectsTheRows_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("rows");
        const QList<int> all{0, 1, 2, 3, 4, 5};
        QTest::newRow("empty text") << "" << all;
        QTest::newRow("blank text") << "   " << all;
        QTest::newRow("1=1") << "1=1" << all;
        QTest::newRow("1=0") << "1=0" << QList<int>{};
        QTest::newRow(">") << "f_Gjje > 100" << QList<int>{0};
        QTest::newRow(">=") << "f_Gjje >= 100" << QList<int>{0, 2};
        QTest::newRow("<") << "f_Gjje < 0" << QList<int>{4};
        QTest::newRow("<=") << "f_Gjje <= 0" << QList<int>{4, 5};
        QTest::newRow("<> skips nulls") << "f_Gjje <> 100" << QList<int>{0, 1, 4, 5};
        QTest::newRow("!=") << "f_Gjje != 100" << QList<int>{0, 1, 4, 5};
        QTest::newRow("=") << "f_Gjje = 80" << QList<int>{1};
        QTest::newRow("field name case") << "F_GJJE = 80" << QList<int>{1};
        QTest::newRow("bracketed name") << "[f_Gjje]=80" << QList<int>{1};
        QTest::newRow("numeric text literal") << "f_Gjje > '100'" << QList<int>{0};
        QTest::newRow("negative number") << "f_Gjje = -5.25" << QList<int>{4};
        QTest::newRow("literal on the left") << "100 < f_Gjje" << QList<int>{0};
        QTest::newRow("negative literal on the left") << "-5.25 = f_Gjje" << QList<int>{4};
        QTest::newRow("integer column") << "f_Dnxh >= 5" << QList<int>{4, 5};
        QTest::newRow("boolean column") << "f_Sfjz = 1" << QList<int>{0, 2, 5};
        QTest::newRow("LIKE contains") << "f_Bmmc LIKE '%总店%'" << QList<int>{0, 1};
        QTest::newRow("LIKE prefix, lower case keyword")
            << "f_Bmmc like '总店%'" << QList<int>{0, 1};
        QTest::newRow("LIKE suffix") << "f_Bmmc LIKE '%部'" << QList<int>{0, 1};
        QTest::newRow("LIKE underscore") << "f_Bmmc LIKE '总店_部'" << QList<int>{0, 1};
        QTest::newRow("LIKE underscore is one character") << "f_Bmmc LIKE '_店'" << QList<int>{2};
        QTest::newRow("LIKE general") << "f_Bmmc LIKE '%店%部'" << QList<int>{0, 1};
        QTest::newRow("LIKE ignores case") << "f_Bmmc LIKE 'abc%'" << QList<int>{4, 5};
        QTest::newRow("LIKE without wildcards") << "f_Bmmc LIKE 'abc shop'" << QList<int>{4, 5};
        QTest::newRow("NOT LIKE skips nulls") << "f_Bmmc NOT LIKE '%总店%'" << QList<int>{2, 4, 5};
        QTest::newRow("LIKE on numbers") << "f_Gjje LIKE '12%'" << QList<int>{0};
        QTest::newRow("LIKE on dates") << "f_Rq LIKE '2005-01%'" << QList<int>{0, 1, 5};
        QTest::newRow("text = ignores case") << "f_Bmmc = 'abc shop'" << QList<int>{4, 5};
        QTest::newRow("text <>") << "f_Bmmc <> '分店'" << QList<int>{0, 1, 4, 5};
        QTest::newRow("doubled quote") << "f_Bmmc <> 'it''s'" << QList<int>{0, 1, 2, 4, 5};
        QTest::newRow("BETWEEN texts")
            << "f_Gdrq Between '20050101' And '20050131'" << QList<int>{0, 1, 5};
        QTest::newRow("NOT BETWEEN")
            << "f_Gdrq NOT BETWEEN '20050101' AND '20050131'" << QList<int>{2, 4};
        QTest::newRow("BETWEEN numbers") << "f_Gjje BETWEEN 80 AND 100" << QList<int>{1, 2};
        QTest::newRow("BETWEEN quoted bounds on a number field")
            << "f_Dnxh Between '2' And '5'" << QList<int>{1, 2, 5};
        QTest::newRow("text column = number: numeric texts as numbers")
            << "f_Bmbm = 101" << QList<int>{0};
        QTest::newRow("text column > number: other texts as text")
            << "f_Bmbm > 200" << QList<int>{2, 3, 5};
        QTest::newRow("date column") << "f_Rq = '2005-01-31'" << QList<int>{1};
        QTest::newRow("date column, compact literal")
            << "f_Rq >= '20050115'" << QList<int>{1, 2, 5};
        QTest::newRow("the filter dialog's example")
            << "( f_Bmmc LIKE '%总店%' ) And ( f_Gjje > 100 ) OR ( f_Gdrq Between '20050101' And "
               "'20050131' )"
            << QList<int>{0, 1, 5};
        QTest::newRow("AND binds tighter than OR")
            << "f_Dnxh = 2 OR f_Dnxh = 3 AND f_Gjje > 100" << QList<int>{1};
        QTest::newRow("parentheses")
            << "(f_Dnxh = 2 OR f_Dnxh = 3) AND f_Gjje >= 100" << QList<int>{2};
        QTest::newRow("keywords in any case")
            << "f_Dnxh = 1 oR f_Dnxh = 2 aNd 1=1" << QList<int>{0, 1};
        QTest::newRow("NOT skips nulls") << "NOT f_Gjje > 100" << QList<int>{1, 2, 4, 5};
        QTest::newRow("NOT of a group")
            << "NOT (f_Bmmc LIKE '%总店%' OR f_Gjje > 50)" << QList<int>{4, 5};
        QTest::newRow("unknown OR true is true")
            << "f_Gjje > 100 OR f_Bmbm = '0202'" << QList<int>{0, 3};
        QTest::newRow("IS NULL") << "f_Gjje IS NULL" << QList<int>{3};
        QTest::newRow("IS NOT NULL") << "f_Gjje is not null" << QList<int>{0, 1, 2, 4, 5};
        QTest::newRow("grouped form with a range")
            << "( 1=1  And f_Gdrq Between '20050101' And '20050131' )" << QList<int>{0, 1, 5};
        QTest::newRow("grouped form, empty value") << "( 1=1  )" << all;
        QTest::newRow("excluded values after the placeholder")
            << "( f_Bmmc<>'temp@temp@temp' ) and (f_Bmmc<>'总店一部' and f_Bmmc<>'总店二部')"
            << QList<int>{2, 4, 5};
        QTest::newRow("field against field") << "f_Gjje > f_Dnxh" << QList<int>{0, 1, 2};
        QTest::newRow("constant texts ignore case") << "'abc' = 'ABC'" << all;
        QTest::newRow("constant text against number") << "'10' > 9" << all;
    }

    void selectsTheRows() {
        QFETCH(QString, filter);
        QFETCH(QList<int>, rows);
        const Table t = testing::sampleTable();
        QCOMPARE(passingRows(FilterExpression::parse(filter, t.fields()), t), rows);
    }

    void reportsWhereAndWhatWasExpected_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing operand") << "f_Gjje >"
                                         << "character 9: expected a field name, a text in quotes "
                                            "or a number after >, found the "
                                            "end of the text";
        QTest::newRow("unknown field") << "f_x = 1"
                                       << "character 1: unknown field f_x";
        QTest::newRow("unknown field in brackets") << "x = 1 or [f y] = 2"
                                                   << "character 1: unknown field x";
        QTest::newRow("open text") << "f_Bmmc = 'abc"
                                   << "character 10: text literal is not closed";
        QTest::newRow("open group") << "(f_Gjje > 1"
                                    << "character 12: expected ')' to close the '(' at character 1";
        QTest::newRow("missing joint") << "f_Gjje > 1 f_Dnxh = 2"
                                       << "character 12: expected AND, OR or the end of the text, "
                                          "found 'f_Dnxh'";
        QTest::newRow("text against number field")
            << "f_Gjje = 'abc'"
            << "character 10: field f_Gjje holds numbers; the text 'abc' is "
               "not a number";
        QTest::newRow("BETWEEN without AND") << "f_Gdrq Between '1' '2'"
                                             << "character 20: expected AND between the bounds";
        QTest::newRow("missing operator") << "f_Gjje 100"
                                          << "character 8: expected a comparison (= <> < <= > >=), "
                                             "LIKE, BETWEEN or IS after f_Gjje, found '100'";
        QTest::newRow("dangling AND") << "f_Gjje > 1 AND"
                                      << "character 15: expected a field name, a text in quotes, a "
                                         "number, NOT or '(', found the end of the text";
        QTest::newRow("stray character") << "f_Gjje ? 1"
                                         << "character 8: unexpected character '?'";
        QTest::newRow("open bracket") << "[f_Gjje = 1"
                                      << "character 1: field name in brackets is not closed";
        QTest::newRow("not a date") << "f_Rq = 'tomorrow'"
                                    << "character 8: field f_Rq holds dates";
        QTest::newRow("field as pattern")
            << "f_Bmmc LIKE f_Bmbm"
            << "character 13: expected a pattern in quotes after LIKE";
        QTest::newRow("IS without NULL") << "f_Gjje IS 5"
                                         << "character 11: expected NULL after IS, found '5'";
        QTest::newRow("keyword as operand") << "AND f_Gjje = 1"
                                            << "character 1: expected a field name, a text in "
                                               "quotes, a number, NOT or '(', found 'AND'";
        QTest::newRow("extra parenthesis") << "f_Gjje = 1)"
                                           << "character 11: expected AND, OR or the end of the "
                                              "text, found ')'";
        QTest::newRow("letters after a number")
            << "12abc = 1"
            << "character 3: unexpected 'a' after the number 12";
    }

    void reportsWhereAndWhatWasExpected() {
        QFETCH(QString, filter);
        QFETCH(QString, message);
        const Table t = testing::sampleTable();
        try {
            FilterExpression::parse(filter, t.fields());
            QFAIL("the text was accepted");
        } catch (const Error& e) {
            QVERIFY2(e.message().startsWith(u"filter text, "), qPrintable(e.message()));
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    // Rows are kept in 64-row words: rows on either side of a word boundary, and a last
    // partial word, must come out right.
    void wordBoundaries() {
        Table t({{"f_n", "", FieldType::Integer}, {"f_s", "", FieldType::String}});
        for (int r = 0; r < 130; ++r) {
            if (r == 64 || r == 127)
                t.appendRow({QVariant(), QVariant()});
            else
                t.appendRow({r, QString::number(r % 3)});
        }
        auto rows = [&t](const QString& f) {
            return passingRows(FilterExpression::parse(f, t.fields()), t);
        };
        QCOMPARE(rows("f_n >= 63 AND f_n <= 65 OR f_n = 129"), (QList<int>{63, 65, 129}));
        QCOMPARE(rows("f_n IS NULL"), (QList<int>{64, 127}));
        QCOMPARE(rows("f_s = '2' AND f_n > 120"), (QList<int>{122, 125, 128}));
        QCOMPARE(rows("1=1").size(), 130);
        QCOMPARE(rows("NOT f_n < 128"), (QList<int>{128, 129}));

        std::vector<uint32_t> order{129, 5, 64, 63, 0};
        FilterExpression::parse("f_n > 10 OR f_n IS NULL", t.fields()).select(t, order);
        QCOMPARE(order, (std::vector<uint32_t>{129, 64, 63}));
    }
};

QTEST_GUILESS_MAIN(TestFilterExpression)
#include "TestFilterExpression.moc"
