#include "data/MemTable.h"
#include "data/Recordset.h"
#include "data/RecordsetDataset.h"
#include "grid/TAdvDBGridEh.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <QHeaderView>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::grid;
using conditions::ConditionRow;

namespace {

QList<FieldDef> receiptFields() {
    return {FieldDef("f_Bmbm", "部门编码"), FieldDef("f_Bmmc", "部门名称"),
            FieldDef("f_Gjje", "购进金额", FieldType::Float, 0, true, 0, "####0.00")};
}

std::shared_ptr<Recordset> receipts() {
    auto rows = std::make_shared<Recordset>(receiptFields());
    rows->appendRow({"02", "总店一", 10.5});
    rows->appendRow({"01", "分店", 200.0});
    rows->appendRow({"02", "总店二", 3.25});
    rows->appendRow({"01", "总店三", QVariant()});
    return rows;
}

void addColumns(TAdvDBGridEh& grid) {
    for (const FieldDef& f : receiptFields())
        grid.addColumn(f.name, f.displayLabel, 80);
}

QStringList column(const Dataset& ds, int field) {
    QStringList values;
    for (int r = 0; r < ds.recordCount(); ++r)
        values << ds.displayText(r, field);
    return values;
}

// Clicks a title the way a user does, on the title row.
void clickTitle(TAdvDBGridEh& grid, int columnIndex, Qt::KeyboardModifiers modifiers = {}) {
    QHeaderView* header = grid.horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(columnIndex) +
                            header->sectionSize(columnIndex) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, centre);
}

} // namespace

class TestGridSortingFooters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plainClicksCycleDownUpDown() {
        TAdvDBGridEh grid;
        grid.AutoSorted = true;
        addColumns(grid);
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        grid.resize(400, 300);
        grid.show();

