#include "DialogDriver.h"

#include "conditions/DialogColors.h"
#include "conditions/TFrmQuerySet.h"
#include "data/MemTable.h"
#include "ui/modal/ModalRunner.h"

#include <QGroupBox>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::conditions;
using namespace kestrane::testing;

Q_DECLARE_METATYPE(kestrane::conditions::ConditionList)

namespace {

QList<FieldDef> catalogue() {
    auto field = [](const char* name, const char16_t* label, bool visible = true) {
        FieldDef f;
        f.name = QString::fromLatin1(name);
        f.displayLabel = QString::fromUtf16(label);
        f.visible = visible;
        return f;
    };
    return {field("a.f_Bmbm", u"部门编码"), field("d.f_Csmc", u"供应商名称"),
            field("a.f_Djh", u"单据号"), field("a.f_Hidden", u"隐藏字段", false)};
}

ConditionRow cond(const QString& caption, const QString& op, const QString& value) {
    return ConditionRow::condition(caption, op, value);
}

} // namespace

class TestFrmQuerySet : public QObject {
    Q_OBJECT

    ui::ScriptedModalRunner runner;
    std::unique_ptr<ui::ScopedModalRunner> scope;
    MemTable table;
    std::unique_ptr<TFrmQuerySet> form;
    QList<SeenMessage> seen;

    TFrmQuerySet* open(const ConditionList& rows = {}) {
        form = TFrmQuerySet::CreateForQuery(nullptr, QString(), QString(), QStringLiteral("帮助"),
                                            &rows, QString());
        form->setDataSet(&table);
        form->show();
        return form.get();
    }

    QTreeWidget* list() { return child<QTreeWidget>(form.get(), "lvwLogic"); }
    QLineEdit* value() { return child<QLineEdit>(form.get(), "editValue"); }
    QMenu* menu() { return child<QMenu>(form.get(), "pmnuSetField"); }
    QAction* action(const char* name) { return form->findChild<QAction*>(QString(name)); }

    // Field, operator and value entered with keys, then Enter in the value edit.
    void enter(const QString& field, const QString& op, const QString& text) {
        chooseItem(child<QComboBox>(form.get(), "cbxField"), field);
        chooseItem(child<QComboBox>(form.get(), "cbxFactor"), op);
        typeInto(value(), text);
        QTest::keyClick(value(), Qt::Key_Return);
    }

private Q_SLOTS:
    void initTestCase() {
        table.setFieldDefs(catalogue());
        scope = std::make_unique<ui::ScopedModalRunner>(runner);
    }
    void init() {
        runner.clear();
        seen.clear();
        DialogColors::reset();
    }
    void cleanup() { form.reset(); }

