#include "common/Gbk.h"

#include <QtTest>

using namespace kestrane;

class TestGbk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codec_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "f_Bmbm = '01'" << QByteArray("f_Bmbm = '01'");
        QTest::newRow("chinese") << "宋体" << QByteArray::fromHex("cbcecce5");
        QTest::newRow("mixed") << "合计:12条" << QByteArray::fromHex("bacfbcc63a3132ccf5");
        QTest::newRow("empty") << "" << QByteArray();
    }
    void codec() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(gbk::encode(text), bytes);
        QCOMPARE(gbk::decode(bytes), text);
        QCOMPARE(gbk::byteLength(text), bytes.size());
    }

    void unencodableBecomesQuestionMark() {
        const QString text = QString::fromUtf8("a😀b");
        QCOMPARE(gbk::encode(text), QByteArray("a?b"));
        QCOMPARE(gbk::byteLength(text), 3);
    }

    void invalidBytesNeverFail() {
        const QString text = gbk::decode(QByteArray::fromHex("41ff"));
        QVERIFY(text.startsWith(u'A'));
    }

    void truncateKeepsWholeCharacters() {
        QCOMPARE(gbk::truncateToBytes("ab宋体", 5), QString("ab宋"));
        QCOMPARE(gbk::truncateToBytes("ab宋体", 6), QString("ab宋体"));
        QCOMPARE(gbk::truncateToBytes("宋", 1), QString());
    }
};

QTEST_GUILESS_MAIN(TestGbk)
#include "TestGbk.moc"
