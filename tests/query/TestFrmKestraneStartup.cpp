// The query screen's start-up against a scripted host that fails one step at a time: each
// failure shows its own message (or none), ends the start-up where it should, and the screen
// opens all the same.
#include "data/DataPacket.h"
#include "module/ModuleState.h"
#include "module/ScriptedHost.h"
#include "query/TFrmKestrane.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QComboBox>
#include <QDateEdit>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::query;
using testing::ScriptedHost;

namespace {

QByteArray packet(const QStringList& names, const QList<QVariantList>& rows) {
    QList<FieldDef> fields;
    for (const QString& n : names)
        fields << FieldDef(n);
    Table table(fields);
    for (const QVariantList& row : rows)
        table.appendRow(row);
    return encodePacket(table);
}

enum Failure {
    None,
    ParamLoad,
    OperatorLookup,
    PrintDate,
    ServerDate,
    NoQyny,
    SysParamsAtEnd,
    Templates
};

// A host that answers every start-up call, except the one `failure` names.
void script(ScriptedHost& host, Failure failure) {
    auto calls = std::make_shared<QHash<int, int>>();
    host.on(DispGetDatabaseType, [](QVariantList&) { return QVariant("SQLSERVER"); });
    host.on(DispGetCurrentYearMonth, [failure](QVariantList& a) {
        a[0] = failure == ParamLoad ? QVariant(QVariantList{"年月不可用"}) : QVariant("200503");
        return QVariant(failure != ParamLoad);
    });
    host.on(DispGetCurrentDate, [failure, calls](QVariantList& a) {
        const int n = ++(*calls)[DispGetCurrentDate];
        // The loader asks first, then the print date, then the dates of the pickers.
        const bool fail = (failure == PrintDate && n == 2) || (failure == ServerDate && n == 3);
        a[0] = fail ? QVariant(QVariantList{"日期不可用"}) : QVariant("20050315");
        return QVariant(!fail);
    });
    host.answer(DispGetCurrentDateTime, 0, QString("20050315101112"));
    host.answer(DispGetBasicData, 1, packet({"f_zybm", "f_zymc"}, {{"0001", "张三"}}));
    host.on(DispGetSysParams, [failure, calls](QVariantList& a) {
        const int n = ++(*calls)[DispGetSysParams];
        if (failure == SysParamsAtEnd && n == 2) {
            a[0] = QVariantList{"参数表不可用"};
            return QVariant(false);
        }
        QList<QVariantList> rows{{"dwlx", "1"}, {"jsxtfs", "0"}, {"zbbm", "01"}};
        if (failure != NoQyny || n == 1)
            rows.prepend({"qyny", "200401"});
        a[0] = packet({"f_Csmc", "f_Csz"}, rows);
        return QVariant(true);
    });
    host.on(DispOpenQuery, [failure](QVariantList& a) {
        const QString sql = a[0].toString();
        if (sql.contains("tbReport")) {
            if (failure == Templates) {
                a[1] = QVariantList{"模板表不可用"};
                return QVariant(false);
            }
            a[1] = packet({"f_Reportname", "f_reportinfo"}, {{"明细", "00#"}, {"厂商汇总", "00#"}});
            return QVariant(true);
        }
        if (failure == OperatorLookup) {
            a[1] = QVariantList{"操作员表不可用"};
            return QVariant(false);
        }
        a[1] = packet({"f_zymc"}, {{"张三"}});
        return QVariant(true);
    });
}

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestFrmKestraneStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failures_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("message"); // the one error box, empty for none
        QTest::addColumn<bool>("datesSet");   // the pickers took the server's month
        QTest::addColumn<QString>("operatorName");
        QTest::addColumn<QString>("startYearMonth");
        QTest::addColumn<QString>("printDate");
        QTest::addColumn<int>("templates");
        QTest::newRow("all well") << None << "" << true << "张三"
                                  << "200401"
                                  << "20050315" << 2;
        QTest::newRow("parameter load") << ParamLoad << "取得当前年月时出错！" << false << ""
                                        << ""
                                        << "" << 0;
        QTest::newRow("operator lookup") << OperatorLookup << "操作员表不可用" << true << ""
                                         << "200401"
                                         << "20050315" << 2;
        QTest::newRow("print date") << PrintDate << "" << true << "张三"
                                    << "200401"
                                    << "" << 2;
        QTest::newRow("server date") << ServerDate << "取系统当前日期时出错!" << false << "张三"
                                     << ""
                                     << "20050315" << 2;
        QTest::newRow("no qyny") << NoQyny << "取系统启用日期时出错!" << true << "张三"
                                 << ""
                                 << "20050315" << 2;
        QTest::newRow("parameters at the end") << SysParamsAtEnd << "" << true << "张三"
                                               << ""
                                               << "20050315" << 2;
        QTest::newRow("templates") << Templates << "" << true << "张三"
                                   << "200401"
                                   << "20050315" << 0;
    }
    void failures() {
        QFETCH(Failure, failure);
        QFETCH(QString, message);
        QFETCH(bool, datesSet);
        QFETCH(QString, operatorName);
        QFETCH(QString, startYearMonth);
        QFETCH(QString, printDate);
        QFETCH(int, templates);
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        ScriptedHost host;
        script(host, failure);
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, &host, "0001");
        {
            TFrmKestrane form(&panel);
            QStringList errors;
            for (const ui::MessageRequest& m : runner.messages())
                errors << m.text;
            QCOMPARE(errors, message.isEmpty() ? QStringList() : QStringList{message});
            QCOMPARE(form.FDTPStart->date() == QDate(2005, 3, 1), datesSet);
            QCOMPARE(form.values().operatorName, operatorName);
            QCOMPARE(form.values().startYearMonth.toString(), startYearMonth);
            QCOMPARE(form.values().printDate, printDate);
            QCOMPARE(form.ChkTemplate->count(), templates);
            QCOMPARE(form.ChkTemplate->currentIndex(), templates ? 0 : -1);
            QCOMPARE(form.currentView(), 1);
            QVERIFY(form.FCB->isEnabled()); // the screen still opens and takes commands
        }
        module::ModuleState::instance().clear();
    }
};

QTEST_MAIN(TestFrmKestraneStartup)
#include "TestFrmKestraneStartup.moc"
