#include "DialogDriver.h"
#include "ui/IniFixture.h"

#include "common/Error.h"
#include "conditions/ChoiceWindow.h"
#include "conditions/DialogColors.h"
#include "conditions/InputWindow.h"
#include "conditions/MessageWindow.h"
#include "conditions/TFrmQuerySet.h"
#include "ui/TColor.h"
#include "ui/modal/ModalRunner.h"
#include "ui/widgets/TFlatButton.h"

#include <QtTest>

using namespace kestrane;
using namespace kestrane::conditions;
using namespace kestrane::testing;
using kestrane::ui::TColor;

namespace {

int colorOf(const QObject* form, const char* name, const char* property = "color") {
    const QObject* o = form->findChild<QObject*>(QString::fromLatin1(name));
    return o ? o->property(property).toInt() : -1;
}

int h(const QWidget* w, int units) {
    return horizontalDialogUnits(w->font(), units);
}
int v(const QWidget* w, int units) {
    return verticalDialogUnits(w->font(), units);
}

} // namespace

class TestDialogColors : public QObject {
    Q_OBJECT
    ColorIni ini;
    ui::ScriptedModalRunner runner;

private Q_SLOTS:
    void init() {
        runner.clear();
        DialogColors::reset();
    }
    void cleanup() { ColorIni::remove(); }

    // What the colour scheme gives on the condition dialog.
    void conditionDialog_data() {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<int>("back"); // expected back colour, or -1: as designed
        QTest::addColumn<int>("line");
        QTest::newRow("no file: defaults") << QStringList() << 15528176 << 12349763;
        QTest::newRow("own colours")
            << QStringList{"backcolor=255", "linecolor=65280"} << 255 << 65280;
        QTest::newRow("style 0: as designed")
            << QStringList{"colorstyle=0", "backcolor=255"} << -1 << -1;
    }
    void conditionDialog() {
        QFETCH(QStringList, ini);
        QFETCH(int, back);
        QFETCH(int, line);
        this->ini.write(ini);
        const bool designed = back < 0;
        const int B = designed ? ui::kDesignYellow : back;
        const int L = designed ? ui::clGreen : line;
        auto form = TFrmQuerySet::CreateForFilter(nullptr, "", "", "", nullptr, false);
        QCOMPARE(form->property("color").toInt(), B);
        QCOMPARE(colorOf(form.get(), "gbxGoodsInfo"), ui::kDesignYellow); // kind not recoloured
        for (const char* label : {"lblField", "lblFactor", "lblValue"})
            QCOMPARE(colorOf(form.get(), label), B);
        for (const char* shape : {"zvxShapeList", "zvxShapevalue", "zvxShapeLine"})
            QCOMPARE(colorOf(form.get(), shape, "penColor"), L);
        for (const char* combo : {"cbxField", "cbxFactor"}) {
            QCOMPARE(colorOf(form.get(), combo), int(ui::clWhite));
            QCOMPARE(colorOf(form.get(), combo, "colorBorder"), L);
        }
        QCOMPARE(colorOf(form.get(), "lvwLogic"), designed ? int(ui::clWindow) : B);
        QCOMPARE(colorOf(form.get(), "memSQL"), designed ? int(ui::clWindow) : B);
        QCOMPARE(colorOf(form.get(), "editValue"), int(ui::clWindow));
        for (const char* button : {"btnAddLogic", "btnModifyOK", "btnClearLogic", "btnOK",
                                   "btnHelp", "btnExit", "btnRunLogic"}) {
            QCOMPARE(colorOf(form.get(), button), B);
            QCOMPARE(colorOf(form.get(), button, "colorBorder"), L);
            if (!designed) {
                QCOMPARE(colorOf(form.get(), button, "colorFocused"), int(ui::clWhite));
                QCOMPARE(colorOf(form.get(), button, "colorHighLight"), L);
            }
        }
        // The glyph button has no green border and keeps its border and focus colours.
        QCOMPARE(colorOf(form.get(), "btnModifyCancel"), B);
        QCOMPARE(colorOf(form.get(), "btnModifyCancel", "colorBorder"), int(ui::clBtnShadow));
    }

    void badSettingStopsTheDialog() {
        ini.write({"linecolor=blue"});
        QVERIFY_THROWS_EXCEPTION(Error,
                                 TFrmQuerySet::CreateForQuery(nullptr, "", "", "", nullptr, ""));
    }

