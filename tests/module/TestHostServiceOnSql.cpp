// Every typed host call against the substitute host's SQL implementation on a small demo
// database: the module and the host agree on arguments, answers and failures.
#include "common/HostErrors.h"
#include "data/MemTable.h"
#include "data/Recordset.h"
#include "host/DemoDataGenerator.h"
#include "host/SqlCoorDisp.h"
#include "host/SqliteBackend.h"
#include "module/HostService.h"

#include <QtTest>

using namespace kestrane;

class TestHostServiceOnSql : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    host::SqlCoorDisp* m_host = nullptr;

private Q_SLOTS:
    void initTestCase() {
        const QString path = m_dir.filePath("demo.db");
        {
            host::SqliteBackend db(path);
            host::DemoDataOptions options;
            options.lines = 500;
            options.today = QDate(2005, 3, 15);
            host::DemoDataGenerator(options).generate(db);
        }
        m_host = new host::SqlCoorDisp(std::make_unique<host::SqliteBackend>(path), "DB2",
                                       QDate(2005, 3, 15));
    }
    void cleanupTestCase() { m_host->Release(); }

    void textOperations() {
        HostService service(m_host);
        QString text;
        QVariant errors;
        QVERIFY(service.GetCurrentDate(text, errors));
        QCOMPARE(text.left(8), QString("20050315"));
        QVERIFY(service.GetCurrentDateTime(text, errors));
        QCOMPARE(text.left(8), QString("20050315"));
        QCOMPARE(text.mid(8, 6).size(), 6);
        QVERIFY(service.GetCurrentYearMonth(text, errors));
        QVERIFY(text.startsWith("2005") && text.contains("03"));
        QCOMPARE(service.GetDatabaseType(), QString("DB2"));
    }

    void tablesAndRecordsets() {
        HostService service(m_host);
        QVariant errors;
        MemTable table;
        QVERIFY(service.GetSysParams(table, errors));
        QVERIFY(table.locate(u"f_Csmc", "qyny", MemTable::LocatePartialKey));
        QVERIFY(!table.fieldText(u"f_Csz").isEmpty());

        QVERIFY(service.GetBasicData(HostService::kBasicDataOperator, "0001", table, errors));
        QCOMPARE(table.recordCount(), 1);
        QVERIFY(!table.fieldText(u"f_zymc").isEmpty());

        QVERIFY(service.OpenQuery("select f_Bmbm, f_Bmmc from tbBmda", table, errors));
        QVERIFY(table.recordCount() > 0);

        std::shared_ptr<Recordset> rows;
        QVERIFY(service.QueryData("select f_Csbm, f_Csmc from tbCsda", rows, errors));
        QVERIFY(rows && rows->recordCount() > 0);
    }

    void failingStatementsGiveTheDatabaseErrors() {
        HostService service(m_host);
        QVariant errors;
        std::shared_ptr<Recordset> rows;
        QVERIFY(!service.QueryData("select * from tbNoSuchTable", rows, errors));
        QVERIFY(ShowHostErrors(nullptr, errors).contains("tbNoSuchTable", Qt::CaseInsensitive));
        MemTable table;
        QVERIFY(!service.OpenQuery("", table, errors)); // an empty statement is an error too
        QVERIFY(!ShowHostErrors(nullptr, errors).isEmpty());
        QVERIFY(!ShowHostErrors(nullptr, errors).contains("未知错误"));
    }
};

QTEST_MAIN(TestHostServiceOnSql)
#include "TestHostServiceOnSql.moc"
