#include "common/DbDialect.h"
#include "common/Error.h"
#include "common/TextRoutines.h"

#include <QtTest>

using namespace kestrane;

class TestTextRoutines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isIntText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("plain") << "12" << true;
        QTest::newRow("leading space") << " 12" << true;
        QTest::newRow("trailing space") << "12 " << false;
        QTest::newRow("spaces only") << "   " << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("negative") << "-42" << true;
        QTest::newRow("plus") << "+7" << true;
        QTest::newRow("dollar hex") << "$1F" << true;
        QTest::newRow("0x hex") << "0x7fffffffffffffff" << true;
        QTest::newRow("hex all bits") << "$FFFFFFFFFFFFFFFF" << true;
        QTest::newRow("hex too long") << "$1FFFFFFFFFFFFFFFF" << false;
        QTest::newRow("int64 max") << "9223372036854775807" << true;
        QTest::newRow("int64 min") << "-9223372036854775808" << true;
        QTest::newRow("overflow") << "9223372036854775808" << false;
        QTest::newRow("decimal") << "1.5" << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("letters") << "12a" << false;
        QTest::newRow("bad hex digit") << "$G1" << false;
        QTest::newRow("full-width digits") << "１２" << false;
    }
    void isIntText() {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(IsIntText(text), expected);
    }

    void intValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid32");
        QTest::addColumn<qint64>("value");
        QTest::newRow("decimal") << " 120" << true << qint64(120);
        QTest::newRow("negative hex") << "-$10" << true << qint64(-16);
        QTest::newRow("0x hex") << "0x7FFFFFFF" << true << qint64(2147483647);
        QTest::newRow("int32 min") << "-2147483648" << true << qint64(-2147483648LL);
        QTest::newRow("beyond int32") << "2147483648" << false << qint64(2147483648LL);
        QTest::newRow("hex wraps in 64 bits") << "$FFFFFFFFFFFFFFFF" << false << qint64(-1);
    }
    void intValues() {
        QFETCH(QString, text);
        QFETCH(bool, valid32);
        QFETCH(qint64, value);
        int64_t parsed = 0;
        QVERIFY(TextToInt64(text, parsed));
        QCOMPARE(qint64(parsed), value);
        if (valid32)
            QCOMPARE(qint64(StrToInt(text)), value);
        else
            QVERIFY_THROWS_EXCEPTION(kestrane::Error, StrToInt(text));
        int64_t untouched = 7;
        QVERIFY(!TextToInt64("12 ", untouched));
        QCOMPARE(untouched, int64_t(7));
        QVERIFY_THROWS_EXCEPTION(kestrane::Error, StrToInt("abc"));
    }

    void padNum_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pad zero") << 3 << false << qint64(0) << "000";
        QTest::newRow("cut keeps tail") << 2 << true << qint64(1234) << "34";
        QTest::newRow("width 0 cut") << 0 << true << qint64(0) << "";
        QTest::newRow("longer kept whole") << 5 << false << qint64(123456) << "123456";
        QTest::newRow("exact width") << 4 << true << qint64(1234) << "1234";
        QTest::newRow("negative padded before sign") << 5 << false << qint64(-12) << "00-12";
        QTest::newRow("negative cut") << 2 << true << qint64(-123) << "23";
    }
    void padNum() {
        QFETCH(int, width);
        QFETCH(bool, cut);
        QFETCH(qint64, value);
        QFETCH(QString, expected);
        QCOMPARE(PadNum(width, cut, value), expected);
    }

    void fields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("fields"); // GetField for n = 1..size
        QTest::newRow("three") << "a,b,c"
                               << "," << 3 << QStringList{"a", "b", "c", ""};
        QTest::newRow("no delimiter") << "abc"
                                      << "," << 1 << QStringList{"", ""};
        QTest::newRow("pipe") << "x|y"
                              << "|" << 2 << QStringList{"x", "y", ""};
        QTest::newRow("single") << "x"
                                << "|" << 1 << QStringList{""};
        QTest::newRow("empty field") << "a,b,,c"
                                     << "," << 4 << QStringList{"a", "b", "", "c"};
        QTest::newRow("empty text") << ""
                                    << "," << 0 << QStringList{"", ""};
        QTest::newRow("long delimiter") << "a,,b"
                                        << ",," << 1 << QStringList{"", ""};
        QTest::newRow("trailing delimiter") << "a,"
                                            << "," << 2 << QStringList{"a", ""};
        QTest::newRow("chinese") << "部门编码|f_Bmbm"
                                 << "|" << 2 << QStringList{"部门编码", "f_Bmbm", ""};
    }
    void fields() {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(int, count);
        QFETCH(QStringList, fields);
        QCOMPARE(CountFields(text, delimiter), count);
        for (int n = 1; n <= fields.size(); ++n)
            QCOMPARE(GetField(text, delimiter, uint8_t(n)), fields[n - 1]);
    }

    void splitText_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<bool>("noneEmpty");
        QTest::newRow("empty") << ";"
                               << "" << QStringList{""} << false;
        QTest::newRow("trailing") << ";"
                                  << "a;" << QStringList{"a", ""} << false;
        QTest::newRow("trimmed") << ";"
                                 << " a ; b;c " << QStringList{"a", "b", "c"} << true;
        QTest::newRow("multi-char separator") << "||"
                                              << "x||y" << QStringList{"x", "y"} << true;
        QTest::newRow("no separator") << ";"
                                      << "abc" << QStringList{"abc"} << true;
        QTest::newRow("blank piece") << ";"
                                     << "a;  ;b" << QStringList{"a", "", "b"} << false;
    }
    void splitText() {
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QFETCH(bool, noneEmpty);
        QStringList list{"stale"};
        QCOMPARE(SplitText(separator, text, list), noneEmpty);
        QCOMPARE(list, pieces);
    }

    void ifThenStr() {
        QCOMPARE(IfThenStr(true, "a", "b"), QString("a"));
        QCOMPARE(IfThenStr(false, "a", "b"), QString("b"));
    }

    void dialectKeywords() {
        SetDbDialect(1);
        QCOMPARE(kwAtomicBegin, QString(" BEGIN ATOMIC "));
        QCOMPARE(kwThen, QString(" THEN "));
        QCOMPARE(kwSemicolon, QString(" ; "));
        QCOMPARE(kwEndIf, QString(" END IF "));
        QCOMPARE(kwAtomicEnd, QString(" END "));
        QVERIFY(kwBegin.isEmpty() && kwEnd.isEmpty());
        SetDbDialect(7); // unknown kinds change nothing
        QCOMPARE(kwThen, QString(" THEN "));
        SetDbDialect(0);
        QCOMPARE(kwBegin, QString(" Begin "));
        QCOMPARE(kwEnd, QString(" End "));
        QVERIFY(kwAtomicBegin.isEmpty() && kwThen.isEmpty() && kwSemicolon.isEmpty() &&
                kwEndIf.isEmpty() && kwAtomicEnd.isEmpty());
        SetDbDialect(2);
        for (const QString* kw :
             {&kwAtomicBegin, &kwThen, &kwSemicolon, &kwEndIf, &kwAtomicEnd, &kwBegin, &kwEnd})
            QVERIFY(kw->isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextRoutines)
#include "TestTextRoutines.moc"
