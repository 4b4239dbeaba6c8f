// Loads DllKestrane.so the way a host does (QLibrary, GetFormOne by name) and checks the
// embedding contract: host reference counting, the operator code, the resize message and the
// one close notification.
#include "kestrane/GetFormOne.h"
#include "kestrane/ModalHook.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QLibrary>
#include <QSharedMemory>
#include <QWidget>
#include <QtTest>
#include <deque>

using namespace kestrane;

namespace {

class CountingHost : public ICoorDisp {
public:
    int refs = 0;
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }
    QVariant Invoke(int32_t, QVariantList&) override { throw DispatchError("not scripted"); }
};

// The host window: counts the close notifications it receives.
class HostWindow : public QWidget {
public:
    int closedMessages = 0;
    bool event(QEvent* e) override {
        if (e->type() == WindowMessage::kType &&
            static_cast<WindowMessage*>(e)->message() == kMsgFormClosed)
            ++closedMessages;
        return QWidget::event(e);
    }
};

QByteArray shortString(const QByteArray& text) {
    return char(text.size()) + text;
}

QWidget* embeddedForm(QWidget* panel) {
    const auto forms = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    return forms.isEmpty() ? nullptr : forms.last();
}

} // namespace

class TestGetFormOne : public QObject {
    Q_OBJECT
    QLibrary m_library{QStringLiteral(DLLKESTRANE_PATH)};
    GetFormOneFunction m_getFormOne = nullptr;
    // The module's boxes (its start-up complains about a host that answers nothing) are
    // answered here instead of blocking in a modal loop.
    ui::ScriptedModalRunner m_runner;
    // The module keeps its reference until the next call or unload, so the host objects live
    // as long as the test, as a real host's object does.
    std::deque<CountingHost> m_hosts;
    CountingHost& newHost() { return m_hosts.emplace_back(); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        m_getFormOne = reinterpret_cast<GetFormOneFunction>(m_library.resolve("GetFormOne"));
        QVERIFY(m_getFormOne);
        auto setRunner = reinterpret_cast<KestraneSetModalRunnerFunction>(
            m_library.resolve("KestraneSetModalRunner"));
        QVERIFY(setRunner);
        setRunner(&m_runner);
    }

    void embedsSizesAndCloses() {
        HostWindow host;
        auto* panel = new QWidget(&host);
        panel->resize(640, 480);
        CountingHost& service = newHost();
        const QByteArray code = shortString("0001");

        m_getFormOne(7, &host, reinterpret_cast<const unsigned char*>(code.constData()), panel,
                     &service);
        QVERIFY(service.refs >= 1);
        // A host that refuses every call: the start-up says so, and the form still opens.
        QVERIFY(!m_runner.messages().isEmpty());
        QCOMPARE(m_runner.messages().first().text, QString("获取数据库类型失败!"));
        QWidget* form = embeddedForm(panel);
        QVERIFY(form);
        QVERIFY(form->isVisibleTo(panel));
        QVERIFY(!form->isWindow());
        // The query screen's content panel is pnlMain.
        auto* content = form->findChild<QWidget*>("pnlMain");
        QVERIFY(content);
        QCOMPARE(content->size(), QSize(640, 480));

        // Resize: WParam is the height, LParam the width.
        WindowMessage resize(kMsgResizeForm, 300, 500);
        QCoreApplication::sendEvent(form, &resize);
        QCOMPARE(content->size(), QSize(500, 300));

        // Escape closes the form: exactly one notification, then the form is freed.
        QPointer<QWidget> guard(form);
        form->setFocus();
        QTest::keyClick(form, Qt::Key_Escape);
        QCOMPARE(host.closedMessages, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        QCOMPARE(host.closedMessages, 1);
        // With the form gone only the module's own reference remains.
        QCOMPARE(service.refs, 1);
    }

    void panelDestructionSendsNoNotification() {
        HostWindow host;
        auto* panel = new QWidget(&host);
        CountingHost& service = newHost();
        const QByteArray empty = shortString(""); // an empty operator code is fine
        m_getFormOne(0, &host, reinterpret_cast<const unsigned char*>(empty.constData()), panel,
                     &service);
        QPointer<QWidget> form(embeddedForm(panel));
        QVERIFY(form);
        delete panel;
        QVERIFY(form.isNull());
        QCOMPARE(host.closedMessages, 0);
    }

    void secondCallReplacesTheHostReference() {
        HostWindow firstHost, secondHost;
        auto* panel = new QWidget(&firstHost);
        CountingHost& first = newHost();
        CountingHost& second = newHost();
        const QByteArray code = shortString("9");
        const auto* bytes = reinterpret_cast<const unsigned char*>(code.constData());
        m_getFormOne(0, &firstHost, bytes, panel, &first);
        m_getFormOne(0, &secondHost, bytes, panel, &second);
        // Both forms now notify the latest host window.
        const auto forms = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(forms.size(), 2);
        forms.first()->close();
        QCOMPARE(secondHost.closedMessages, 1);
        QCOMPARE(firstHost.closedMessages, 0);
        delete panel;
        // The module now holds the second host only; the first is released.
        QCOMPARE(first.refs, 0);
        QCOMPARE(second.refs, 1);
        // Unloading the library releases the reference it still holds.
        reinterpret_cast<KestraneSetModalRunnerFunction>(
            m_library.resolve("KestraneSetModalRunner"))(nullptr);
        QVERIFY(m_library.unload());
        QCOMPARE(second.refs, 0);
    }
};

QTEST_MAIN(TestGetFormOne)
#include "TestGetFormOne.moc"