    void construction_data() {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("okCaption");
        QTest::addColumn<QString>("groupTitle");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("query") << false << ""
                               << "查  询(&O)"
                               << "查询过滤条件设置："
                               << QStringList{"部门编码", "供应商名称", "单据号"};
        QTest::newRow("filter with title")
            << true << "过滤"
            << "过  滤(&O)"
            << "过滤" << QStringList{"部门编码", "供应商名称", "单据号", "隐藏字段"};
        QTest::newRow("blank title")
            << true << "   "
            << "过  滤(&O)"
            << "查询过滤条件设置：" << QStringList{"部门编码", "供应商名称", "单据号", "隐藏字段"};
    }
    void construction() {
        QFETCH(bool, filter);
        QFETCH(QString, title);
        QFETCH(QString, okCaption);
        QFETCH(QString, groupTitle);
        QFETCH(QStringList, offered);
        const ConditionList rows{cond("部门编码", "等于", "01")};
        form = filter ? TFrmQuerySet::CreateForFilter(nullptr, title, "x,y", "说明", &rows, false)
                      : TFrmQuerySet::CreateForQuery(nullptr, title, "x,y", "说明", &rows,
                                                     " f_a=b ; f_c=d");
        form->setDataSet(&table);
        form->show();
        QCOMPARE(child<QAbstractButton>(form.get(), "btnOK")->text(), okCaption);
        QCOMPARE(child<QGroupBox>(form.get(), "gbxGoodsInfo")->title(), groupTitle);
        QCOMPARE(form->AliasList(), QString("x,y"));
        QCOMPARE(form->HelpText(), QString("字段名称值的要求:\r\n说明"));
        QCOMPARE(form->FieldMap(), filter ? QStringList() : QStringList({"f_a=b", "f_c=d"}));
        QCOMPARE(form->FilterMode(), filter);
        QCOMPARE(form->VisibleOnly(), !filter);
        QCOMPARE(form->Conditions(), rows);
        QCOMPARE(form->LastRelation(), 0);
        auto* field = child<QComboBox>(form.get(), "cbxField");
        QStringList items;
        for (int i = 0; i < field->count(); ++i)
            items << field->itemText(i);
        QCOMPARE(items, offered);
        QCOMPARE(field->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(form.get(), "cbxFactor")->currentIndex(), -1);
        // The caption bar is gone; the group box caption is the title.
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->size(), QSize(629, 264));
    }

    void queryFieldMapEmpty() {
        form = TFrmQuerySet::CreateForQuery(nullptr, "", "", "", nullptr, "");
        QCOMPARE(form->FieldMap(), QStringList({""}));
        QVERIFY(form->Conditions().isEmpty());
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // zero width/height: not fixed
        QTest::addColumn<bool>("visible");
        QTest::newRow("cbxField") << "cbxField" << QRect(8, 42, 194, 0) << true;
        QTest::newRow("cbxFactor") << "cbxFactor" << QRect(211, 42, 148, 0) << true;
        QTest::newRow("editValue") << "editValue" << QRect(372, 44, 237, 0) << true;
        QTest::newRow("lvwLogic") << "lvwLogic" << QRect(9, 83, 502, 167) << true;
        QTest::newRow("btnAddLogic") << "btnAddLogic" << QRect(519, 81, 0, 0) << true;
        QTest::newRow("btnModifyOK") << "btnModifyOK" << QRect(520, 81, 0, 0) << false;
        QTest::newRow("btnModifyCancel") << "btnModifyCancel" << QRect(587, 81, 0, 0) << false;
        QTest::newRow("btnRunLogic") << "btnRunLogic" << QRect() << false;
        QTest::newRow("btnClearLogic") << "btnClearLogic" << QRect(520, 117, 0, 0) << true;
        QTest::newRow("btnOK") << "btnOK" << QRect(520, 152, 0, 0) << true;
        QTest::newRow("btnHelp") << "btnHelp" << QRect(520, 190, 0, 0) << true;
        QTest::newRow("btnExit") << "btnExit" << QRect(520, 226, 0, 0) << true;
        QTest::newRow("memSQL") << "memSQL" << QRect(8, 191, 613, 65) << true;
        QTest::newRow("gbxGoodsInfo") << "gbxGoodsInfo" << QRect(0, 0, 629, 264) << true;
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, visible);
        open();
        auto* widget = form->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->isVisible(), visible);
        if (geometry.isNull())
            return;
        QCOMPARE(widget->pos(), geometry.topLeft());
        if (geometry.width() > 0)
            QCOMPARE(widget->width(), geometry.width());
        if (geometry.height() > 0)
            QCOMPARE(widget->height(), geometry.height());
    }

    void listAndMenu() {
        open();
        QTreeWidget* lvw = list();
        QCOMPARE(lvw->headerItem()->text(0), QString("字段名称"));
        QCOMPARE(lvw->headerItem()->text(3), QString("逻辑关系"));
        QCOMPARE((QList<int>{lvw->columnWidth(0), lvw->columnWidth(1), lvw->columnWidth(2),
                             lvw->columnWidth(3)}),
                 (QList<int>{198, 100, 79, 69}));
        // The memo lies under the group box.
        auto* memo = child<QWidget>(form.get(), "memSQL");
        QVERIFY(form->childAt(memo->geometry().center()) != memo);
        QStringList entries;
        for (QAction* a : menu()->actions())
            entries << a->text();
        QCOMPARE(entries, QStringList({"加入字段表达式", "修改字段表达式", "修改逻辑表达式",
                                       "删除字段表达式"}));
        QVERIFY(!child<QMenu>(form.get(), "mnuModifyLogic")->menuAction()->isEnabled());
    }

    void addingAndRelations() {
        open();
        enter("部门编码", "等于", "01");
        QCOMPARE(form->Conditions(), ConditionList{cond("部门编码", "等于", "01")});
        QVERIFY(runner.dialogs().isEmpty()); // the first row asks no relation

        QStringList offered;
        answerChoice(runner, offered, "或者");
        enter("供应商名称", "部分等于", "食品");
        QCOMPARE(offered, QStringList({"并且", "或者"}));
        QCOMPARE(form->LastRelation(), 1);

        answerChoice(runner, offered, "并且");
        enter("单据号", "左等于", "PO");
        QCOMPARE(offered, QStringList({"或者", "并且"}));
        QCOMPARE(form->LastRelation(), 0);

        // Leaving the question adds nothing.
        answerChoice(runner, offered, "");
        enter("单据号", "等于", "X");
        QCOMPARE(form->Conditions(),
                 (ConditionList{cond("部门编码", "等于", "01"), ConditionRow::logic("或者"),
                                cond("供应商名称", "部分等于", "食品"), ConditionRow::logic("并且"),
                                cond("单据号", "左等于", "PO")}));
        QCOMPARE(runner.dialogs(), QStringList({"ChoiceWindow", "ChoiceWindow", "ChoiceWindow"}));

        // The add button does what Enter does.
        answerChoice(runner, offered, "并且");
        typeInto(value(), "Y");
        clickButton(form.get(), "btnAddLogic");
        QCOMPARE(form->Conditions().size(), 7);
        QCOMPARE(form->Conditions().last(), cond("单据号", "等于", "Y"));
    }

    void emptyValueWarns() {
        open();
        chooseItem(child<QComboBox>(form.get(), "cbxField"), "部门编码");
        answerMessage(runner, seen, "OK");
        clickButton(form.get(), "btnAddLogic");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].caption, QString("警告"));
        QCOMPARE(seen[0].text, QString("请输入一个值。"));
        QCOMPARE(seen[0].buttons, QStringList({"OK"}));
        QVERIFY(form->Conditions().isEmpty());
        QCOMPARE(form->focusWidget(), value());
    }

    void duplicates() {
        open({cond("部门编码", "等于", "01"), ConditionRow::logic("并且"),
              cond("单据号", "等于", "9")});
        // The same condition as an earlier row: information, nothing added.
        answerMessage(runner, seen, "OK");
        enter("部门编码", "等于", "01");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].caption, QString("信息"));
        QCOMPARE(seen[0].text, QString("该逻辑表达式已经存在。"));
        QCOMPARE(form->Conditions().size(), 3);
        QVERIFY(form->isVisible());

        // The same condition as the last row: Enter again confirms the dialog.
        enter("单据号", "等于", "9");
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(!form->isVisible());
        QCOMPARE(form->SqlText(), QString("( a.f_Bmbm = '01' ) And ( a.f_Djh = '9' )"));
        QCOMPARE(seen.size(), 1);
    }

    void duplicateWhileModifying() {
        open({cond("部门编码", "等于", "01")});
        clickRow(list(), 0);
        clickMenuItem(openPopup(list(), menu()), action("mnuModifyField"));
        QVERIFY(child<QWidget>(form.get(), "btnAddLogic")->isHidden());
        answerMessage(runner, seen, "OK");
        typeInto(value(), "01");
        QTest::keyClick(value(), Qt::Key_Return);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QString("该逻辑表达式已经存在。"));
        QVERIFY(form->isVisible());
    }

    void modify() {
        open({cond("部门编码", "等于", "01"), ConditionRow::logic("并且"),
              cond("单据号", "左等于", "PO")});
        // Without a condition row selected the information asks for one.
        answerMessage(runner, seen, "OK");
        clickMenuItem(openPopup(list(), menu()), action("mnuModifyField"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QString("请选择一个逻辑表达式。"));

        clickRow(list(), 2);
        clickMenuItem(openPopup(list(), menu()), action("mnuModifyField"));
        QVERIFY(child<QWidget>(form.get(), "btnModifyOK")->isVisible());
        QVERIFY(child<QWidget>(form.get(), "btnModifyCancel")->isVisible());
        QVERIFY(!child<QWidget>(form.get(), "btnAddLogic")->isVisible());
        QCOMPARE(child<QComboBox>(form.get(), "cbxField")->currentText(), QString("单据号"));
        QCOMPARE(child<QComboBox>(form.get(), "cbxFactor")->currentText(), QString("左等于"));
        QCOMPARE(value()->text(), QString("PO"));

        // A modification may leave an empty value; no message.
        chooseItem(child<QComboBox>(form.get(), "cbxFactor"), "大于");
        typeInto(value(), "");
        clickButton(form.get(), "btnModifyOK");
        QCOMPARE(form->Conditions().at(2), cond("单据号", "大于", ""));
        QVERIFY(child<QWidget>(form.get(), "btnAddLogic")->isVisible());
        QVERIFY(!child<QWidget>(form.get(), "btnModifyOK")->isVisible());
        QCOMPARE(seen.size(), 1);

        // Cancelling writes nothing.
        clickRow(list(), 0);
        clickMenuItem(openPopup(list(), menu()), action("mnuModifyField"));
        typeInto(value(), "99");
        clickButton(form.get(), "btnModifyCancel");
        QCOMPARE(form->Conditions().at(0), cond("部门编码", "等于", "01"));
        QVERIFY(child<QWidget>(form.get(), "btnAddLogic")->isVisible());
    }

    void popupStateAndLogicWords() {
        open({cond("部门编码", "等于", "01"), ConditionRow::logic("并且"),
              cond("单据号", "等于", "2")});
        auto* modifyLogic = child<QMenu>(form.get(), "mnuModifyLogic")->menuAction();
        clickRow(list(), 1);
        openPopup(list(), menu());
        QVERIFY(modifyLogic->isEnabled());
        QVERIFY(!action("mnuModifyField")->isEnabled());
        menu()->hide();
        // The submenu's items, as the user reaches them with the keyboard.
        action("mnuLogicOr")->trigger();
        QCOMPARE(form->Conditions().at(1).Logic, QString("或者"));

        clickRow(list(), 0);
        openPopup(list(), menu());
        QVERIFY(!modifyLogic->isEnabled());
        QVERIFY(action("mnuModifyField")->isEnabled());
        menu()->hide();

        // With nothing selected the items keep their last state.
        list()->clearSelection();
        openPopup(list(), menu());
        QVERIFY(!modifyLogic->isEnabled());
        clickMenuItem(menu(), action("mnuAddField"));
        QCOMPARE(form->focusWidget(), child<QWidget>(form.get(), "cbxField"));
    }

    void deleting_data() {
        QTest::addColumn<ConditionList>("rows");
        QTest::addColumn<int>("selected");   // -1: none
        QTest::addColumn<QString>("answer"); // button to press, empty: none
        QTest::addColumn<QString>("question");
        QTest::addColumn<ConditionList>("remaining");
        const ConditionRow A = cond("部门编码", "等于", "A");
        const ConditionRow B = cond("部门编码", "等于", "B");
        const ConditionRow C = cond("部门编码", "等于", "C");
        const ConditionRow AND = ConditionRow::logic("并且");
        const ConditionRow OR = ConditionRow::logic("或者");
        const QString askCondition = "您确认删除该逻辑表达式吗？";
        const QString askLogic =
            "删除该逻辑关系，将同时删除与之关联的逻辑表达式。\r\n您确认继续吗？";
        QTest::newRow("first condition")
            << ConditionList{A, AND, B} << 0 << "Yes" << askCondition << ConditionList{B};
        QTest::newRow("last condition")
            << ConditionList{A, AND, B} << 2 << "Yes" << askCondition << ConditionList{A};
        QTest::newRow("logic row")
            << ConditionList{A, AND, B, OR, C} << 1 << "Yes" << askLogic << ConditionList{A, OR, C};
        QTest::newRow("only row") << ConditionList{A} << 0 << "Yes" << askCondition
                                  << ConditionList{};
        QTest::newRow("answer no")
            << ConditionList{A, AND, B} << 2 << "No" << askCondition << ConditionList{A, AND, B};
        QTest::newRow("closed without answer")
            << ConditionList{A, AND, B} << 1 << "" << askLogic << ConditionList{A, AND, B};
        QTest::newRow("nothing selected") << ConditionList{A, AND, B} << -1 << "OK"
                                          << "请选择一个逻辑表达式。" << ConditionList{A, AND, B};
    }
    void deleting() {
        QFETCH(ConditionList, rows);
        QFETCH(int, selected);
        QFETCH(QString, answer);
        const QByteArray button = answer.toLatin1();
        QFETCH(QString, question);
        QFETCH(ConditionList, remaining);
        open(rows);
        if (selected >= 0)
            clickRow(list(), selected);
        answerMessage(runner, seen, answer.isEmpty() ? nullptr : button.constData());
        clickMenuItem(openPopup(list(), menu()), action("mnuDeleteField"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, question);
        QCOMPARE(seen[0].caption, QString(selected >= 0 ? "询问" : "信息"));
        QCOMPARE(form->Conditions(), remaining);
    }

    void clearHelpRunAndExit() {
        open({cond("部门编码", "等于", "01")});
        QCOMPARE(form->SqlText(), QString());
        child<QAbstractButton>(form.get(), "btnRunLogic")->click(); // hidden: the program's
        QCOMPARE(form->SqlText(), QString("( a.f_Bmbm = '01' )"));

        answerMessage(runner, seen, "OK");
        clickButton(form.get(), "btnHelp");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QString("字段名称值的要求:\r\n帮助"));

        clickButton(form.get(), "btnClearLogic");
        QVERIFY(form->Conditions().isEmpty());
        QVERIFY(seen.size() == 1);

        clickButton(form.get(), "btnExit");
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QVERIFY(!form->isVisible());
    }

    void keys() {
        open({cond("部门编码", "等于", "01"), ConditionRow::logic("或者"),
              cond("单据号", "等于", "x'y")});
        // Alt+F2 shows the composed text in the input window; what happens there is ignored.
        QString shownTitle, shownText;
        runner.queueDialog([&](QDialog& dialog) {
            shownTitle = dialog.windowTitle();
            shownText = child<QLineEdit>(&dialog, "editText")->text();
            QCOMPARE(child<QLabel>(&dialog, "lblPrompt")->text(), QString("查询语句"));
            typeInto(child<QLineEdit>(&dialog, "editText"), "changed");
            QTest::keyClick(child<QLineEdit>(&dialog, "editText"), Qt::Key_Return);
        });
        QTest::keyClick(list(), Qt::Key_F2, Qt::AltModifier);
        QCOMPARE(shownTitle, QString("测试信息"));
        QCOMPARE(shownText, QString("( a.f_Bmbm = '01' ) OR ( a.f_Djh = 'x''y' )"));
        QVERIFY(form->isVisible());
        QCOMPARE(form->Conditions().size(), 3);

        // Releasing Up in the value edit selects the whole value.
        typeInto(value(), "abc");
        value()->deselect();
        QTest::keyClick(value(), Qt::Key_Up);
        QCOMPARE(value()->selectedText(), QString("abc"));

        // Another field empties the value.
        chooseItem(child<QComboBox>(form.get(), "cbxField"), "单据号");
        QCOMPARE(value()->text(), QString());

        // Escape anywhere cancels.
        QTest::keyClick(child<QWidget>(form.get(), "cbxFactor"), Qt::Key_Escape);
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QVERIFY(!form->isVisible());
    }

    void throughTheModalSeam() {
        // The grid's way: show through the seam, let the user work, read the result.
        open();
        form->hide();
        runner.queueDialog([this](QDialog&) {
            enter("供应商名称", "部分不等于", "食品");
            clickButton(form.get(), "btnOK");
        });
        QCOMPARE(ui::execDialog(*form), int(QDialog::Accepted));
        QCOMPARE(form->SqlText(), QString("( d.f_Csmc NOT LIKE '%食品%' )"));
        QCOMPARE(runner.dialogs().first(), QString("FrmQuerySet"));
    }

    void filterModeOutputs() {
        const ConditionList rows{cond("部门编码", "部分不等于", "01")};
        form = TFrmQuerySet::CreateForFilter(nullptr, "", "", "", &rows, true);
        form->setDataSet(&table);
        form->show();
        clickButton(form.get(), "btnOK");
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(form->SqlText(), QString("( a.f_Bmbm<>'temp@temp@temp' )"));
        QCOMPARE(form->NotLikeFilter(), QString("a.f_Bmbm LIKE '%01%'"));
        QCOMPARE(form->NotLikeField(), QString("a.f_Bmbm"));
    }
};

QTEST_MAIN(TestFrmQuerySet)
#include "TestFrmQuerySet.moc"
