#include "IniFixture.h"

#include "common/Error.h"
#include "kestrane/WindowMessage.h"
#include "ui/ColorScheme.h"
#include "ui/ComponentKind.h"
#include "ui/RemoveCaptionBar.h"
#include "ui/TColor.h"
#include "ui/widgets/TFlatButton.h"
#include "ui/widgets/TLabel.h"

#include <QDialog>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::ui;
using kestrane::testing::ColorIni;

namespace {

// Scheme colours that no design uses, so every assignment is visible.
const QStringList kScheme{"colorstyle=1", "backcolor=1001", "linecolor=2002", "titlecolor=3003",
                          "menucolor=4004"};
constexpr int B = 1001, L = 2002, T = 3003, M = 4004;
constexpr int Y = kDesignYellow, G = clGreen, W = clWhite;

// "name=value" pairs as dynamic colour properties.
void setProperties(QObject* o, const QStringList& props) {
    for (const QString& p : props) {
        const qsizetype eq = p.indexOf(u'=');
        o->setProperty(p.left(eq).toLatin1().constData(), p.mid(eq + 1).toInt());
    }
}

QStringList numbers(std::initializer_list<std::pair<const char*, int>> pairs) {
    QStringList list;
    for (const auto& [name, value] : pairs)
        list << QStringLiteral("%1=%2").arg(name).arg(value);
    return list;
}

// A form that records the window messages it receives.
class RecordingForm : public QWidget {
public:
    QList<QPair<int, int>> messages;
    bool event(QEvent* e) override {
        if (e->type() == WindowMessage::kType) {
            auto* m = static_cast<WindowMessage*>(e);
            messages.append({m->message(), m->wParam()});
            return true;
        }
        return QWidget::event(e);
    }
};

} // namespace

class TestColorScheme : public QObject {
    Q_OBJECT
    ColorIni ini;

private Q_SLOTS:
    void cleanup() { ColorIni::remove(); }

    void defaultsWithoutFile() {
        const ColorSettings s = ReadColorSettings();
        QCOMPARE(s.style, 1);
        QCOMPARE(s.back, 15528176);
        QCOMPARE(s.line, 12349763);
        QCOMPARE(s.title, 12349763);
        QCOMPARE(s.menu, 65535);
    }

