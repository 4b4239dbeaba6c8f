#include "ScriptedHost.h"

#include "common/Error.h"
#include "common/HostErrors.h"
#include "data/DataPacket.h"
#include "data/MemTable.h"
#include "data/Recordset.h"
#include "data/VarToRecordset.h"
#include "module/HostService.h"

#include <QtTest>

using namespace kestrane;
using testing::ScriptedHost;

namespace {
QByteArray operatorPacket(const QString& name) {
    Table table({FieldDef("f_zybm"), FieldDef("f_zymc")});
    table.appendRow({"0001", name});
    return encodePacket(table);
}
} // namespace

class TestHostService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textOperations_data() {
        QTest::addColumn<int>("dispId");
        QTest::addColumn<QString>("value");
        QTest::newRow("year-month") << int(DispGetCurrentYearMonth) << "200503";
        QTest::newRow("date, longer than 8") << int(DispGetCurrentDate) << "20050310 10:11:12";
        QTest::newRow("date-time") << int(DispGetCurrentDateTime) << "20050310101112";
    }
    void textOperations() {
        QFETCH(int, dispId);
        QFETCH(QString, value);
        ScriptedHost host;
        HostService service(&host);
        host.answer(dispId, 0, value);
        QString out;
        QVariant errors;
        bool ok = false;
        switch (dispId) {
        case DispGetCurrentYearMonth:
            ok = service.GetCurrentYearMonth(out, errors);
            break;
        case DispGetCurrentDate:
            ok = service.GetCurrentDate(out, errors);
            break;
        default:
            ok = service.GetCurrentDateTime(out, errors);
        }
        QVERIFY(ok);
        QCOMPARE(out, value); // the whole text, not cut
        QCOMPARE(host.calls.size(), 1);
        QCOMPARE(host.calls[0].args.size(), 1);
    }

    void packetOperations() {
        ScriptedHost host;
        HostService service(&host);
        // GetBasicData: the key travels in through the by-reference argument.
        host.on(DispGetBasicData, [](QVariantList& args) {
            if (args.size() != 2 || args[0].toInt() != 1 || args[1].toString() != "0001")
                return QVariant(false);
            args[1] = operatorPacket("张三");
            return QVariant(-1); // any non-zero value is success
        });
        MemTable table;
        QVariant errors;
        QVERIFY(service.GetBasicData(HostService::kBasicDataOperator, "0001", table, errors));
        QCOMPARE(table.fieldText(u"F_ZYMC"), QString("张三"));

        Table params({FieldDef("f_Csmc"), FieldDef("f_Csz")});
        params.appendRow({"qyny", "200401"});
        host.answer(DispGetSysParams, 0, encodePacket(params));
        QVERIFY(service.GetSysParams(table, errors));
        QVERIFY(table.locate(u"f_Csmc", "QYNY", MemTable::LocateCaseInsensitive));
        QCOMPARE(table.fieldText(u"f_csz"), QString("200401"));

        host.on(DispOpenQuery, [](QVariantList& args) {
            args[1] = operatorPacket(args[0].toString());
            return QVariant(true);
        });
        QVERIFY(service.OpenQuery("select 1", table, errors));
        QCOMPARE(table.fieldText(u"f_zymc"), QString("select 1"));
    }

    void queryDataGivesARecordset() {
        ScriptedHost host;
        HostService service(&host);
        auto rows = std::make_shared<Recordset>(QList<FieldDef>{FieldDef("f_djh")});
        rows->appendRow({"D1"});
        host.answer(DispQueryData, 1, recordsetToVariant(rows));
        std::shared_ptr<Recordset> out;
        QVariant errors;
        QVERIFY(service.QueryData("select f_djh from t", out, errors));
        QCOMPARE(out.get(), rows.get());
        QCOMPARE(host.calls[0].args[0].toString(), QString("select f_djh from t"));

        // A true answer without a recordset is a damaged answer, not a silent empty result.
        host.answer(DispQueryData, 1, QVariant("not a recordset"));
        QVERIFY_THROWS_EXCEPTION(kestrane::Error, service.QueryData("x", out, errors));
    }

    void falseLeavesTheErrorList() {
        ScriptedHost host;
        HostService service(&host);
        host.failWith(DispQueryData, 1, QVariantList{"对象名无效", "语句已终止"});
        std::shared_ptr<Recordset> out;
        QVariant errors;
        QVERIFY(!service.QueryData("", out, errors)); // an empty statement goes to the host too
        QVERIFY(!out);
        QCOMPARE(ShowHostErrors(nullptr, errors), QString("对象名无效\r\n语句已终止"));

        // A false answer without an array shows the stand-in text.
        host.failWith(DispOpenQuery, 1, QVariant(12));
        MemTable table;
        QVERIFY(!service.OpenQuery("select", table, errors));
        QCOMPARE(ShowHostErrors(nullptr, errors), QString("未知错误！"));
        QVERIFY(!table.isActive());
    }

    void refusalsAndDamageThrow() {
        ScriptedHost host; // nothing scripted: every call is refused
        HostService service(&host);
        QString text;
        QVariant errors;
        QVERIFY_THROWS_EXCEPTION(DispatchError, service.GetCurrentDate(text, errors));
        QVERIFY_THROWS_EXCEPTION(DispatchError, service.GetDatabaseType());

        host.answer(DispGetSysParams, 0, QByteArray("garbage"));
        MemTable table;
        QVERIFY_THROWS_EXCEPTION(kestrane::Error, service.GetSysParams(table, errors));
    }

    void databaseTypeIsTheResultItself() {
        ScriptedHost host;
        host.on(DispGetDatabaseType,
                [](QVariantList& args) { return args.isEmpty() ? QVariant("DB2") : QVariant(); });
        QCOMPARE(HostService(&host).GetDatabaseType(), QString("DB2"));
    }
};

QTEST_GUILESS_MAIN(TestHostService)
#include "TestHostService.moc"
