// Every operation of the host object over the SQLite demo: answers, the form of the answers
// (recordset, data packets, texts), failing statements (false and the database's texts in the
// by-reference argument, never an exception), refused calls, reference counting and the
// statement trace.
#include "common/Error.h"
#include "data/DataPacket.h"
#include "data/VarToRecordset.h"
#include "host/DemoDataGenerator.h"
#include "host/SqlCoorDisp.h"
#include "host/SqliteBackend.h"
#include "query/QueryStatementBuilder.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::host;
using kestrane::query::QueryStatementBuilder;
using kestrane::query::QueryStatementRequest;
using kestrane::query::QueryView;

namespace {

// Holds the one reference a creator has, and gives it back.
struct HostRef {
    SqlCoorDisp* host = nullptr;
    ~HostRef() {
        if (host)
            host->Release();
    }
    SqlCoorDisp* operator->() const { return host; }
};

} // namespace

class tst_SqlCoorDisp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void queryDataAnswersARecordset();
    void failingStatements_data();
    void failingStatements();
    void openQueryAndStartupStatements();
    void sysParamsCarryEveryKey();
    void basicData();
    void datesAndKind();
    void refusedCalls_data();
    void refusedCalls();
    void referenceCounting();
    void traceHasBothTexts();

private:
    QVariant call(int32_t id, QVariantList& args) { return m_host->Invoke(id, args); }

    QTemporaryDir m_dir;
    QString m_path;
    HostRef m_host;
    const QDate m_today{2025, 3, 20};
};

void tst_SqlCoorDisp::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(u"demo.sqlite"_qs);
    SqliteBackend db(m_path);
    DemoDataOptions options;
    options.seed = 3;
    options.lines = 2400;
    options.today = m_today;
    DemoDataGenerator(options).generate(db);
}

void tst_SqlCoorDisp::init() {
    m_host.host =
        new SqlCoorDisp(std::make_unique<SqliteBackend>(m_path), u"SQLSERVER"_qs, m_today);
    m_host->setClock([] { return QDateTime(QDate(2001, 1, 1), QTime(13, 45, 7)); });
}

void tst_SqlCoorDisp::cleanup() {
    m_host.host->Release();
    m_host.host = nullptr;
}

void tst_SqlCoorDisp::queryDataAnswersARecordset() {
    QueryStatementRequest r;
    r.view = QueryView::Details;
    r.dbKind = u"SQLSERVER"_qs;
    r.start = QDate(2025, 2, 1);
    r.end = QDate(2025, 3, 20);
    r.operatorCode = u"0001"_qs;
    QVariantList args{QueryStatementBuilder::build(r), QVariant()};
    QCOMPARE(call(DispQueryData, args), QVariant(true));
    const auto rs = VarToRecordset(args[1]);
    QVERIFY(rs->recordCount() > 0);
    const Table& t = rs->table();
    // The columns the screen's detail dataset binds to, found case-insensitively.
    for (const char* f :
         {"f_Hsdwh", "f_Hsdwmc", "f_Bmbm",   "f_Bmmc", "f_gjlx",  "f_Rzrq", "f_Djh",
          "f_Dnxh",  "f_Gysbm",  "f_Csmc",   "f_Spbm", "f_Spmc",  "f_Gjje", "f_Ygsl",
          "f_Ygws",  "f_Ygje",   "f_Fptjdh", "f_Gdrq", "f_Gdrbm", "f_Gdrmc"})
        QVERIFY2(t.columnIndex(QString::fromLatin1(f)) >= 0, f);
    const int rzrq = t.columnIndex(u"f_Rzrq"_qs);
    QCOMPARE(t.text(0, rzrq).size(), 10);
    QCOMPARE(t.text(0, rzrq).at(4), u'-');
    QCOMPARE(t.columnType(t.columnIndex(u"f_Gjje"_qs)), FieldType::Float);
    QCOMPARE(t.columnType(t.columnIndex(u"f_Dnxh"_qs)), FieldType::Integer);
    const QStringList typeNames{u"入库"_qs, u"直配"_qs, u"代配"_qs, u"退补"_qs, u"调整"_qs};
    QSet<QString> seen;
    for (qsizetype row = 0; row < t.rowCount(); ++row)
        seen.insert(t.text(row, t.columnIndex(u"f_gjlx"_qs)).toString());
    QCOMPARE(seen, QSet<QString>(typeNames.begin(), typeNames.end()));
}

