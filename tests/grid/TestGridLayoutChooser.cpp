#include "common/Gbk.h"
#include "common/IniProfile.h"
#include "grid/TAdvDBGridEh.h"
#include "grid/TFrmChooseDBFields.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"
#include "ui/widgets/TFlatButton.h"
#include "ui/widgets/TShape.h"

#include <QListWidget>
#include <QScopeGuard>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::grid;

namespace {

void addColumns(TAdvDBGridEh& grid) {
    grid.addColumn("f_Bmbm", "部门编码", 70);
    grid.addColumn("f_Bmmc", "部门名称", 90);
    grid.addColumn("f_Gjje", "购进金额", 80);
}

} // namespace

class TestGridLayoutChooser : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u'/'; }

private Q_SLOTS:
    void noFileShowsEverythingAtDesignWidths() {
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(1)->setVisible(false);
        grid.LoadColumnLayout("none.ini", "FrmKestrane0", folder());
        QVERIFY(grid.column(1)->Visible());
        QCOMPARE(grid.column(1)->Width(), 90);
    }

    void entries_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("width");
        QTest::newRow("hidden, width 120") << "0,120" << 0 << false << 120;
        QTest::newRow("width not a number") << "1,abc" << 0 << true << 90;
        QTest::newRow("width 0 keeps") << "1,0" << 0 << true << 90;
        QTest::newRow("no comma") << "1" << 0 << false << 1;
        QTest::newRow("hex width") << "1,$40" << 0 << true << 64;
        QTest::newRow("width with leading space") << "1, 50" << 0 << true << 50;
        QTest::newRow("negative width ignored") << "1,-5" << 0 << true << 90;
        QTest::newRow("tag 1 always hidden") << "1,150" << 1 << false << 150;
        QTest::newRow("tag 2 follows the entry") << "1,150" << 2 << true << 150;
    }
    void entries() {
        QFETCH(QString, entry);
        QFETCH(int, tag);
        QFETCH(bool, visible);
        QFETCH(int, width);
        QFile file(folder() + "layout.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(gbk::encode(QString(u"[FrmKestrane2]\r\nf_Bmmc=" + entry + u"\r\n")));
        file.close();
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(1)->Tag = tag;
        grid.LoadColumnLayout("layout.ini", "FrmKestrane2", folder());
        QCOMPARE(grid.column(1)->Visible(), visible);
        QCOMPARE(grid.column(1)->Width(), width);
    }

    void saveWritesEveryColumnInOrder() {
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(0)->setWidth(55);
        grid.column(2)->setVisible(false);
        grid.SaveColumnLayout("save.ini", "FrmKestrane5", m_dir.path()); // no trailing separator
        QFile file(folder() + "save.ini");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(file.readAll()),
                 QString("[FrmKestrane5]\r\nf_Bmbm=1,55\r\nf_Bmmc=1,90\r\nf_Gjje=0,80\r\n"));

        // And it comes back on another grid.
        TAdvDBGridEh again;
        addColumns(again);
        again.LoadColumnLayout("save.ini", "FrmKestrane5", folder());
        QCOMPARE(again.column(0)->Width(), 55);
        QVERIFY(!again.column(2)->Visible());
        QCOMPARE(again.column(2)->Width(), 80);
    }

    void emptyDirectoryMeansBesideTheExecutable() {
        const QString name =
            QStringLiteral("test_grid_%1.ini").arg(QCoreApplication::applicationPid());
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.SaveColumnLayout(name, "S", "");
        QCOMPARE(ReadIniValue(name, "S", "f_Bmmc", "", ""), QString("1,90"));
        QVERIFY(QFile::remove(QCoreApplication::applicationDirPath() + u'/' + name));
    }

    void chooserKeepsMoreThanTheFrozenColumns() {
        TAdvDBGridEh grid;
        addColumns(grid);
        grid.column(2)->Tag = 2; // not offered
        grid.setFrozenCols(1);
        ui::ScriptedModalRunner runner;
        ui::ScopedModalRunner scope(runner);
        runner.queueDialog([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>("ltvChoose");
            QCOMPARE(list->count(), 2);
            QCOMPARE(list->item(1)->text(), QString("部门名称"));
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnno"), Qt::LeftButton);
            list->item(0)->setCheckState(Qt::Checked);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnok"), Qt::LeftButton);
            QVERIFY(dialog.isVisible());           // one column is not more than one frozen column
            QTest::keyClick(list, Qt::Key_Escape); // Escape inside the list does not close
            QVERIFY(dialog.isVisible());
            list->item(1)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnAll"), Qt::LeftButton);
            list->item(0)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnok"), Qt::LeftButton);
            QVERIFY(dialog.isVisible()); // still one
        });
        grid.ChooseColumns();
        QCOMPARE(runner.messages().size(), 2);
        QCOMPARE(runner.messages()[0].text, QString("所选列数必须大于固定列数!"));
        QCOMPARE(runner.messages()[0].caption, QString("警告"));
        QCOMPARE(runner.messages()[0].flags, ui::MbOk | ui::MbIconWarning);
        QVERIFY(grid.column(0)->Visible() && grid.column(1)->Visible()); // nothing changed

        grid.setFrozenCols(0); // after a query: one column suffices
        runner.clear();
        runner.queueDialog([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>("ltvChoose");
            list->item(0)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnok"), Qt::LeftButton);
        });
        grid.ChooseColumns();
        QVERIFY(runner.messages().isEmpty());
        QVERIFY(!grid.column(0)->Visible());
        QVERIFY(grid.column(1)->Visible());
        QVERIFY(grid.column(2)->Visible()); // not offered, untouched

        runner.queueDialog([](QDialog& dialog) {
            dialog.findChild<QListWidget*>("ltvChoose")->item(1)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>("btncancel"), Qt::LeftButton);
        });
        grid.ChooseColumns();
        QVERIFY(grid.column(1)->Visible());
    }

    void chooserColours_data() {
        QTest::addColumn<QString>("ini"); // [ColorOption] lines, empty for no file
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("line");
        QTest::newRow("defaults") << "" << 15528176 << 12349763;
        QTest::newRow("user colours") << "backcolor=255\r\nlinecolor=65280\r\n" << 255 << 65280;
        QTest::newRow("style 0 keeps the design") << "colorstyle=0\r\nbackcolor=255\r\n"
                                                  << int(ui::kDesignYellow) << int(ui::clGreen);
    }
    void chooserColours() {
        QFETCH(QString, ini);
        QFETCH(int, back);
        QFETCH(int, line);
        const QString path = IniFilePath(kUserIniFile, QString());
        QFile::remove(path);
        if (!ini.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(gbk::encode(QString(u"[ColorOption]\r\n" + ini)));
        }
        auto cleanUp = qScopeGuard([&] { QFile::remove(path); });
        TAdvDBGridEh grid;
        addColumns(grid);
        TFrmChooseDBFields chooser(&grid, &grid);
        QCOMPARE(chooser.ltvChoose->color(), back);
        QCOMPARE(chooser.btnok->color(), back);
        QCOMPARE(chooser.btnok->colorBorder(), line);
        QCOMPARE(chooser.zvxShape->penColor(), line);
    }
};

QTEST_MAIN(TestGridLayoutChooser)
#include "TestGridLayoutChooser.moc"
