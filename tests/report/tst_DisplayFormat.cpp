// Display formats: the float and date-time pattern routines and the format word rule.
#include "report/DisplayFormat.h"

#include <QtTest>
#include <cmath>
#include <cstdio>
#include <random>

using namespace kestrane::report;

class tst_DisplayFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void floatPatterns_data();
    void floatPatterns();
    void fifteenDigitsAsTheCLibraryRounds();
    void fixedAndGeneral_data();
    void fixedAndGeneral();
    void dateTimePatterns_data();
    void dateTimePatterns();
    void formatWord_data();
    void formatWord();
    void wordPacking();
    void zeroDetection();
};

void tst_DisplayFormat::floatPatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("amount") << "####0.00" << 12.5 << "12.50";
    QTest::newRow("amount tiny") << "####0.00" << 0.004 << "0.00";
    QTest::newRow("negative tiny has no sign") << "0.00" << -0.004 << "0.00";
    QTest::newRow("half away from zero on decimal form") << "0.00" << 2.675 << "2.68";
    QTest::newRow("half away negative") << "0.00" << -2.675 << "-2.68";
    QTest::newRow("digits beyond placeholders") << "0" << 123456.0 << "123456";
    QTest::newRow("grouping") << "#,##0.00" << 1234567.891 << "1,234,567.89";
    QTest::newRow("grouping small") << "#,##0.00" << 12.0 << "12.00";
    QTest::newRow("grouping point without decimals") << "#,##0." << 1234.4 << "1,234";
    QTest::newRow("optional decimals") << "0.########" << 1.25 << "1.25";
    QTest::newRow("optional decimals whole") << "0.########" << 3.0 << "3";
    QTest::newRow("hash only zero") << "#.##" << 0.0 << "";
    QTest::newRow("leading zeros") << "000.0" << 5.25 << "005.3";
    QTest::newRow("negative section") << "#,##0.00;(#,##0.00)" << -1234.5 << "(1,234.50)";
    QTest::newRow("zero section") << "0.00;-0.00;'nil'" << 0.0 << "nil";
    QTest::newRow("rounds into zero section") << "0.00;-0.00;'nil'" << 0.001 << "nil";
    QTest::newRow("empty negative section") << "0.0;;z" << -1.25 << "-1.3";
    QTest::newRow("literal text") << "'¥'0.00\"元\"" << 3.5 << "¥3.50元";
    QTest::newRow("separator inside quotes") << "0.0';'" << 1.0 << "1.0;";
    QTest::newRow("scientific") << "0.00E+00" << 12345.0 << "1.23E+04";
    QTest::newRow("scientific negative exponent") << "0.0E-0" << 0.00125 << "1.3E-3";
    QTest::newRow("scientific E- positive") << "0.0E-00" << 1250.0 << "1.3E03";
    QTest::newRow("empty pattern general") << "" << 1234.5 << "1234.5";
    QTest::newRow("carry") << "0.0" << 9.96 << "10.0";
    // 32769 / 32768 and 32771 / 32768 end in a 5 exactly one place past 15 digits.
    QTest::newRow("tie past 15 digits, even")
        << "0.##############" << 32769.0 / 32768.0 << "1.00003051757812";
    QTest::newRow("tie past 15 digits, odd")
        << "0.##############" << 32771.0 / 32768.0 << "1.00009155273438";
    QTest::newRow("15 nines carry") << "0.##############" << 9.999999999999999 << "10";
}

void tst_DisplayFormat::floatPatterns() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(DisplayFormat::formatFloat(pattern, value), expected);
}

// Values print with 15 significant digits, rounded as the C library rounds the exact binary
// value to that many digits. Prices, quantities, dyadic fractions (exact ties) and wide
// random values from 1 to 1e15 are checked against snprintf.
void tst_DisplayFormat::fifteenDigitsAsTheCLibraryRounds() {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> exponent(0.0, 15.0);
    QList<double> values;
    for (int i = 1; i < 20000; ++i) {
        values << i * 1.25 + 0.005 << i / 100.0 << 1.0 + i / 32768.0 << i * 12345.678;
        values << std::pow(10.0, exponent(random));
    }
    for (const double v : values) {
        if (!(v >= 1.0 && v < 1e15))
            continue;
        // As many decimals as leave 15 significant digits, trailing zeros dropped.
        const int intDigits = int(QByteArray::number(qint64(v)).size());
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", 15 - intDigits, v);
        QString expected = QString::fromLatin1(buf);
        if (expected.contains(u'.')) {
            while (expected.endsWith(u'0'))
                expected.chop(1);
            if (expected.endsWith(u'.'))
                expected.chop(1);
        }
        const QString text = DisplayFormat::formatFloat(QStringLiteral("0.##############"), v);
        QVERIFY2(
            text == expected,
            qPrintable(
                QStringLiteral("%1: %2 instead of %3").arg(v, 0, 'g', 17).arg(text, expected)));
    }
}