    void messageWindowLayout_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("text");
        QTest::newRow("yes no cancel")
            << (MessageWindow::Yes | MessageWindow::No | MessageWindow::Cancel)
            << QStringList{"Yes", "No", "Cancel"} << QStringList{"是(&Y)", "不(&N)", "放弃(&C)"}
            << "短";
        QTest::newRow("all kinds in order")
            << 0x7FF << QStringList{"Yes",    "No",  "OK",      "Cancel",   "Abort", "Retry",
                                    "Ignore", "All", "NoToAll", "YesToAll", "Help"}
            << QStringList{"是(&Y)",  "不(&N)", "确认(&O)",   "放弃(&C)",    "&Abort", "&Retry",
                           "&Ignore", "&All",   "N&o to All", "Yes to &All", "&Help"}
            << "text";
        QTest::newRow("long text wraps")
            << int(MessageWindow::OK) << QStringList{"OK"} << QStringList{"确认(&O)"}
            << QString("很长的一段说明文字。").repeated(60);
    }
    void messageWindowLayout() {
        QFETCH(int, buttons);
        QFETCH(QStringList, names);
        QFETCH(QStringList, captions);
        QFETCH(QString, text);
        MessageWindow window(text, MessageWindow::Warning, buttons);
        QCOMPARE(window.windowTitle(), QString("警告"));
        QList<QAbstractButton*> shown = window.findChildren<QAbstractButton*>();
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        QStringList shownNames, shownCaptions;
        for (auto* b : shown) {
            shownNames << b->objectName();
            shownCaptions << b->text();
            QCOMPARE(b->width(), shown.first()->width());
            QVERIFY(b->width() >= h(&window, 50));
            QVERIFY(b->width() >=
                    b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width() + 8);
            QCOMPARE(b->height(), v(&window, 14));
            QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(shownNames, names);
        QCOMPARE(shownCaptions, captions);
        // The button row is centred; the text stays within half the screen width.
        const int left = shown.first()->x();
        const int right = window.width() - shown.last()->geometry().right() - 1;
        QVERIFY(qAbs(left - right) <= 1);
        auto* label = window.findChild<QLabel*>("Message");
        QVERIFY(label->width() <= QApplication::primaryScreen()->geometry().width() / 2);
        QCOMPARE(label->x(), h(&window, 8) + 32 + h(&window, 10));
        QCOMPARE(shown.first()->y(), qMax(32, label->height()) + v(&window, 8) + v(&window, 10));
    }

    void messageResults_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("yes") << "Yes" << 6;
        QTest::newRow("no") << "No" << 7;
        QTest::newRow("ok") << "OK" << 1;
        QTest::newRow("cancel") << "Cancel" << 2;
        QTest::newRow("escape") << "" << 2;
    }
    void messageResults() {
        QFETCH(QString, button);
        QFETCH(int, result);
        ui::ScopedModalRunner scope(runner);
        runner.queueDialog([button](QDialog& d) {
            if (button.isEmpty())
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                clickButton(&d, button.toLatin1().constData());
        });
        QCOMPARE(MessageWindow::ask(nullptr, "?", MessageWindow::Confirmation,
                                    MessageWindow::Yes | MessageWindow::No | MessageWindow::OK |
                                        MessageWindow::Cancel),
                 result);
    }

    void smallWindowColours_data() {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<int>("messageBack");
        QTest::addColumn<int>("choiceLine");
        QTest::addColumn<int>("choiceBack");
        QTest::addColumn<int>("inputLine");
        // Without a file: a message window takes the default back colour; the choice and
        // input windows stay with the start values (their switches default to "0").
        QTest::newRow("no file") << QStringList() << 15528176 << int(ui::clGreen)
                                 << int(ui::kDesignYellow) << int(ui::clGreen);
        QTest::newRow("choice switch") << QStringList{"style=1", "linecolor=255", "backcolor=65280"}
                                       << 65280 << 255 << 65280 << int(ui::clGreen);
        QTest::newRow("input switch")
            << QStringList{"colorstyle=1", "linecolor=255", "backcolor=65280"} << 65280
            << int(ui::clGreen) << int(ui::kDesignYellow) << 255;
    }
    void smallWindowColours() {
        QFETCH(QStringList, ini);
        QFETCH(int, messageBack);
        QFETCH(int, choiceLine);
        QFETCH(int, choiceBack);
        QFETCH(int, inputLine);
        this->ini.write(ini);
        {
            MessageWindow message("m", MessageWindow::Information, MessageWindow::OK);
            QCOMPARE(message.palette().color(QPalette::Window), ui::toQColor(messageBack));
            QCOMPARE(child<ui::TFlatButton>(&message, "OK")->colorBorder(), int(ui::clGreen));
        }
        DialogColors::reset();
        {
            ChoiceWindow choice("t", "p", {"a", "b"});
            QCOMPARE(choice.palette().color(QPalette::Window), ui::toQColor(choiceBack));
            QCOMPARE(child<ui::TFlatButton>(&choice, "btnOK")->colorBorder(), choiceLine);
            QCOMPARE(child<QComboBox>(&choice, "cbxItems")->property("colorBorder").toInt(),
                     choiceLine);
        }
        DialogColors::reset();
        {
            InputWindow input("t", "p", "x");
            QCOMPARE(child<ui::TFlatButton>(&input, "btnCancel")->colorBorder(), inputLine);
        }
    }

    void promptLayout() {
        ChoiceWindow choice("选择框", "请选择一个逻辑关系：", {"并且", "或者"});
        QCOMPARE(choice.font().family(), QString("宋体"));
        QCOMPARE(choice.size(), QSize(h(&choice, 180), v(&choice, 63)));
        QCOMPARE(child<QWidget>(&choice, "lblPrompt")->pos(), QPoint(h(&choice, 8), v(&choice, 8)));
        auto* list = child<QComboBox>(&choice, "cbxItems");
        QCOMPARE(list->pos(), QPoint(h(&choice, 8), v(&choice, 19)));
        QCOMPARE(list->width(), h(&choice, 164));
        QCOMPARE(list->currentText(), QString("并且"));
        QCOMPARE(child<QWidget>(&choice, "btnOK")->geometry(),
                 QRect(h(&choice, 38), v(&choice, 41), h(&choice, 50), v(&choice, 14)));
        QCOMPARE(child<QWidget>(&choice, "btnCancel")->geometry(),
                 QRect(h(&choice, 92), v(&choice, 41), h(&choice, 50), v(&choice, 14)));

        InputWindow input("测试信息", "查询语句", QString(300, u'x'));
        auto* edit = child<QLineEdit>(&input, "editText");
        QCOMPARE(edit->maxLength(), 255);
        QCOMPARE(edit->text().size(), 255);
        QCOMPARE(edit->selectedText(), edit->text());
    }

    void choiceAndInputAnswers() {
        ui::ScopedModalRunner scope(runner);
        QString answer = "old";
        runner.queueDialog([](QDialog& d) { clickButton(&d, "btnCancel"); });
        QVERIFY(!ChoiceWindow::ask(nullptr, "t", "p", {"a", "b"}, answer));
        QCOMPARE(answer, QString());
        runner.queueDialog([](QDialog& d) {
            chooseItem(child<QComboBox>(&d, "cbxItems"), "b");
            clickButton(&d, "btnOK");
        });
        QVERIFY(ChoiceWindow::ask(nullptr, "t", "p", {"a", "b"}, answer));
        QCOMPARE(answer, QString("b"));

        QString text = "abc";
        runner.queueDialog([](QDialog& d) {
            auto* edit = child<QLineEdit>(&d, "editText");
            QTest::keyClick(edit, Qt::Key_End);
            QTest::keyClicks(edit, "d");
            QTest::keyClick(edit, Qt::Key_Escape);
        });
        QVERIFY(!InputWindow::ask(nullptr, "t", "p", text));
        QCOMPARE(text, QString("abc"));
        runner.queueDialog([](QDialog& d) {
            auto* edit = child<QLineEdit>(&d, "editText");
            QTest::keyClick(edit, Qt::Key_End);
            QTest::keyClicks(edit, "d");
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QVERIFY(InputWindow::ask(nullptr, "t", "p", text));
        QCOMPARE(text, QString("abcd"));
    }

    void badSettingInsideTheDialogIsShown() {
        // The dialog is built with good settings; the file goes bad before a message window.
        ui::ScopedModalRunner scope(runner);
        auto form = TFrmQuerySet::CreateForQuery(nullptr, "", "", "", nullptr, "");
        form->show();
        ini.write({"backcolor=oops"});
        clickButton(form.get(), "btnAddLogic"); // empty value: the warning window fails
        QCOMPARE(runner.messages().size(), 1);
        QCOMPARE(runner.messages().first().caption, QString("错误"));
        QVERIFY(runner.messages().first().text.contains("oops"));
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestDialogColors)
#include "TestDialogColors.moc"
