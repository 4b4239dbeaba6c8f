// The DB2 statements of the six views run on PostgreSQL (as they stand), the SQL Server ones
// through the adapter, and both give the rows the SQLite demo of the same seed gives.
// Needs a server: KESTRANE_PG holds a libpq connection string (host/scripts/pg-test-server.sh
// starts a throw-away one and prints it).
#include "ViewRunner.h"
#include "common/Error.h"
#include "data/VarToRecordset.h"
#include "host/DemoDataGenerator.h"
#include "host/PostgresBackend.h"
#include "host/SqlCoorDisp.h"
#include "host/SqliteBackend.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace kestrane::host;
using namespace viewrunner;

Q_DECLARE_METATYPE(QueryView)

class tst_ViewStatementsPostgres : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void agreesWithSqlite_data();
    void agreesWithSqlite();
    void failingStatementsOnTheServer();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SqliteBackend> m_lite;
    std::unique_ptr<PostgresBackend> m_pg;
    const QDate m_today{2025, 3, 20};
    const QDate m_start{2025, 1, 15};
    const QDate m_end{2025, 3, 10};
};

void tst_ViewStatementsPostgres::initTestCase() {
    const QString conn = qEnvironmentVariable("KESTRANE_PG");
    if (conn.isEmpty())
        QSKIP("KESTRANE_PG is not set: start a server with host/scripts/pg-test-server.sh and "
              "export its connection string as KESTRANE_PG to run the PostgreSQL tests");
    DemoDataOptions options;
    options.seed = 11;
    options.lines = 12000;
    options.today = m_today;
    try {
        m_pg = std::make_unique<PostgresBackend>(conn);
        DemoDataGenerator(options).generate(*m_pg);
        m_lite = std::make_unique<SqliteBackend>(m_dir.filePath(u"demo.sqlite"_qs));
        DemoDataGenerator(options).generate(*m_lite);
    } catch (const kestrane::Error& e) {
        QFAIL(qPrintable(e.message()));
    }
}

void tst_ViewStatementsPostgres::cleanupTestCase() {
    m_pg.reset();
    m_lite.reset();
}

void tst_ViewStatementsPostgres::agreesWithSqlite_data() {
    QTest::addColumn<QueryView>("view");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("withCondition");
    QTest::addColumn<QString>("op");
    for (int v = 0; v < kestrane::query::kQueryViewCount; ++v) {
        for (const char* kind : {"DB2", "SQLSERVER"}) {
            for (bool cond : {false, true}) {
                for (const QString& op : {DemoDataGenerator::unrestrictedOperator(),
                                          DemoDataGenerator::restrictedOperator()}) {
                    QTest::addRow("%s %s %s operator %s",
                                  qPrintable(QueryStatementBuilder::viewName(QueryView(v))), kind,
                                  cond ? "condition" : "no condition", qPrintable(op))
                        << QueryView(v) << QString::fromLatin1(kind) << cond << op;
                }
            }
        }
    }
}

void tst_ViewStatementsPostgres::agreesWithSqlite() {
    QFETCH(QueryView, view);
    QFETCH(QString, kind);
    QFETCH(bool, withCondition);
    QFETCH(QString, op);
    const QString condition = withCondition ? conditionFor(view) : QString();
    Rows pg, lite;
    try {
        if (kind == u"DB2") {
            // PostgreSQL takes the DB2 text exactly as the module sends it.
            pg = normalise(m_pg->query(statement(view, kind, m_start, m_end, condition, op)));
        } else {
            pg = run(*m_pg, view, kind, m_start, m_end, condition, op);
        }
        lite = run(*m_lite, view, kind, m_start, m_end, condition, op);
    } catch (const kestrane::Error& e) {
        QFAIL(qPrintable(e.message()));
    }
    qInfo("%s: %lld rows on PostgreSQL, %lld on SQLite",
          qPrintable(QString::fromUtf8(QTest::currentDataTag())), qlonglong(pg.rows.size()),
          qlonglong(lite.rows.size()));
    QVERIFY(!pg.rows.isEmpty());
    QCOMPARE(pg.columns, lite.columns);
    QCOMPARE(pg.rows, lite.rows);
}

// A refused statement answers false with the server's texts, and leaves the connection
// usable: no half-open transaction swallows the next statement.
void tst_ViewStatementsPostgres::failingStatementsOnTheServer() {
    auto* host = new SqlCoorDisp(
        std::make_unique<PostgresBackend>(qEnvironmentVariable("KESTRANE_PG")), u"DB2"_qs, m_today);
    const QString bad[] = {u"select * from tb199901_Ygys"_qs, u"select from where"_qs,
                           u"delete from tbBmda"_qs, u"select 1; select 2"_qs, QString()};
    for (const QString& sql : bad) {
        QVariantList args{sql, QVariant()};
        QCOMPARE(host->Invoke(kestrane::DispQueryData, args), QVariant(false));
        const QVariantList errors = args[1].toList();
        QVERIFY2(!errors.isEmpty() && !errors.first().toString().isEmpty(), qPrintable(sql));
        if (sql.contains(u"199901"_qs))
            QVERIFY(errors.first().toString().contains(u"tb199901_ygys"_qs));
        QVariantList good{u"select count(*) from tbBmda"_qs, QVariant()};
        QCOMPARE(host->Invoke(kestrane::DispQueryData, good), QVariant(true));
        QVERIFY(kestrane::VarToRecordset(good[1])->table().number(0, 0) > 0);
    }
    host->Release();
}

QTEST_GUILESS_MAIN(tst_ViewStatementsPostgres)
#include "tst_ViewStatementsPostgres.moc"