void tst_DisplayFormat::fixedAndGeneral_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("grouping");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("general");
    QTest::newRow("plain") << 1234.5 << 2 << false << "1234.50"
                           << "1234.5";
    QTest::newRow("grouped") << 1234.5 << 2 << true << "1,234.50"
                             << "1234.5";
    QTest::newRow("below one") << 0.25 << 1 << false << "0.3"
                               << "0.25";
    QTest::newRow("no decimals") << -7.5 << 0 << false << "-8"
                                 << "-7.5";
    QTest::newRow("huge falls to scientific") << 1e20 << 2 << false << "1E20"
                                              << "1E20";
    QTest::newRow("tiny general") << 0.0000015 << 2 << false << "0.00"
                                  << "1.5E-6";
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << 2 << false << "0.30"
                                    << "0.3";
}

void tst_DisplayFormat::fixedAndGeneral() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(bool, grouping);
    QFETCH(QString, fixed);
    QFETCH(QString, general);
    QCOMPARE(DisplayFormat::formatFixed(value, decimals, grouping), fixed);
    QCOMPARE(DisplayFormat::formatGeneral(value), general);
}

void tst_DisplayFormat::dateTimePatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    // 1998-11-15 was a Sunday.
    QTest::newRow("short year") << "yy.mm.dd"
                                << "98.11.15";
    QTest::newRow("chinese") << "yyyy'年'mm'月'dd'日'"
                             << "1998年11月15日";
    QTest::newRow("upper case month") << "yyyy MM dd"
                                      << "1998 11 15";
    QTest::newRow("weekday long") << "dddd yyyy'年'M'月'd'日'"
                                  << "星期日 1998年11月15日";
    QTest::newRow("weekday short") << "ddd"
                                   << "周日";
    QTest::newRow("month names") << "mmm mmmm"
                                 << "11月 十一月";
    QTest::newRow("minutes after hours") << "hh:mm:ss"
                                         << "14:03:05";
    QTest::newRow("unpadded") << "h:n:s"
                              << "14:3:5";
    QTest::newRow("milliseconds") << "zzz"
                                  << "007";
    QTest::newRow("am/pm") << "h am/pm"
                           << "2 pm";
    QTest::newRow("a/p") << "hh a/p"
                         << "02 p";
    QTest::newRow("separator slash") << "yyyy/m/d"
                                     << "1998-11-15";
    QTest::newRow("double quoted literal") << "\"at\" hh"
                                           << "at 14";
}

void tst_DisplayFormat::dateTimePatterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    const QDateTime dt(QDate(1998, 11, 15), QTime(14, 3, 5, 7));
    QCOMPARE(DisplayFormat::formatDateTime(pattern, dt), expected);
}

