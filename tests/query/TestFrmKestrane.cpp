// The query screen driven through real events against the substitute host's SQL backend on a
// small generated demo database.
#include "common/IniProfile.h"
#include "data/Recordset.h"
#include "data/RecordsetDataset.h"
#include "grid/TAdvDBGridEh.h"
#include "host/DemoDataGenerator.h"
#include "host/SqlCoorDisp.h"
#include "host/SqliteBackend.h"
#include "module/ModuleState.h"
#include "query/FieldCatalogues.h"
#include "query/TFrmKestrane.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QScopeGuard>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::query;

namespace {

const QDate kToday(2005, 3, 15);

// Presses OK in the condition dialog, optionally after adding one condition.
void confirmConditions(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QWidget*>("btnOK"), Qt::LeftButton);
}

} // namespace

class TestFrmKestrane : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ui::ScriptedModalRunner m_runner;
    std::unique_ptr<ui::ScopedModalRunner> m_scope;

    // A host on the demo database, reporting `kind`.
    host::SqlCoorDisp* openHost(const QString& kind) {
        auto backend = std::make_unique<host::SqliteBackend>(m_dir.filePath("demo.db"));
        return new host::SqlCoorDisp(std::move(backend), kind, kToday);
    }

    // Aggregate of the reconciled lines in the date range, computed by SQLite directly.
    QVariantList totals(const QString& sql) {
        host::SqliteBackend db(m_dir.filePath("demo.db"));
        const Table t = db.query(sql);
        QVariantList row;
        for (int c = 0; c < t.columnCount(); ++c)
            row << t.value(0, c);
        return row;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        host::SqliteBackend db(m_dir.filePath("demo.db"));
        host::DemoDataOptions options;
        options.lines = 4000;
        options.today = kToday;
        host::DemoDataGenerator(options).generate(db);
        m_scope = std::make_unique<ui::ScopedModalRunner>(m_runner);
    }

    void init() { m_runner.clear(); }

    void startUp() {
        host::SqlCoorDisp* service = openHost("SQLSERVER");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        QVERIFY2(m_runner.messages().isEmpty(), qPrintable(m_runner.messages().value(0).text));
        QCOMPARE(form.FDTPStart->date(), QDate(2005, 3, 1));
        QCOMPARE(form.FDTPEnd->date(), kToday);
        QCOMPARE(form.values().printDate, QString("20050315"));
        QVERIFY(!form.values().operatorName.isEmpty());
        QVERIFY(form.values().startYearMonth.isValid());
        QCOMPARE(form.sysmsgInfo().dbType, QString("SQLSERVER"));
        QCOMPARE(form.currentView(), 1);
        QCOMPARE(form.FCB->count(), 6);
        QCOMPARE(form.dgdView->columnCount(), 17);
        QCOMPARE(form.dgdView->FrozenCols(), 1);
        module::ModuleState::instance().clear();
    }

    void dateChecks_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("message");
        QTest::newRow("before the system start")
            << QDate(2002, 1, 1) << QDate(2005, 3, 1) << "开始日期不应小于系统启用日期";
        QTest::newRow("after today")
            << QDate(2005, 3, 1) << QDate(2005, 3, 16) << "结束日期不应大于系统当前日期";
        QTest::newRow("start after end")
            << QDate(2005, 3, 10) << QDate(2005, 3, 9) << "开始日期不应大于结束日期";
    }
    void dateChecks() {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, message);
        host::SqlCoorDisp* service = openHost("DB2");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        form.FDTPStart->setDate(start);
        form.FDTPEnd->setDate(end);
        form.btnSearchClick();
        QCOMPARE(m_runner.messages().size(), 1);
        QCOMPARE(m_runner.messages()[0].text, message);
        QCOMPARE(m_runner.messages()[0].caption, QString("错误"));
        QVERIFY(m_runner.dialogs().isEmpty()); // no condition dialog was opened
        QVERIFY(!form.queryRunning());
        module::ModuleState::instance().clear();
    }

    void everyViewInBothDialects_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("view");
        for (const char* kind : {"SQLSERVER", "DB2"})
            for (int v = 0; v < kQueryViewCount; ++v)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kind).arg(v)))
                    << QString::fromLatin1(kind) << v;
    }
    void everyViewInBothDialects() {
        QFETCH(QString, kind);
        QFETCH(int, view);
        host::SqlCoorDisp* service = openHost(kind);
        QWidget panel;
        panel.resize(1000, 600);
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        form.FDTPStart->setDate(QDate(2005, 1, 15));
        form.FDTPEnd->setDate(QDate(2005, 3, 10));
        form.FCB->setCurrentIndex(view);
        form.FCBChange();
        m_runner.queueDialog(confirmConditions);
        form.btnSearchClick();
        QVERIFY2(m_runner.messages().isEmpty(), qPrintable(m_runner.messages().value(0).text));

        RecordsetDataset* ds = form.resultDataset(view);
        QCOMPARE(form.dgdView->dataSet(), ds);
        QCOMPARE(form.dgdView->FrozenCols(), 0);
        QCOMPARE(form.dgdView->columnCount(), int(resultFields(QueryView(view)).size()));
        QCOMPARE(form.dgdView->column(0)->Footer.Value,
                 QStringLiteral("合计:%1条").arg(ds->recordCount()));

        // Independent aggregates over the three months' lines of the range.
        QString lines;
        for (const char* month : {"200501", "200502", "200503"})
            lines += QStringLiteral("%1select * from tb%2_Ygys where f_Gdrq between '20050115' "
                                    "and '20050310'")
                         .arg(lines.isEmpty() ? "" : " union all ", month);
        const QVariantList expected =
            totals(QStringLiteral("select count(*), sum(f_Gjje) from (%1)").arg(lines));
        // The detail view shows every line; the others group lines (per month), so they
        // have at least one and at most as many rows as there are lines.
        if (QueryView(view) == QueryView::Details)
            QCOMPARE(ds->recordCount(), expected[0].toInt());
        QVERIFY(ds->recordCount() > 0);
        QVERIFY(ds->recordCount() <= expected[0].toInt());
        const int gjje = ds->fieldIndex(u"f_Gjje");
        QVERIFY(qAbs(ds->sum(gjje) - expected[1].toDouble()) < 0.01 * ds->recordCount() + 0.01);
        QCOMPARE(form.dgdView->columnByField("f_Gjje")->Footer.ValueType, grid::fvtSum);
        QVERIFY(!form.queryRunning());
        module::ModuleState::instance().clear();
    }

    void cancelQueriesNothing() {
        host::SqlCoorDisp* service = openHost("SQLSERVER");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        m_runner.queueDialog([](QDialog& dialog) { dialog.reject(); });
        form.btnSearchClick();
        QCOMPARE(m_runner.dialogs().size(), 1);
        QCOMPARE(form.dgdView->dataSet(), nullptr);
        QCOMPARE(form.dgdView->columnCount(), 17); // the design-time columns stay
        QVERIFY(!form.queryRunning());
        module::ModuleState::instance().clear();
    }

    void keysAndRowColours() {
        host::SqlCoorDisp* service = openHost("SQLSERVER");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        panel.resize(900, 500);
        form.resize(900, 500);
        panel.show();
        // Ctrl+F2 queries like F2.
        m_runner.queueDialog(confirmConditions);
        QTest::keyClick(form.dgdView, Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(m_runner.dialogs().size(), 1);
        QVERIFY(form.dgdView->dataSet() && form.dgdView->dataSet()->recordCount() > 2);
        const QModelIndex first = form.dgdView->model()->index(0, 1);
        const QModelIndex second = form.dgdView->model()->index(1, 1);
        QCOMPARE(first.data(Qt::BackgroundRole).value<QColor>(), QColor(196, 196, 255));
        QCOMPARE(second.data(Qt::BackgroundRole).value<QColor>(), QColor(221, 221, 255));

        // F4 shows the condition text.
        QTest::keyClick(form.dgdView, Qt::Key_F4);
        QVERIFY(form.MemoCondition->isVisibleTo(&form));
        QVERIFY(form.btnCondition->isChecked());
        QVERIFY(form.MemoCondition->toPlainText().contains("勾兑日期:从20050301 到 20050315"));
        module::ModuleState::instance().clear();
    }

    void layoutIsKeptPerView() {
        host::SqlCoorDisp* service = openHost("SQLSERVER");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        const QString ini = IniFilePath(kUserIniFile, QString());
        QFile::remove(ini);
        auto cleanUp = qScopeGuard([&] { QFile::remove(ini); });
        TFrmKestrane form(&panel);
        form.FCB->setCurrentIndex(1);
        form.FCBChange();
        m_runner.queueDialog(confirmConditions);
        form.btnSearchClick();
        // The user narrows the supplier name column: saved under this view's key.
        form.dgdView->columnByField("f_Csmc")->setWidth(77);
        Q_EMIT form.dgdView->ColWidthsChanged();
        QCOMPARE(ReadIniValue(kUserIniFile, "FrmKestrane1", "f_Csmc", ""), QString("1,77"));
        QCOMPARE(ReadIniValue(kUserIniFile, "FrmKestrane0", "f_Csmc", "none"), QString("none"));

        // Another view keeps its own layout; coming back restores the narrowed column.
        form.FCB->setCurrentIndex(2);
        form.FCBChange();
        m_runner.queueDialog(confirmConditions);
        form.btnSearchClick();
        form.FCB->setCurrentIndex(1);
        form.FCBChange();
        m_runner.queueDialog(confirmConditions);
        form.btnSearchClick();
        QCOMPARE(form.dgdView->columnByField("f_Csmc")->Width(), 77);
        module::ModuleState::instance().clear();
    }

    void viewChangeSelectsItsTemplate() {
        host::SqlCoorDisp* service = openHost("SQLSERVER");
        QWidget panel;
        module::ModuleState::instance().setHost(&panel, service, "0001");
        service->Release();
        TFrmKestrane form(&panel);
        form.ChkTemplate->clear();
        form.ChkTemplate->addItems({"明细", "厂商汇总"});
        form.FCB->setCurrentIndex(1);
        form.FCBChange();
        QCOMPARE(form.ChkTemplate->currentText(), QString("厂商汇总"));
        QCOMPARE(form.currentView(), 2);
        QCOMPARE(form.layoutSection(), QString("FrmKestrane1"));
        form.FCB->setCurrentIndex(2);
        form.FCBChange();
        QCOMPARE(form.ChkTemplate->currentIndex(), -1);
        module::ModuleState::instance().clear();
    }
};

QTEST_MAIN(TestFrmKestrane)
#include "TestFrmKestrane.moc"