    void notANumberRaises_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("back") << "backcolor=blue";
        QTest::newRow("style") << "colorstyle=";
        QTest::newRow("menu beyond 32 bits") << "menucolor=99999999999";
    }
    void notANumberRaises() {
        QFETCH(QString, entry);
        ini.write({entry});
        QVERIFY_THROWS_EXCEPTION(Error, ReadColorSettings());
        QVERIFY_THROWS_EXCEPTION(Error, ApplyColorScheme(nullptr));
        QWidget form;
        auto* label = new TLabel("x", &form);
        label->setColor(Y);
        QVERIFY_THROWS_EXCEPTION(Error, ApplyColorScheme(&form));
        QCOMPARE(label->color(), Y); // nothing recoloured
    }

    void styleZeroLeavesDesign() {
        ini.write({"colorstyle=0", "backcolor=1001"});
        QWidget form;
        auto* button = new TFlatButton("b", &form);
        button->setColor(Y);
        button->setColorBorder(G);
        ApplyColorScheme(&form);
        QCOMPARE(button->color(), Y);
        QCOMPARE(button->colorBorder(), G);
        QVERIFY(!form.property("color").isValid());
    }

    void rules_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("shape with prefix")
            << "TShape"
            << "zvxShapeList" << numbers({{"penColor", G}}) << numbers({{"penColor", L}});
        QTest::newRow("shape without prefix")
            << "TShape"
            << "shpOther" << numbers({{"penColor", G}}) << numbers({{"penColor", G}});
        QTest::newRow("column grid fixed not green") << "TAdvColumnGrid"
                                                     << "g" << numbers({{"fixedColor", Y}})
                                                     << numbers({{"bigCellColor", L},
                                                                 {"gridLineColor", L},
                                                                 {"color", B},
                                                                 {"columnsColor", B},
                                                                 {"fixedColor", B},
                                                                 {"fixedFontColor", 0},
                                                                 {"floatingFooterColor", M}});
        QTest::newRow("column grid fixed green")
            << "TAdvColumnGrid"
            << "g" << numbers({{"fixedColor", G}})
            << numbers({{"fixedColor", L}, {"floatingFooterColor", M}});
        QTest::newRow("db grid eh") << "TAdvDBGridEh"
                                    << "g" << QStringList()
                                    << numbers({{"color", B},
                                                {"fixedColor", L},
                                                {"columnsColor", B},
                                                {"columnsTitleColor", L}});
        QTest::newRow("panel main")
            << "TPanel"
            << "PanelMain" << numbers({{"color", clBtnFace}}) << numbers({{"color", B}});
        QTest::newRow("panel button face")
            << "TPanel"
            << "p" << numbers({{"color", clBtnFace}}) << numbers({{"color", clBtnFace}});
        QTest::newRow("panel green") << "TPanel"
                                     << "p" << numbers({{"color", G}}) << numbers({{"color", L}});
        QTest::newRow("panel yellow") << "TPanel"
                                      << "p" << numbers({{"color", Y}}) << numbers({{"color", B}});
        QTest::newRow("panel info")
            << "TPanel"
            << "p" << numbers({{"color", clInfoBk}}) << numbers({{"color", B}});
        QTest::newRow("panel other")
            << "TPanel"
            << "p" << numbers({{"color", 5}}) << numbers({{"color", 15528176}});
        QTest::newRow("flat panel face")
            << "TFlatPanel"
            << "p" << numbers({{"color", clBtnFace}}) << numbers({{"color", kSchemeGrey}});
        QTest::newRow("flat panel other")
            << "TFlatPanel"
            << "p" << numbers({{"color", 5}, {"indexedColor0", 5}})
            << numbers({{"color", B}, {"indexedColor0", L}, {"indexedColor1", L}});
        QTest::newRow("flat panel green")
            << "TFlatPanel"
            << "p" << numbers({{"color", G}, {"indexedColor0", G}, {"indexedColor1", 5}})
            << numbers({{"color", L}, {"indexedColor0", L}, {"indexedColor1", 5}});
        QTest::newRow("edit yellow") << "TEdit"
                                     << "e" << numbers({{"color", Y}}) << numbers({{"color", B}});
        QTest::newRow("edit white") << "TEdit"
                                    << "e" << numbers({{"color", W}}) << numbers({{"color", W}});
        QTest::newRow("flat edit yellow")
            << "TFlatEdit"
            << "e" << numbers({{"colorFlat", Y}, {"colorFocused", Y}, {"colorBorder", clInfoBk}})
            << numbers({{"colorFlat", B}, {"colorFocused", B}, {"colorBorder", B}});
        QTest::newRow("flat edit green border")
            << "TFlatEdit"
            << "e" << numbers({{"colorFlat", 5}, {"colorFocused", 5}, {"colorBorder", G}})
            << numbers({{"colorFlat", W}, {"colorFocused", W}, {"colorBorder", L}});
        QTest::newRow("flat edit other")
            << "TFlatEdit"
            << "e" << numbers({{"colorFlat", 5}, {"colorBorder", 6}})
            << numbers({{"colorFlat", 5}, {"colorFocused", W}, {"colorBorder", L}});
        QTest::newRow("flat combo yellow") << "TFlatComboBox"
                                           << "c" << numbers({{"color", Y}, {"colorBorder", G}})
                                           << numbers({{"color", B}, {"colorBorder", L}});
        QTest::newRow("flat combo other") << "TFlatComboBox"
                                          << "c" << numbers({{"color", 5}, {"colorBorder", 6}})
                                          << numbers({{"color", W}, {"colorBorder", 6}});
        QTest::newRow("label green") << "TLabel"
                                     << "l" << numbers({{"color", G}, {"fontColor", G}})
                                     << numbers({{"color", L}, {"fontColor", T}});
        QTest::newRow("label button face keeps, green text")
            << "TLabel"
            << "l" << numbers({{"color", clBtnFace}, {"fontColor", G}})
            << numbers({{"color", clBtnFace}, {"fontColor", T}});
        QTest::newRow("label grey keeps")
            << "TLabel"
            << "l" << numbers({{"color", kSchemeGrey}}) << numbers({{"color", kSchemeGrey}});
        QTest::newRow("label other") << "TLabel"
                                     << "l" << numbers({{"color", Y}, {"fontColor", 0}})
                                     << numbers({{"color", B}, {"fontColor", 0}});
        QTest::newRow("date picker green border")
            << "TFlatDateTimePicker"
            << "d" << numbers({{"color", Y}, {"colorBorder", G}})
            << numbers({{"color", W}, {"colorBorder", L}, {"calTitleBackColor", L}});
        QTest::newRow("date picker yellow") << "TFlatDateTimePicker"
                                            << "d" << numbers({{"color", Y}, {"colorBorder", Y}})
                                            << numbers({{"color", B}, {"colorBorder", B}});
        QTest::newRow("flat button green border")
            << "TFlatButton"
            << "b" << numbers({{"color", Y}, {"colorBorder", G}, {"colorFocused", 5}})
            << numbers(
                   {{"color", B}, {"colorBorder", L}, {"colorFocused", W}, {"colorHighLight", L}});
        QTest::newRow("flat button other border")
            << "TFlatButton"
            << "b" << numbers({{"colorBorder", 6}, {"colorFocused", 5}})
            << numbers({{"color", B}, {"colorBorder", 6}, {"colorFocused", 5}});
        QTest::newRow("toolbar") << "TToolBar"
                                 << "t" << numbers({{"color", 5}})
                                 << numbers({{"color", clBtnFace}});
        QTest::newRow("splitter") << "TFlatSplitter"
                                  << "s" << QStringList()
                                  << numbers({{"color", L}, {"indexedColor1", L}});
        QTest::newRow("flat memo")
            << "TFlatMemo"
            << "m" << QStringList()
            << numbers({{"colorFlat", B}, {"colorFocused", B}, {"colorBorder", L}});
        QTest::newRow("check box") << "TFlatCheckBox"
                                   << "c" << QStringList() << numbers({{"indexedColor3", L}});
        QTest::newRow("flat list box")
            << "TFlatListBox"
            << "l" << QStringList() << numbers({{"color", B}, {"indexedColor2", B}});
        QTest::newRow("tree") << "TTreeNT"
                              << "t" << QStringList()
                              << numbers({{"color", B}, {"indexedColor0", 16244694}});
        QTest::newRow("group box not in the table")
            << "TGroupBox"
            << "g" << numbers({{"color", Y}}) << numbers({{"color", Y}});
        QTest::newRow("progress bar not recoloured")
            << "TFlatProgressBar"
            << "p" << numbers({{"indexedColor1", 5}}) << numbers({{"indexedColor1", 5}});
    }
    void rules() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        ini.write(kScheme);
        RecordingForm form;
        auto* component = new QObject(&form);
        component->setObjectName(name);
        setComponentKind(component, kind.toLatin1().constData());
        setProperties(component, before);
        ApplyColorScheme(&form);
        QCOMPARE(form.property("color").toInt(), B);
        QCOMPARE(form.palette().color(QPalette::Window), toQColor(B));
        for (const QString& expected : after) {
            const qsizetype eq = expected.indexOf(u'=');
            QCOMPARE(
                QStringLiteral("%1=%2")
                    .arg(expected.left(eq))
                    .arg(component->property(expected.left(eq).toLatin1().constData()).toInt()),
                expected);
        }
    }

    void treeOnCorporateFrame() {
        ini.write(kScheme);
        RecordingForm form;
        form.setObjectName("FrmCorpoFrame");
        auto* tree = new QObject(&form);
        setComponentKind(tree, "TTreeNT");
        ApplyColorScheme(&form);
        QCOMPARE(form.messages, (QList<QPair<int, int>>{{1030, 0}, {1030, 1}}));
        RecordingForm other;
        setComponentKind(new QObject(&other), "TTreeNT");
        ApplyColorScheme(&other);
        QVERIFY(other.messages.isEmpty());
    }

    void captionBar_data() {
        QTest::addColumn<QString>("borderStyle"); // empty: not set
        QTest::addColumn<bool>("frameless");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("undeclared is sizeable") << "" << false << true << "thin";
        QTest::newRow("single") << "bsSingle" << false << true << "thin";
        QTest::newRow("dialog") << "bsDialog" << false << true << "dialog";
        QTest::newRow("tool window") << "bsToolWindow" << false << true << "tool";
        QTest::newRow("no border") << "bsNone" << false << false << "";
        QTest::newRow("already without caption") << "bsSingle" << true << false << "";
    }
    void captionBar() {
        QFETCH(QString, borderStyle);
        QFETCH(bool, frameless);
        QFETCH(bool, changed);
        QFETCH(QString, kept);
        QDialog form;
        if (!borderStyle.isEmpty())
            form.setProperty(kBorderStyleProperty, borderStyle);
        if (frameless)
            form.setWindowFlags(form.windowFlags() | Qt::FramelessWindowHint);
        form.resize(332, 87);
        QCOMPARE(RemoveCaptionBar(&form), changed);
        QCOMPARE(bool(form.windowFlags() & Qt::FramelessWindowHint), changed || frameless);
        QCOMPARE(form.property(kKeptFrameProperty).toString(), kept);
        QCOMPARE(form.size(), QSize(332, 87)); // the client area stays as designed
        QVERIFY(!RemoveCaptionBar(&form));     // a second call finds no caption
    }
};

QTEST_MAIN(TestColorScheme)
#include "TestColorScheme.moc"
