// Renders the condition dialog, the relation choice window and the shortcut-help popup to PNG
// files, for looking at them. The folder is $KESTRANE_SCREENSHOT_DIR, else
// <build>/screenshots/conditions.
#include "DialogDriver.h"

#include "conditions/ChoiceWindow.h"
#include "conditions/DialogColors.h"
#include "conditions/TFrmQuerySet.h"
#include "data/MemTable.h"
#include "ui/TFrmHint.h"
#include "ui/TRopInst.h"

#include <QDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::conditions;

class TestScreenshots : public QObject {
    Q_OBJECT
    QDir folder;

    void save(QWidget& widget, const char* name) {
        widget.show();
        QCoreApplication::processEvents();
        const QImage image = widget.grab().toImage();
        QVERIFY(!image.isNull());
        // A picture of one colour would mean nothing was drawn.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 3);
        QVERIFY(image.save(folder.filePath(QString::fromLatin1(name))));
    }

private Q_SLOTS:
    void initTestCase() {
        QString path = qEnvironmentVariable("KESTRANE_SCREENSHOT_DIR");
        if (path.isEmpty())
            path = qEnvironmentVariable("KESTRANE_BUILD_DIR", QDir::tempPath()) +
                   QStringLiteral("/screenshots/conditions");
        QVERIFY(QDir().mkpath(path));
        folder = QDir(path);
    }

    void conditionDialog() {
        MemTable table;
        FieldDef a, b, c;
        a.name = "a.f_Bmbm";
        a.displayLabel = "部门编码";
        b.name = "d.f_Csmc";
        b.displayLabel = "供应商名称";
        c.name = "a.f_Rzrq";
        c.displayLabel = "入账日期";
        table.setFieldDefs({a, b, c});
        const ConditionList rows{
            ConditionRow::condition("部门编码", "等于", "0101"), ConditionRow::logic("并且"),
            ConditionRow::condition("供应商名称", "部分等于", "食品"), ConditionRow::logic("或者"),
            ConditionRow::condition("入账日期", "等于", "20050101|20050131")};
        auto form = TFrmQuerySet::CreateForQuery(nullptr, "", "", "", &rows, "");
        form->setDataSet(&table);
        form->show();
        testing::chooseItem(testing::child<QComboBox>(form.get(), "cbxField"), "供应商名称");
        testing::chooseItem(testing::child<QComboBox>(form.get(), "cbxFactor"), "部分等于");
        testing::typeInto(testing::child<QLineEdit>(form.get(), "editValue"), "食品");
        testing::clickRow(testing::child<QTreeWidget>(form.get(), "lvwLogic"), 2);
        save(*form, "condition-dialog.png");
    }

    void choiceWindow() {
        DialogColors::reset();
        ChoiceWindow choice("选择框", "请选择一个逻辑关系：", {"并且", "或者"});
        save(choice, "choice-window.png");
    }

    void popup() {
        // Something on the screen beneath, so that the shadow has a picture to darken.
        QWidget backdrop(nullptr, Qt::FramelessWindowHint);
        backdrop.setGeometry(0, 0, 240, 160);
        QPalette p = backdrop.palette();
        p.setColor(QPalette::Window, QColor(220, 235, 250));
        backdrop.setPalette(p);
        backdrop.setAutoFillBackground(true);
        backdrop.show();
        QCoreApplication::processEvents();
        ui::TRopInst popup;
        popup.setFont(QFont("宋体", 9));
        popup.setBrush(QColor(255, 255, 225));
        popup.setLines({"F1      助  手", "F2      查  询", "F3      过  滤", "Ctrl+V  预  览",
                        "Ctrl+P  打  印", "Esc     退  出"});
        popup.setPosition(20, 20);
        popup.PreparePopup();
        save(popup, "shortcut-popup.png");
    }

    void waitHint() {
        ui::TFrmHint hint;
        save(hint, "wait-hint.png");
    }
};

QTEST_MAIN(TestScreenshots)
#include "TestScreenshots.moc"
