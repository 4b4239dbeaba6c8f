#include "common/HostErrors.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QWidget>
#include <QtTest>

using namespace kestrane;

class TestHostErrors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void joins_data() {
        QTest::addColumn<QVariant>("errors");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two texts") << QVariant(QVariantList{"A", "B"}) << ""
                                   << "A\r\nB";
        QTest::newRow("with heading") << QVariant(QVariantList{"A", "B"}) << "H"
                                      << "H\r\nA\r\nB";
        QTest::newRow("string list") << QVariant(QStringList{"表不存在"}) << ""
                                     << "表不存在";
        QTest::newRow("not an array") << QVariant() << ""
                                      << "未知错误！";
        QTest::newRow("text, not an array") << QVariant("oops") << "H"
                                            << "H\r\n未知错误！";
        QTest::newRow("empty array") << QVariant(QVariantList{}) << ""
                                     << "";
        QTest::newRow("element not text")
            << QVariant(QVariantList{"A", QVariant(QVariantList{1}), "C"}) << ""
            << "A\r\n未知错误！";
        QTest::newRow("numbers join as text") << QVariant(QVariantList{42, "x"}) << ""
                                              << "42\r\nx";
    }
    void joins() {
        QFETCH(QVariant, errors);
        QFETCH(QString, heading);
        QFETCH(QString, expected);
        QCOMPARE(ShowHostErrors(nullptr, errors, heading), expected);
    }

    void showsABoxOnlyWithAnOwner() {
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        ShowHostErrors(nullptr, QVariantList{"A"});
        QVERIFY(runner.messages().isEmpty());
        QWidget owner;
        ShowHostErrors(&owner, QVariantList{}); // an empty list still shows a box
        QCOMPARE(runner.messages().size(), 1);
        const ui::MessageRequest& box = runner.messages().first();
        QCOMPARE(box.parent, &owner);
        QCOMPARE(box.caption, QString("错误"));
        QCOMPARE(box.flags, ui::MbOk | ui::MbIconError);
        QCOMPARE(box.text, QString());
    }
};

QTEST_MAIN(TestHostErrors)
#include "TestHostErrors.moc"