void tst_SqlCoorDisp::failingStatements_data() {
    QTest::addColumn<int>("dispId");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("month without tables")
        << int(DispQueryData) << u"select * from tb199901_Ygys"_qs << u"tb199901_Ygys"_qs;
    QTest::newRow("syntax") << int(DispQueryData) << u"select from where"_qs << u"syntax"_qs;
    QTest::newRow("empty statement") << int(DispQueryData) << QString() << u"为空"_qs;
    QTest::newRow("blank statement") << int(DispOpenQuery) << u"   "_qs << u"为空"_qs;
    QTest::newRow("open query, unknown column")
        << int(DispOpenQuery) << u"select f_nothing from tbBmda"_qs << u"f_nothing"_qs;
    QTest::newRow("writes are refused")
        << int(DispQueryData) << u"delete from tbBmda"_qs << u"只允许查询语句"_qs;
    QTest::newRow("two statements")
        << int(DispOpenQuery) << u"select 1; delete from tbBmda"_qs << u"一条语句"_qs;
}

void tst_SqlCoorDisp::failingStatements() {
    QFETCH(int, dispId);
    QFETCH(QString, sql);
    QFETCH(QString, errorPart);
    QVariantList args{sql, QVariant()};
    QVariant result;
    try {
        result = call(dispId, args);
    } catch (...) {
        QFAIL("a failing statement must not throw");
    }
    QCOMPARE(result, QVariant(false));
    QCOMPARE(args[1].userType(), int(QMetaType::QVariantList));
    const QVariantList errors = args[1].toList();
    QVERIFY(!errors.isEmpty());
    QString all;
    for (const QVariant& e : errors) {
        QCOMPARE(e.userType(), int(QMetaType::QString));
        all += e.toString();
    }
    QVERIFY2(all.contains(errorPart, Qt::CaseInsensitive), qPrintable(all));
    // Nothing was changed.
    QVariantList count{u"select count(*) n from tbBmda"_qs, QVariant()};
    QCOMPARE(call(DispOpenQuery, count), QVariant(true));
    QVERIFY(decodePacket(count[1]).number(0, 0) > 0);
}

void tst_SqlCoorDisp::openQueryAndStartupStatements() {
    QVariantList args{QueryStatementBuilder::operatorNameStatement(u"0002"_qs), QVariant()};
    QCOMPARE(call(DispOpenQuery, args), QVariant(true));
    Table t = decodePacket(args[1]);
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.text(0, t.columnIndex(u"F_ZYMC"_qs)).toString(), u"张丽"_qs);

    // A quote in the operator code stays inside the literal: no rows, no error.
    args = {QueryStatementBuilder::operatorNameStatement(u"x' or '1'='1"_qs), QVariant()};
    QCOMPARE(call(DispOpenQuery, args), QVariant(true));
    QCOMPARE(decodePacket(args[1]).rowCount(), 0);

    args = {QueryStatementBuilder::templateListStatement(), QVariant()};
    QCOMPARE(call(DispOpenQuery, args), QVariant(true));
    t = decodePacket(args[1]);
    // The demo carries the stock template of each view, in the order of the view list.
    QCOMPARE(t.rowCount(), 6);
    const int name = t.columnIndex(u"f_Reportname"_qs);
    const int info = t.columnIndex(u"f_reportinfo"_qs);
    QVERIFY(name >= 0 && info >= 0);
    QCOMPARE(t.text(0, name).toString(), u"单据汇总"_qs);
    QCOMPARE(t.text(5, name).toString(), u"明细"_qs);
    QVERIFY(t.text(5, info).endsWith(u'#'));
}

