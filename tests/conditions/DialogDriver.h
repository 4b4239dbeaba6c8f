#pragma once
// Drives the condition dialog and its small windows through real key and mouse events.
#include "ui/modal/ScriptedModalRunner.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

namespace kestrane::testing {

template <typename T = QWidget> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child named %s", name);
    return found;
}

inline void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

inline void clickButton(const QObject* parent, const char* name) {
    click(child<QAbstractButton>(parent, name));
}

// Selects an item of a drop-down list with the keyboard: Home, then Down.
inline void chooseItem(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    if (combo->currentIndex() != 0) // Home from no selection may not move
        QTest::keyClick(combo, Qt::Key_Down);
    for (int i = combo->currentIndex(); i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), index);
}

inline void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Chinese text arrives as key events carrying the text (as an input method commits it).
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline void clickRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Opens the list's popup menu as a right click would and returns it.
inline QMenu* openPopup(QTreeWidget* list, QMenu* menu) {
    const QPoint pos(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(list->viewport(), &event);
    return menu;
}

inline void clickMenuItem(QMenu* menu, QAction* action) {
    QVERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

// The text and buttons of a message window, recorded by its handler.
struct SeenMessage {
    QString caption;
    QString text;
    QStringList buttons;
};

// Answers the next message window by clicking the named button (or nothing: the window
// closes without an answer) and records what it showed.
inline void answerMessage(ui::ScriptedModalRunner& runner, QList<SeenMessage>& seen,
                          const char* button = nullptr) {
    runner.queueDialog([&seen, button](QDialog& dialog) {
        SeenMessage message;
        message.caption = dialog.windowTitle();
        if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("Message")))
            message.text = label->text();
        for (auto* b : dialog.findChildren<QAbstractButton*>())
            message.buttons << b->objectName();
        seen.append(message);
        if (button)
            clickButton(&dialog, button);
    });
}

// Answers the next choice window with `item` (or leaves it with Escape when empty) and
// records the offered items.
inline void answerChoice(ui::ScriptedModalRunner& runner, QStringList& offered,
                         const QString& item) {
    runner.queueDialog([&offered, item](QDialog& dialog) {
        auto* list = child<QComboBox>(&dialog, "cbxItems");
        offered.clear();
        for (int i = 0; i < list->count(); ++i)
            offered << list->itemText(i);
        if (item.isEmpty()) {
            QTest::keyClick(list, Qt::Key_Escape);
            return;
        }
        chooseItem(list, item);
        QTest::keyClick(list, Qt::Key_Return);
    });
}

} // namespace kestrane::testing
