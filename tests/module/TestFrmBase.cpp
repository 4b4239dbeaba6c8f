#include "module/TFrmBase.h"

#include <QSharedMemory>
#include <QtTest>

using namespace kestrane::module;

class TestFrmBase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sharedMemoryTag_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("tag");
        QTest::newRow("three of six bytes") << QByteArray("ZVX123") << "ZVX";
        QTest::newRow("short memory") << QByteArray("Z") << "Z";
    }
    void sharedMemoryTag() {
        QFETCH(QByteArray, content);
        QFETCH(QString, tag);
        QSharedMemory memory(TFrmBase::kSharedMemoryKey);
        QVERIFY2(memory.create(int(content.size())), qPrintable(memory.errorString()));
        memcpy(memory.data(), content.constData(), size_t(content.size()));
        QWidget panel;
        TFrmBase form(&panel);
        QCOMPARE(form.sharedMemoryTag(), tag);
    }

    void noSharedMemoryIsSilent() {
        QWidget panel;
        TFrmBase form(&panel);
        QVERIFY(form.sharedMemoryTag().isEmpty());
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    }
};

QTEST_MAIN(TestFrmBase)
#include "TestFrmBase.moc"