        clickTitle(grid, 2); // first click: descending
        QCOMPARE(grid.column(2)->Title.SortMarker, smDownEh);
        QCOMPARE(ds.sort(), QString("f_Gjje DESC"));
        QCOMPARE(column(ds, 2).first(), QString("200"));
        clickTitle(grid, 2); // second: ascending (the null sorts first)
        QCOMPARE(grid.column(2)->Title.SortMarker, smUpEh);
        QCOMPARE(ds.sort(), QString("f_Gjje ASC"));
        QCOMPARE(column(ds, 2), QStringList({"", "3.25", "10.5", "200"}));
        clickTitle(grid, 2); // third: descending again
        QCOMPARE(grid.column(2)->Title.SortMarker, smDownEh);
        clickTitle(grid, 0); // a plain click elsewhere clears the other marker
        QCOMPARE(grid.column(2)->Title.SortMarker, smNoneEh);
        QCOMPARE(grid.sortMarkedColumns().size(), 1);
    }

    void ctrlClicksSortOnceOnRelease() {
        TAdvDBGridEh grid;
        grid.AutoSorted = true;
        addColumns(grid);
        MemTable table;
        table.setData(receipts()->table());
        grid.setDataSet(&table);
        grid.resize(400, 300);
        grid.show();
        QSignalSpy changes(&table, &Dataset::changed);

        clickTitle(grid, 0, Qt::ControlModifier);
        clickTitle(grid, 0, Qt::ControlModifier); // down -> up
        clickTitle(grid, 2, Qt::ControlModifier);
        QCOMPARE(changes.size(), 0); // nothing sorted while Ctrl is held
        QTest::keyRelease(&grid, Qt::Key_Control);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(table.indexName(), QString("customindex"));
        const MemTable::IndexDef index = table.indexDefs().constLast();
        QCOMPARE(index.fields, QString("f_Bmbm;f_Gjje"));
        QCOMPARE(index.descendingFields, QString("f_Gjje"));
        QVERIFY(index.caseInsensitive);
        QCOMPARE(column(table, 2), QStringList({"200", "", "10.5", "3.25"}));

        // Ctrl on a marked-up column removes it and renumbers the rest; the order changes
        // only on release.
        clickTitle(grid, 0, Qt::ControlModifier);
        QCOMPARE(grid.column(0)->Title.SortMarker, smNoneEh);
        QCOMPARE(grid.column(2)->Title.SortIndex, 1);
        QCOMPARE(table.indexDefs().constLast().fields, QString("f_Bmbm;f_Gjje"));
        QTest::keyRelease(&grid, Qt::Key_Control);
        QCOMPARE(table.indexDefs().size(), 1);
        QCOMPARE(table.indexDefs().constLast().fields, QString("f_Gjje"));
    }

    void withoutAutoSortTheChangeIsReported() {
        TAdvDBGridEh grid;
        addColumns(grid);
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        QSignalSpy reported(&grid, &TAdvDBGridEh::OnSortMarkingChanged);
        grid.titleClick(1, {});
        QCOMPARE(reported.size(), 1);
        QCOMPARE(ds.sort(), QString()); // not sorted by the grid itself
    }

    void emptyDatasetAndNoMarkerLeaveTheOrder() {
        TAdvDBGridEh grid;
        grid.AutoSorted = true;
        addColumns(grid);
        RecordsetDataset ds;
        ds.setRecordset(std::make_shared<Recordset>(receiptFields()));
        grid.setDataSet(&ds);
        grid.titleClick(0, {});
        QCOMPARE(ds.sort(), QString());

        ds.setRecordset(receipts());
        grid.ApplySorting(); // markers were cleared by the new data: nothing to sort by
        QCOMPARE(ds.sort(), QString());
    }

    void newDataClearsMarkers() {
        TAdvDBGridEh grid;
        grid.AutoSorted = true;
        addColumns(grid);
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        grid.titleClick(0, {});
        QCOMPARE(grid.sortMarkedColumns().size(), 1);
        ds.setRecordset(receipts());
        QVERIFY(grid.sortMarkedColumns().isEmpty());
    }

    void sumFootersFollowTheFilter() {
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(2)->Footer.ValueType = fvtSum;
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        QCOMPARE(grid.column(2)->Footer.Value, QString("213.75"));
        ds.setFilterText("f_Bmmc LIKE '%总店%'");
        ds.setFiltered(true);
        QCOMPARE(grid.column(2)->Footer.Value, QString("13.75"));
        ds.setFiltered(false);
        QCOMPARE(grid.column(2)->Footer.Value, QString("213.75"));
    }

    void recordCountFooter() {
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(1)->Footer.ValueType = fvtStaticText;
        grid.column(1)->Footer.Value = "合计:9条";
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        grid.ShowRecordCount();
        QCOMPARE(grid.column(0)->Footer.ValueType, fvtStaticText);
        QCOMPARE(grid.column(0)->Footer.Value, QString("合计:4条"));
        QCOMPARE(grid.column(1)->Footer.Value, QString()); // the old count text is cleared

        // A first column that shows a sum keeps it.
        grid.column(0)->setVisible(false);
        grid.column(1)->Footer.ValueType = fvtSum;
        grid.column(2)->Footer.ValueType = fvtSum;
        grid.recalcFooters();
        grid.ShowRecordCount();
        QCOMPARE(grid.column(1)->Footer.ValueType, fvtSum);
        QCOMPARE(grid.column(2)->Footer.Value, QString("213.75"));

        // An empty result counts 0.
        TAdvDBGridEh empty;
        empty.ShowSumCount = true;
        addColumns(empty);
        RecordsetDataset none;
        none.setRecordset(std::make_shared<Recordset>(receiptFields()));
        empty.setDataSet(&none);
        QCOMPARE(empty.column(0)->Footer.Value, QString("合计:0条"));
    }

    void filterWithPartNotEqual() {
        TAdvDBGridEh grid;
        addColumns(grid);
        RecordsetDataset ds;
        ds.setRecordset(receipts());
        grid.setDataSet(&ds);
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        // The user adds 部门名称 部分不等于 总店 and confirms.
        runner.queueDialog([](QDialog& dialog) {
            auto* field = dialog.findChild<QComboBox*>("cbxField");
            auto* factor = dialog.findChild<QComboBox*>("cbxFactor");
            field->setCurrentIndex(field->findText("部门名称"));
            Q_EMIT field->activated(field->currentIndex());
            factor->setCurrentIndex(factor->findText("部分不等于"));
            Q_EMIT factor->activated(factor->currentIndex());
            dialog.findChild<QLineEdit*>("editValue")->setText("总店");
            QTest::mouseClick(dialog.findChild<QWidget*>("btnAddLogic"), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QWidget*>("btnOK"), Qt::LeftButton);
        });
        QVERIFY(grid.FilterDialog("已勾兑验收单明细查询过滤", QString(), false));
        // The rows matching the pattern are excluded by value, one inequality each.
        QVERIFY2(ds.filterText().endsWith(" and (f_Bmmc<>'总店一' and f_Bmmc<>'总店二' and "
                                          "f_Bmmc<>'总店三')"),
                 qPrintable(ds.filterText()));
        QVERIFY(ds.isFiltered());
        QCOMPARE(ds.recordCount(), 1);
        QCOMPARE(ds.fieldText(u"f_Bmmc"), QString("分店"));
        QCOMPARE(grid.FilterConditions.size(), 1);
        QCOMPARE(grid.column(2)->Footer.Value, QString()); // no sum footer was asked for

        // Confirming an emptied list removes the filter.
        runner.queueDialog([](QDialog& dialog) {
            QTest::mouseClick(dialog.findChild<QWidget*>("btnClearLogic"), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QWidget*>("btnOK"), Qt::LeftButton);
        });
        QVERIFY(grid.FilterDialog("已勾兑验收单明细查询过滤", QString(), false));
        QCOMPARE(ds.recordCount(), 4);

        // A filter the data cannot take is reported in an error box and answers false.
        RecordsetDataset none;
        TAdvDBGridEh unbound;
        runner.queueDialog([](QDialog& dialog) { dialog.accept(); });
        QVERIFY(!unbound.FilterDialog("已勾兑验收单明细查询过滤", QString(), false));
        QCOMPARE(runner.messages().constLast().caption, QString("错误"));
    }

    void conditionText_data() {
        QTest::addColumn<QList<ConditionRow>>("query");
        QTest::addColumn<QList<ConditionRow>>("filter");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("expected");
        const QList<ConditionRow> twoRows{
            ConditionRow::condition("部门编码", "等于", "0101"), ConditionRow::logic("并且"),
            ConditionRow::condition("供应商名称", "部分等于", "食品")};
        QTest::newRow("query rows") << twoRows << QList<ConditionRow>{} << ""
                                    << "查询条件:\r\n    部门编码:等于0101并且\r\n"
                                       "    供应商名称:部分等于食品\r\n";
        QTest::newRow("nothing") << QList<ConditionRow>{} << QList<ConditionRow>{} << ""
                                 << "";
        QTest::newRow("extra only") << QList<ConditionRow>{} << QList<ConditionRow>{} << "X"
                                    << "查询条件:\r\n    X\r\n";
        QTest::newRow("extra and filter")
            << QList<ConditionRow>{ConditionRow::condition("部门编码", "等于", "01")}
            << QList<ConditionRow>{ConditionRow::condition("部门名称", "部分不等于", "总店")} << "X"
            << "查询条件:\r\n    X并且\r\n    部门编码:等于01\r\n过滤条件:\r\n"
               "    部门名称:部分不等于总店";
    }
    void conditionText() {
        QFETCH(QList<ConditionRow>, query);
        QFETCH(QList<ConditionRow>, filter);
        QFETCH(QString, extra);
        QFETCH(QString, expected);
        TAdvDBGridEh grid;
        grid.QueryConditions = query;
        grid.FilterConditions = filter;
        QCOMPARE(grid.ConditionText(extra), expected);
    }
};

QTEST_MAIN(TestGridSortingFooters)
#include "TestGridSortingFooters.moc"
