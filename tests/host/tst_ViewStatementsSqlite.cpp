// The screen's statements for the six views, in both dialects, on the SQLite demo database:
// after adaptation both dialects must return the same rows, those rows must agree with
// direct counts over the monthly tables, and the permission clause must narrow them.
#include "ViewRunner.h"
#include "common/Error.h"
#include "host/DemoDataGenerator.h"
#include "host/SqliteBackend.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace kestrane::host;
using namespace viewrunner;

Q_DECLARE_METATYPE(QueryView)

class tst_ViewStatementsSqlite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void bothDialectsSameRows_data();
    void bothDialectsSameRows();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SqliteBackend> m_db;
    const QDate m_today{2025, 3, 20};
    const QDate m_start{2025, 1, 15};
    const QDate m_end{2025, 3, 10};
};

void tst_ViewStatementsSqlite::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_db = std::make_unique<SqliteBackend>(m_dir.filePath(u"demo.sqlite"_qs));
    DemoDataOptions options;
    options.seed = 11;
    options.lines = 12000;
    options.today = m_today;
    DemoDataGenerator(options).generate(*m_db);
}

void tst_ViewStatementsSqlite::cleanupTestCase() {
    m_db.reset();
}

void tst_ViewStatementsSqlite::bothDialectsSameRows_data() {
    QTest::addColumn<QueryView>("view");
    QTest::addColumn<bool>("withCondition");
    QTest::addColumn<QString>("op");
    for (int v = 0; v < kestrane::query::kQueryViewCount; ++v) {
        const auto view = QueryView(v);
        for (bool cond : {false, true}) {
            for (const QString& op : {DemoDataGenerator::unrestrictedOperator(),
                                      DemoDataGenerator::restrictedOperator()}) {
                QTest::addRow("%s %s operator %s",
                              qPrintable(QueryStatementBuilder::viewName(view)),
                              cond ? "condition" : "no condition", qPrintable(op))
                    << view << cond << op;
            }
        }
    }
}

void tst_ViewStatementsSqlite::bothDialectsSameRows() {
    QFETCH(QueryView, view);
    QFETCH(bool, withCondition);
    QFETCH(QString, op);
    const QString condition = withCondition ? conditionFor(view) : QString();

    Rows sqlServer, db2;
    try {
        sqlServer = run(*m_db, view, u"SQLSERVER"_qs, m_start, m_end, condition, op);
        db2 = run(*m_db, view, u"DB2"_qs, m_start, m_end, condition, op);
    } catch (const kestrane::Error& e) {
        QFAIL(qPrintable(e.message()));
    }
    qInfo("%s: %lld rows (SQLSERVER), %lld rows (DB2)",
          qPrintable(QString::fromUtf8(QTest::currentDataTag())), qlonglong(sqlServer.rows.size()),
          qlonglong(db2.rows.size()));
    QCOMPARE(sqlServer.columns, db2.columns);
    QCOMPARE(sqlServer.rows, db2.rows);
    QVERIFY(!sqlServer.rows.isEmpty());

    const Totals direct = directTotals(*m_db, m_start, m_end, op);
    if (!withCondition) {
        // Every line in range is reached once through one of the two item catalogues.
        if (view == QueryView::Details)
            QCOMPARE(qint64(sqlServer.rows.size()), direct.lines);
        QCOMPARE(qRound64(columnSum(sqlServer, u"f_gjje"_qs) * 100), qRound64(direct.amount * 100));
    } else {
        QVERIFY(columnSum(sqlServer, u"f_gjje"_qs) != direct.amount);
    }
    if (op == DemoDataGenerator::restrictedOperator()) {
        const Totals all =
            directTotals(*m_db, m_start, m_end, DemoDataGenerator::unrestrictedOperator());
        QVERIFY(direct.lines < all.lines);
    }
}

QTEST_GUILESS_MAIN(tst_ViewStatementsSqlite)
#include "tst_ViewStatementsSqlite.moc"
