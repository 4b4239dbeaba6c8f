#include "ScriptedHost.h"

#include "common/DbDialect.h"
#include "data/DataPacket.h"
#include "data/Table.h"
#include "params/SysParamCatalogue.h"
#include "params/TMirvoClass.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QtTest>

using namespace kestrane;
using namespace kestrane::params;
using kestrane::testing::ScriptedHost;

namespace {

// A system parameter packet from "key=value" entries; an entry without "=" holds NULL.
QVariant parameterPacket(const QStringList& rows) {
    FieldDef key, value;
    key.name = QStringLiteral("f_Csmc");
    value.name = QStringLiteral("f_Csz");
    Table table({key, value});
    for (const QString& row : rows) {
        const qsizetype eq = row.indexOf(u'=');
        if (eq < 0)
            table.appendRow({row, QVariant()});
        else
            table.appendRow({row.left(eq), row.mid(eq + 1)});
    }
    return QVariant(encodePacket(table));
}

QVariant operatorPacket(const QStringList& names) {
    FieldDef code, name;
    code.name = QStringLiteral("f_zybm");
    name.name = QStringLiteral("f_zymc");
    Table table({code, name});
    for (const QString& n : names)
        table.appendRow({QStringLiteral("001"), n});
    return QVariant(encodePacket(table));
}

// A host that answers every operation the loader uses.
void scriptHost(ScriptedHost& host, const QStringList& parameters, const QList<int>& refused) {
    host.on(DispGetDatabaseType, [](QVariantList&) { return QVariant(QStringLiteral("DB2")); });
    host.answer(DispGetCurrentYearMonth, QStringLiteral("200503"));
    host.answer(DispGetCurrentDateTime, QStringLiteral("20050310143000"));
    host.answer(DispGetCurrentDate, QStringLiteral("20050310 12:00"));
    host.on(DispGetBasicData, [](QVariantList& args) {
        args[1] = args[1].toString() == QLatin1String("EMPTY")
                      ? operatorPacket({})
                      : operatorPacket({QStringLiteral("张三")});
        return QVariant(-1); // any non-zero value is success
    });
    host.answer(DispGetSysParams, parameterPacket(parameters));
    for (int dispId : refused)
        host.refuse(dispId);
}

TSysParamSet setOf(const QList<int>& bits) {
    TSysParamSet set;
    for (int bit : bits)
        set.include(bit);
    return set;
}

QString fieldText(const TsysmsgInfo& info, const QString& name) {
    const SysParamEntry* entry = sysParamEntry(name.toLatin1().constData());
    if (!entry)
        return QStringLiteral("<no field %1>").arg(name);
    return sysParamFieldText(info, *entry);
}

// A complete table for loads that ask for everything.
QStringList completeParameters() {
    QStringList rows;
    for (const SysParamEntry& entry : sysParamCatalogue()) {
        if (entry.source != SysParamEntry::Source::Parameter)
            continue;
        if (entry.rule == SysParamEntry::Rule::PrecisionFormat) {
            rows << entry.name() + QStringLiteral("=1");
            continue;
        }
        switch (entry.member.index()) {
        case 0:
            rows << entry.name() + QStringLiteral("=t_") + entry.name();
            break;
        case 3:
            rows << entry.name() + QStringLiteral("=1.5");
            break;
        default:
            rows << entry.name() + QStringLiteral("=1");
        }
    }
    return rows;
}

} // namespace

class TestMirvoClass : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueShape() {
        int counts[4] = {};
        QSet<int> parameterBits;
        QSet<QString> names;
        for (const SysParamEntry& entry : sysParamCatalogue()) {
            ++counts[entry.member.index()];
            QVERIFY2(!names.contains(entry.name()), entry.field);
            names.insert(entry.name());
            if (entry.source == SysParamEntry::Source::Parameter && entry.bit >= 0)
                parameterBits.insert(entry.bit);
            if (entry.missing != SysParamEntry::Missing::Default)
                QVERIFY2(!entry.message().isEmpty(), entry.field);
        }
        QCOMPARE(counts[0], 68); // text
        QCOMPARE(counts[1], 34); // integer
        QCOMPARE(counts[2], 20); // flag
        QCOMPARE(counts[3], 1);  // real
        QCOMPARE(QString(sysParamCatalogue().front().field), QString("qyny"));
        QCOMPARE(QString(sysParamCatalogue().back().field), QString("dcjdbzrck"));