void tst_SqlCoorDisp::sysParamsCarryEveryKey() {
    QVariantList args{QVariant()};
    QCOMPARE(call(DispGetSysParams, args), QVariant(true));
    const Table t = decodePacket(args[0]);
    const int key = t.columnIndex(u"f_Csmc"_qs), value = t.columnIndex(u"f_csz"_qs);
    QVERIFY(key >= 0 && value >= 0);
    QHash<QString, QString> params;
    for (qsizetype r = 0; r < t.rowCount(); ++r) {
        QVERIFY(!t.isNull(r, value));
        params.insert(t.text(r, key).toString(), t.text(r, value).toString());
    }
    // The start year-month is the first month with tables, two years back.
    QCOMPARE(params.value(u"qyny"_qs), u"202304"_qs);
    const char* keys[] = {"dwmc",          "sh",          "dz",
                          "lxdh",          "khh",         "zh",
                          "dwlx",          "dybm",        "hykls",
                          "sljd",          "lskz",        "jjkz",
                          "cskz",          "zrrkz",       "dddyhs",
                          "sphsfs",        "jjcbhsff",    "sjcbhsff",
                          "cbjzfs",        "jsxtfs",      "rqssj",
                          "fgckjb",        "brddyhs",     "brdhscfs",
                          "bcddyhs",       "bcdhscfs",    "dbddyhs",
                          "dbdhscfs",      "jgddyhs",     "jgdhscfs",
                          "sgddyhs",       "sgdhscfs",    "tbddyhs",
                          "tbdhscfs",      "ykddyhs",     "ykdhscfs",
                          "syddyhs",       "sydhscfs",    "ysddyhs",
                          "ysdhscfs",      "pdbdyhs",     "pdbhscfs",
                          "psdahsfg",      "ysdahsfg",    "xsdahsfg",
                          "thddyhs",       "tjddyhs",     "ptfpdyhs",
                          "spfzflx",       "kpyxcfsp",    "djfgfs",
                          "psxzsl",        "xsxzsl",      "jhxzsl",
                          "thcpbxxdythqd", "zjdyfs",      "ddysfs",
                          "hsdwh",         "dpckbm",      "dpjfs",
                          "pslssj",        "thjjclfs",    "sjkbbh",
                          "psysjscdjd",    "ysjscdjdbm",  "ddyszzfs",
                          "ddyxrqqy",      "ysfs",        "dddysjj",
                          "cpzkspyzbkz",   "jzscltjbc",   "jzsclyxjjsxzpzdp",
                          "ysqr",          "khzqqy",      "zkhwlqy",
                          "hykxc",         "xsfkz",       "kckz",
                          "hyklwms",       "yckqzj",      "mdzdyjj",
                          "mdzdysj",       "dchy",        "xstbqyrq",
                          "ddbrkz",        "ypphqy",      "zmqy",
                          "djphmrz",       "ypphchsclfs", "ypthphkz",
                          "sxcycbft",      "sxqmpkc",     "xpdjmrsl",
                          "zbbm",          "dztqy",       "ddzxqy",
                          "psfpbdyhs",     "jjbkzzxzbjj", "fmlspyjzdsy",
                          "sxpdsyflfs",    "sxpdsyfzfl",  "ddzxyslxsl",
                          "ddsczb",        "pdyxcfsp",    "ysxzpssp",
                          "jekzsptj",      "mdqyrjxstb",  "jzsjzdtj",
                          "tyspddcsf",     "jhddyhs",     "ycspl",
                          "hykcszt",       "ddzxsqdtqhb", "typdrfbmjz",
                          "hykkhxe",       "dcjdbzrck"};
    for (const char* k : keys)
        QVERIFY2(params.contains(QString::fromLatin1(k)), k);
    // Integer parameters read as whole numbers.
    for (const char* k : {"dddyhs", "sphsfs", "jsxtfs", "jhddyhs", "psfpbdyhs", "xsfkz"}) {
        bool ok = false;
        params.value(QString::fromLatin1(k)).toInt(&ok);
        QVERIFY2(ok, k);
    }
}

void tst_SqlCoorDisp::basicData() {
    QVariantList args{1, u"0003"_qs};
    QCOMPARE(call(DispGetBasicData, args), QVariant(true));
    Table t = decodePacket(args[1]);
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.text(0, t.columnIndex(u"f_zymc"_qs)).toString(), u"王强"_qs);

    args = {1, u"nobody"_qs};
    QCOMPARE(call(DispGetBasicData, args), QVariant(true));
    QCOMPARE(decodePacket(args[1]).rowCount(), 0);

    args = {7, u"0003"_qs};
    QCOMPARE(call(DispGetBasicData, args), QVariant(false));
    QVERIFY(!args[1].toList().isEmpty());
}