void tst_DisplayFormat::formatWord_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("formatString");
    QTest::addColumn<QString>("expected");
    const QVariant amount(1234.5);
    const QVariant date(QDateTime(QDate(1998, 11, 15), QTime(2, 43, 35)));
    QTest::newRow("empty value") << QVariant() << int(fcNumber) << 1 << 2 << ""
                                 << "";
    QTest::newRow("blank string") << QVariant("  ") << int(fcText) << 0 << 2 << ""
                                  << "";
    QTest::newRow("text of double") << QVariant(2.5) << int(fcText) << 0 << 2 << ""
                                    << "2.5";
    QTest::newRow("text of string") << QVariant(" a ") << int(fcText) << 0 << 2 << ""
                                    << " a ";
    QTest::newRow("text of int") << QVariant(42) << int(fcText) << 0 << 2 << ""
                                 << "42";
    QTest::newRow("number 0") << amount << int(fcNumber) << 0 << 2 << ""
                              << "1234.5";
    QTest::newRow("number 1") << amount << int(fcNumber) << 1 << 2 << ""
                              << "1234.50";
    QTest::newRow("number 2") << QVariant(1234567.0) << int(fcNumber) << 2 << 1 << ""
                              << "1,234,567";
    QTest::newRow("number 3") << amount << int(fcNumber) << 3 << 2 << ""
                              << "1,234.50";
    QTest::newRow("number 4") << amount << int(fcNumber) << 4 << 0 << "####0.00"
                              << "1234.50";
    QTest::newRow("number of numeric text") << QVariant("12.5") << int(fcNumber) << 4 << 0 << "0.00"
                                            << "12.50";
    QTest::newRow("number falls back") << QVariant("abc") << int(fcNumber) << 4 << 0 << "0.00"
                                       << "abc";
    QTest::newRow("date 0") << date << int(fcDate) << 0 << 0 << ""
                            << "98.11.15";
    QTest::newRow("date 1") << date << int(fcDate) << 1 << 0 << ""
                            << "1998.11.15";
    QTest::newRow("date 2") << date << int(fcDate) << 2 << 0 << ""
                            << "1998年11月15日";
    QTest::newRow("date 3") << date << int(fcDate) << 3 << 0 << ""
                            << "1998 11 15";
    QTest::newRow("date 4 slash") << date << int(fcDate) << 4 << 0 << ""
                                  << "1998/11/15";
    QTest::newRow("date 5") << date << int(fcDate) << 5 << 0 << ""
                            << "星期日 1998 11 15";
    QTest::newRow("date 6") << date << int(fcDate) << 6 << 0 << ""
                            << "星期日 1998年11月15日";
    QTest::newRow("date custom") << date << int(fcDate) << 7 << 0 << "yyyy-mm"
                                 << "1998-11";
    QTest::newRow("date of text") << QVariant("2005-01-15") << int(fcDate) << 1 << 0 << ""
                                  << "2005.01.15";
    QTest::newRow("date falls back") << QVariant("soon") << int(fcDate) << 1 << 0 << ""
                                     << "soon";
    QTest::newRow("time 0") << date << int(fcTime) << 0 << 0 << ""
                            << "02:43:35";
    QTest::newRow("time 1") << date << int(fcTime) << 1 << 0 << ""
                            << "2:43:35";
    QTest::newRow("time 2") << date << int(fcTime) << 2 << 0 << ""
                            << "02:43";
    QTest::newRow("time 3") << date << int(fcTime) << 3 << 0 << ""
                            << "2:43";
    QTest::newRow("time custom") << date << int(fcTime) << 4 << 0 << "hh'h'"
                                 << "02h";
    QTest::newRow("bool 0") << QVariant(true) << int(fcBoolean) << 0 << 0 << ""
                            << "1";
    QTest::newRow("bool 1 false") << QVariant(false) << int(fcBoolean) << 1 << 0 << ""
                                  << "否";
    QTest::newRow("bool 1 true") << QVariant(true) << int(fcBoolean) << 1 << 0 << ""
                                 << "是";
    QTest::newRow("bool 2") << QVariant(false) << int(fcBoolean) << 2 << 0 << ""
                            << "_";
    QTest::newRow("bool 3") << QVariant(true) << int(fcBoolean) << 3 << 0 << ""
                            << "真";
    QTest::newRow("bool of number") << QVariant(0) << int(fcBoolean) << 3 << 0 << ""
                                    << "假";
    QTest::newRow("bool custom") << QVariant(true) << int(fcBoolean) << 4 << 0 << "no;yes"
                                 << "yes";
    QTest::newRow("bool falls back") << QVariant("maybe") << int(fcBoolean) << 1 << 0 << ""
                                     << "maybe";
    QTest::newRow("plain date-time") << date << int(fcText) << 0 << 0 << ""
                                     << "1998-11-15 02:43:35";
    QTest::newRow("plain midnight")
        << QVariant(QDateTime(QDate(2005, 1, 2), QTime(0, 0))) << int(fcText) << 0 << 0 << ""
        << "2005-01-02";
    QTest::newRow("plain bool") << QVariant(true) << int(fcText) << 0 << 0 << ""
                                << "True";
}

void tst_DisplayFormat::formatWord() {
    QFETCH(QVariant, value);
    QFETCH(int, category);
    QFETCH(int, index);
    QFETCH(int, decimals);
    QFETCH(QString, formatString);
    QFETCH(QString, expected);
    const uint32_t word = DisplayFormat::makeWord(category, index, decimals, u'.');
    QCOMPARE(DisplayFormat::formatValue(value, word, formatString), expected);
}

void tst_DisplayFormat::wordPacking() {
    const uint32_t word = DisplayFormat::makeWord(fcNumber, 4, 3, u',');
    QCOMPARE(word, 0x0104032Cu);
    QCOMPARE(DisplayFormat::category(word), int(fcNumber));
    QCOMPARE(DisplayFormat::index(word), 4);
    QCOMPARE(DisplayFormat::decimals(word), 3);
    // The word's separator replaces the point everywhere a number prints.
    QCOMPARE(DisplayFormat::formatValue(1234.5, DisplayFormat::makeWord(fcNumber, 1, 2, u','),
                                        QString()),
             QStringLiteral("1234,50"));
    QCOMPARE(
        DisplayFormat::formatValue(2.5, DisplayFormat::makeWord(fcText, 0, 2, u','), QString()),
        QStringLiteral("2,5"));
    QCOMPARE(DisplayFormat::separator(0), QChar(u'.'));
}

void tst_DisplayFormat::zeroDetection() {
    QVERIFY(DisplayFormat::isZeroNonString(0.0));
    QVERIFY(DisplayFormat::isZeroNonString(0));
    QVERIFY(!DisplayFormat::isZeroNonString(QStringLiteral("0")));
    QVERIFY(!DisplayFormat::isZeroNonString(0.01));
    QVERIFY(!DisplayFormat::isZeroNonString(false));
}

QTEST_GUILESS_MAIN(tst_DisplayFormat)
#include "tst_DisplayFormat.moc"