        // Every parameter bit is handled exactly once; bits that select nothing are absent.
        QList<int> order(sysParamLoadOrder().begin(), sysParamLoadOrder().end());
        QCOMPARE(QSet<int>(order.begin(), order.end()).size(), order.size());
        QCOMPARE(QSet<int>(order.begin(), order.end()), parameterBits);
        for (int unused : {12, 24, 88, 120, 123, 124, 125, 126, 127})
            QVERIFY(!parameterBits.contains(unused));
    }

    void paramSetBits() {
        TSysParamSet set{0, 9, 127, 128, -1};
        QCOMPARE(set.bytes()[0], uint8_t(0x01));
        QCOMPARE(set.bytes()[1], uint8_t(0x02));
        QCOMPARE(set.bytes()[15], uint8_t(0x80));
        QVERIFY(set.contains(9) && !set.contains(8) && !set.contains(128));
        set.exclude(9);
        QVERIFY(!set.contains(9));
    }

    void load_data() {
        QTest::addColumn<QList<int>>("wanted");
        QTest::addColumn<QString>("operCode");
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<QList<int>>("refused");
        QTest::addColumn<QString>("error"); // empty: the load succeeds
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<QStringList>("fields");

        const QList<int> factsAndTable{DispGetCurrentYearMonth, DispGetCurrentDate,
                                       DispGetSysParams};
        const QList<int> tableOnly{DispGetSysParams};
        const QString noUnitType = "没有可利用的单位类型！";

        QTest::newRow("host facts need no table")
            << QList<int>{1, 3, 4} << "" << QStringList() << QList<int>() << ""
            << QList<int>{DispGetCurrentYearMonth, DispGetCurrentDate}
            << QStringList{"curYearMonth=200503", "curDate=20050310", "dbType=DB2",
                           "operName=", "dwlx="};
        QTest::newRow("operator name")
            << QList<int>{4} << "001" << QStringList() << QList<int>() << ""
            << QList<int>{DispGetBasicData} << QStringList{"operName=张三"};
        QTest::newRow("empty request") << QList<int>{} << "" << QStringList() << QList<int>() << ""
                                       << QList<int>{} << QStringList{"dbType=DB2"};
        QTest::newRow("date-time fetches the table")
            << QList<int>{2} << "" << QStringList() << QList<int>() << noUnitType
            << QList<int>{DispGetCurrentDateTime, DispGetSysParams}
            << QStringList{"curDateTime=20050310143000"};
        QTest::newRow("unit type on every load")
            << QList<int>{1, 12} << "" << QStringList{"dwlx=05"} << QList<int>() << ""
            << QList<int>{DispGetCurrentYearMonth, DispGetSysParams} << QStringList{"dwlx=05"};
        QTest::newRow("the query form's request")
            << QList<int>{0, 1, 3, 4, 12, 61, 100} << "001"
            << QStringList{"dwlx=05", "qyny=200401", "jsxtfs=2", "zbbm=A01"} << QList<int>() << ""
            << QList<int>{DispGetCurrentYearMonth, DispGetCurrentDate, DispGetBasicData,
                          DispGetSysParams}
            << QStringList{"qyny=200401", "jsxtfs=2", "zbbm=A01", "operName=张三"};

        // Missing rows and their rules.
        QTest::newRow("chain unit needs dybm")
            << QList<int>{13} << "" << QStringList{"dwlx=02"} << QList<int>()
            << "没有可利用的连锁编码及前台销售柜组编码！" << tableOnly << QStringList();
        QTest::newRow("other unit leaves dybm empty")
            << QList<int>{13} << "" << QStringList{"dwlx=05"} << QList<int>() << "" << tableOnly
            << QStringList{"dybm="};
        QTest::newRow("sphsfs default for 00")
            << QList<int>{19} << "" << QStringList{"dwlx=00"} << QList<int>() << "" << tableOnly
            << QStringList{"sphsfs=1"};
        QTest::newRow("sphsfs required otherwise")
            << QList<int>{19} << "" << QStringList{"dwlx=01"} << QList<int>()
            << "没有可利用的商品核算方式！" << tableOnly << QStringList();
        QTest::newRow("defaults") << QList<int>{16, 50, 73, 75, 77, 83, 91, 99, 103, 110, 122} << ""
                                  << QStringList{"dwlx=05"} << QList<int>() << "" << tableOnly
                                  << QStringList{"jjkz=0",     "psdahsfg=1",    "kpyxcfsp=1",
                                                 "spfzflx=0",  "psxzsl=100000", "hykxc=0",
                                                 "xstbqyrq=",  "xpdjmrsl=17",   "psfpbdyhs=25",
                                                 "pdyxcfsp=1", "dcjdbzrck="};
        QTest::newRow("first missing in load order is named")
            << QList<int>{5, 0} << "" << QStringList{"dwlx=05"} << QList<int>()
            << "没有可利用的启用年月！" << tableOnly << QStringList();
        QTest::newRow("failure keeps earlier fields, later untouched")
            << QList<int>{0, 5, 6, 7} << ""
            << QStringList{"dwlx=05", "qyny=200401", "dwmc=总店", "dz=北京"} << QList<int>()
            << "没有可利用的税号！" << tableOnly << QStringList{"qyny=200401", "dwmc=总店", "dz="};

        // Values and their conversions.
        QTest::newRow("precision 2") << QList<int>{14} << "" << QStringList{"dwlx=1", "sljd=2"}
                                     << QList<int>() << "" << tableOnly << QStringList{"sljd=0.00"};
        QTest::newRow("precision 0") << QList<int>{14} << "" << QStringList{"dwlx=1", "sljd=0"}
                                     << QList<int>() << "" << tableOnly << QStringList{"sljd=0."};
        QTest::newRow("negative precision")
            << QList<int>{14} << "" << QStringList{"dwlx=1", "sljd=-3"} << QList<int>() << ""
            << tableOnly << QStringList{"sljd=0."};
        QTest::newRow("keys ignore case, ypthphkz exactly")
            << QList<int>{5, 22} << "" << QStringList{"DWLX=05", "DWMC=总店", "YPTHPHKZ=0"}
            << QList<int>() << "" << tableOnly << QStringList{"dwlx=05", "dwmc=总店", "ypthphkz=1"};
        QTest::newRow("one or zero")
            << QList<int>{11, 22} << "" << QStringList{"dwlx=05", "ysqr=2", "ypthphkz=1"}
            << QList<int>() << "" << tableOnly << QStringList{"ysqr=0", "ypthphkz=1"};
        QTest::newRow("ypthphkz other value")
            << QList<int>{22} << "" << QStringList{"dwlx=05", "ypthphkz=yes"} << QList<int>() << ""
            << tableOnly << QStringList{"ypthphkz=0"};
        QTest::newRow("ysqr required")
            << QList<int>{11} << "" << QStringList{"dwlx=05"} << QList<int>()
            << "没有可利用的验收确认！" << tableOnly << QStringList();
        QTest::newRow("integer that is not one")
            << QList<int>{26} << "" << QStringList{"dwlx=05", "dddyhs=abc"} << QList<int>()
            << "'abc' 不是有效的整数值" << tableOnly << QStringList();
        QTest::newRow("integer beyond 32 bits")
            << QList<int>{26} << "" << QStringList{"dwlx=05", "dddyhs=4294967296"} << QList<int>()
            << "'4294967296' 不是有效的整数值" << tableOnly << QStringList();
        QTest::newRow("integers") << QList<int>{26, 27, 29} << ""
                                  << QStringList{"dwlx=05", "dddyhs= 12", "brddyhs=-7",
                                                 "bcddyhs=$1F"}
                                  << QList<int>() << "" << tableOnly
                                  << QStringList{"dddyhs=12", "brddyhs=-7", "bcddyhs=31"};
        QTest::newRow("blank limit gives 100000")
            << QList<int>{77, 78, 79} << ""
            << QStringList{"dwlx=05", "psxzsl=   ", "xsxzsl=50", "jhxzsl"} << QList<int>() << ""
            << tableOnly << QStringList{"psxzsl=100000", "xsxzsl=50", "jhxzsl=100000"};
        QTest::newRow("empty gives zero")
            << QList<int>{75, 83} << "" << QStringList{"dwlx=05", "spfzflx=", "hykxc=3"}
            << QList<int>() << "" << tableOnly << QStringList{"spfzflx=0", "hykxc=3"};
        QTest::newRow("blank is not empty for spfzflx")
            << QList<int>{75} << "" << QStringList{"dwlx=05", "spfzflx= "} << QList<int>()
            << "' ' 不是有效的整数值" << tableOnly << QStringList();
        QTest::newRow("flags") << QList<int>{15, 17, 25} << ""
                               << QStringList{"dwlx=05", "lskz=1", "cskz=true", "zrrkz"}
                               << QList<int>() << "" << tableOnly
                               << QStringList{"lskz=1", "cskz=0", "zrrkz=0"};
        QTest::newRow("null text row")
            << QList<int>{5} << "" << QStringList{"dwlx=05", "dwmc"} << QList<int>()
            << "无法将空值（Null）转换为文本" << tableOnly << QStringList();
        QTest::newRow("pair both on")
            << QList<int>{89} << "" << QStringList{"dwlx=05", "mdzdysj=1", "mdzdyjj=1"}
            << QList<int>() << "" << tableOnly << QStringList{"mdzdysj=1", "mdzdyjj=1"};
        QTest::newRow("pair leader off")
            << QList<int>{89} << "" << QStringList{"dwlx=05", "mdzdysj=0", "mdzdyjj=1"}
            << QList<int>() << "" << tableOnly << QStringList{"mdzdysj=0", "mdzdyjj=0"};
        QTest::newRow("pair follower missing")
            << QList<int>{89} << "" << QStringList{"dwlx=05", "mdzdysj=1"} << QList<int>() << ""
            << tableOnly << QStringList{"mdzdysj=1", "mdzdyjj=0"};
        QTest::newRow("real") << QList<int>{99} << "" << QStringList{"dwlx=05", "xpdjmrsl=2.5"}
                              << QList<int>() << "" << tableOnly << QStringList{"xpdjmrsl=2.5"};
        QTest::newRow("real that is not one")
            << QList<int>{99} << "" << QStringList{"dwlx=05", "xpdjmrsl=x"} << QList<int>()
            << "'x' 不是有效的浮点数值" << tableOnly << QStringList();

        // Host failures.
        QTest::newRow("year-month refused")
            << QList<int>{1, 3} << "" << QStringList() << QList<int>{DispGetCurrentYearMonth}
            << "取得当前年月时出错！" << QList<int>{DispGetCurrentYearMonth} << QStringList();
        QTest::newRow("date-time refused")
            << QList<int>{2} << "" << QStringList() << QList<int>{DispGetCurrentDateTime}
            << "取得当前日期时间时出错！" << QList<int>{DispGetCurrentDateTime} << QStringList();
        QTest::newRow("date refused")
            << QList<int>{1, 3} << "" << QStringList() << QList<int>{DispGetCurrentDate}
            << "取得当前日期时出错！" << QList<int>{DispGetCurrentYearMonth, DispGetCurrentDate}
            << QStringList{"curYearMonth=200503"};
        QTest::newRow("operator refused")
            << QList<int>{4} << "001" << QStringList() << QList<int>{DispGetBasicData}
            << "取得制单人名称时出错！！" << QList<int>{DispGetBasicData} << QStringList();
        QTest::newRow("empty operator packet")
            << QList<int>{4} << "EMPTY" << QStringList() << QList<int>()
            << "无法将空值（Null）转换为文本" << QList<int>{DispGetBasicData} << QStringList();
        QTest::newRow("parameters refused")
            << QList<int>{1, 0} << "" << QStringList() << QList<int>{DispGetSysParams}
            << "取得系统参数时出错！" << QList<int>{DispGetCurrentYearMonth, DispGetSysParams}
            << QStringList{"curYearMonth=200503"};
    }
    void load() {
        QFETCH(QList<int>, wanted);
        QFETCH(QString, operCode);
        QFETCH(QStringList, parameters);
        QFETCH(QList<int>, refused);
        QFETCH(QString, error);
        QFETCH(QList<int>, calls);
        QFETCH(QStringList, fields);

        ScriptedHost host;
        scriptHost(host, parameters, refused);
        TMirvoClass loader(&host);
        host.clearCalls();

        TsysmsgInfo info;
        info.operCode = operCode;
        QString errorText = QStringLiteral("kept on success");
        const bool ok = loader.GetSysmsgInfo(info, setOf(wanted), errorText);
        QCOMPARE(errorText, error.isEmpty() ? QStringLiteral("kept on success") : error);
        QCOMPARE(ok, error.isEmpty());
        QCOMPARE(host.calls(), calls);
        for (const QString& f : fields) {
            const qsizetype eq = f.indexOf(u'=');
            QCOMPARE(fieldText(info, f.left(eq)), f.mid(eq + 1));
        }
    }

    void everyParameterLoads() {
        ScriptedHost host;
        scriptHost(host, completeParameters(), {});
        TMirvoClass loader(&host);
        TsysmsgInfo info;
        TSysParamSet all;
        for (int bit = 0; bit < 128; ++bit)
            all.include(bit);
        QString errorText;
        QVERIFY2(loader.GetSysmsgInfo(info, all, errorText), qPrintable(errorText));
        QCOMPARE(info.dwmc, QString("t_dwmc"));
        QCOMPARE(info.dcjdbzrck, QString("t_dcjdbzrck"));
        QCOMPARE(info.hykkhxe, 1);
        QVERIFY(info.mdzdysj && info.mdzdyjj && info.pdyxcfsp);
        QCOMPARE(info.xpdjmrsl, 1.5);
        QCOMPARE(info.sljd, QString("0.0"));
        QCOMPARE(info.ysqr, QString("0")); // "t_ysqr" is not "1"
    }

    void operatorCallArguments() {
        ScriptedHost host;
        scriptHost(host, {}, {});
        TMirvoClass loader(&host);
        TsysmsgInfo info;
        info.operCode = QStringLiteral("007");
        QString errorText;
        QVERIFY(loader.GetSysmsgInfo(info, {4}, errorText));
        const auto args = host.argumentsOf(DispGetBasicData);
        QCOMPARE(args.size(), 1);
        QCOMPARE(args.first().value(0).toInt(), 1);
        QCOMPARE(args.first().value(1).toString(), QString("007"));
    }

    void hostRaisingDuringLoad() {
        ScriptedHost host;
        scriptHost(host, {}, {});
        host.raise(DispGetCurrentDate, "host object refused the call");
        TMirvoClass loader(&host);
        TsysmsgInfo info;
        QString errorText;
        QVERIFY(!loader.GetSysmsgInfo(info, {3}, errorText));
        QCOMPARE(errorText, QString("host object refused the call"));
    }

    void databaseKind_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("atomicBegin"); // keyword text chosen, "-" when none
        QTest::newRow("DB2") << "DB2"
                             << " BEGIN ATOMIC ";
        QTest::newRow("SQL Server") << "SQLSERVER"
                                    << "";
        QTest::newRow("Oracle") << "ORACLE"
                                << "";
        QTest::newRow("lower case chooses none") << "db2"
                                                 << "-";
    }
    void databaseKind() {
        QFETCH(QString, kind);
        QFETCH(QString, atomicBegin);
        ScriptedHost host;
        host.on(DispGetDatabaseType, [kind](QVariantList&) { return QVariant(kind); });
        kwAtomicBegin = kwBegin = QStringLiteral("-");
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        TMirvoClass loader(&host);
        QCOMPARE(loader.dbKind(), kind);
        QCOMPARE(kwAtomicBegin, atomicBegin);
        QVERIFY(runner.messages().isEmpty());
        TsysmsgInfo info;
        QString errorText;
        QVERIFY(loader.GetSysmsgInfo(info, {}, errorText));
        QCOMPARE(info.dbType, kind);
    }

    void databaseKindRaises() {
        ScriptedHost host;
        scriptHost(host, {"dwlx=05"}, {});
        host.raise(DispGetDatabaseType, "no such method");
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        kwAtomicBegin = kwBegin = QStringLiteral("-");
        {
            TMirvoClass loader(&host);
            QCOMPARE(host.references(), 1);
            QCOMPARE(runner.messages().size(), 1);
            const ui::MessageRequest& box = runner.messages().first();
            QCOMPARE(box.text, QString("获取数据库类型失败!"));
            QCOMPARE(box.caption, QString("警告"));
            QCOMPARE(box.flags, int(ui::MbOk | ui::MbIconWarning));
            // No keyword set is chosen on this path; the loads choose SQL Server's.
            QCOMPARE(kwAtomicBegin, QString("-"));
            QCOMPARE(kwBegin, QString("-"));
            for (int i = 0; i < 2; ++i) {
                TsysmsgInfo info;
                QString errorText;
                QVERIFY(loader.GetSysmsgInfo(info, {1}, errorText));
                QCOMPARE(info.dbType, QString("SQLSERVER"));
            }
            QCOMPARE(kwBegin, QString(" Begin "));
            QCOMPARE(runner.messages().size(), 1);
        }
        QCOMPARE(host.references(), 0);
    }
};

QTEST_MAIN(TestMirvoClass)
#include "TestMirvoClass.moc"