void tst_SqlCoorDisp::datesAndKind() {
    QVariantList one{QVariant()};
    QCOMPARE(call(DispGetCurrentDate, one), QVariant(true));
    QCOMPARE(one[0].toString(), u"20250320"_qs);
    QCOMPARE(call(DispGetCurrentYearMonth, one), QVariant(true));
    QCOMPARE(one[0].toString(), u"202503"_qs);
    QCOMPARE(call(DispGetCurrentDateTime, one), QVariant(true));
    QCOMPARE(one[0].toString().mid(8, 6), u"134507"_qs);
    QCOMPARE(one[0].toString().left(8), u"20250320"_qs);
    QVariantList none;
    QCOMPARE(call(DispGetDatabaseType, none), QVariant(u"SQLSERVER"_qs));

    // Without a fixed date the clock decides.
    auto* free = new SqlCoorDisp(std::make_unique<SqliteBackend>(m_path), u"DB2"_qs);
    free->setClock([] { return QDateTime(QDate(2006, 7, 8), QTime(9, 0, 0)); });
    QCOMPARE(free->Invoke(DispGetCurrentDate, one), QVariant(true));
    QCOMPARE(one[0].toString(), u"20060708"_qs);
    QCOMPARE(free->Invoke(DispGetDatabaseType, none), QVariant(u"DB2"_qs));
    free->Release();
}

void tst_SqlCoorDisp::refusedCalls_data() {
    QTest::addColumn<int>("dispId");
    QTest::addColumn<int>("argCount");
    QTest::newRow("unknown id") << 77 << 1;
    QTest::newRow("QueryData without by-ref") << int(DispQueryData) << 1;
    QTest::newRow("GetCurrentDate with two") << int(DispGetCurrentDate) << 2;
    QTest::newRow("GetDatabaseType with one") << int(DispGetDatabaseType) << 1;
}

void tst_SqlCoorDisp::refusedCalls() {
    QFETCH(int, dispId);
    QFETCH(int, argCount);
    QVariantList args;
    for (int i = 0; i < argCount; ++i)
        args << u"select 1"_qs;
    QVERIFY_THROWS_EXCEPTION(DispatchError, call(dispId, args));
}

void tst_SqlCoorDisp::referenceCounting() {
    QCOMPARE(m_host->referenceCount(), 1u);
    QCOMPARE(m_host->AddRef(), 2u);
    QCOMPARE(m_host->AddRef(), 3u);
    QCOMPARE(m_host->Release(), 2u);
    QCOMPARE(m_host->Release(), 1u);
    // The object stays usable while a reference is held.
    QVariantList none;
    QCOMPARE(call(DispGetDatabaseType, none), QVariant(u"SQLSERVER"_qs));
}

void tst_SqlCoorDisp::traceHasBothTexts() {
    const QString path = m_dir.filePath(u"trace.sql"_qs);
    m_host->setTraceFile(path);
    const QString sql =
        u"select f_Gdrq = left(f_Gdrq,4) + '-' + right(f_Gdrq,2) from tb202503_Ygys"_qs;
    QVariantList args{sql, QVariant()};
    QCOMPARE(call(DispQueryData, args), QVariant(true));
    args = {u"select * from nowhere"_qs, QVariant()};
    QCOMPARE(call(DispOpenQuery, args), QVariant(false));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY(text.contains(sql));
    QVERIFY(text.contains(u"substr(f_Gdrq,1,4) || '-' || substr(f_Gdrq,-(2)) AS f_Gdrq"_qs));
    QVERIFY(text.contains(u"select * from nowhere"_qs));
    QVERIFY_THROWS_EXCEPTION(kestrane::Error,
                             m_host->setTraceFile(m_dir.filePath(u"no/such/dir/t"_qs)));
}

QTEST_GUILESS_MAIN(tst_SqlCoorDisp)
#include "tst_SqlCoorDisp.moc"
