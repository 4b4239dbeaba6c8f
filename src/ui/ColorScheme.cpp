#include "ui/ColorScheme.h"

#include "common/Error.h"
#include "common/IniProfile.h"
#include "common/TextRoutines.h"
#include "kestrane/WindowMessage.h"
#include "ui/ComponentKind.h"

#include <QCoreApplication>
#include <QHash>
#include <QWidget>
#include <functional>
#include <limits>

namespace kestrane::ui {

namespace {

const QString kSection = QStringLiteral("ColorOption");
constexpr TColor kFixedPanelGrey = 15528176;
constexpr TColor kTreeSelection = 16244694; // 0xF7DFD6
constexpr int kMsgTreeRecolour = 1030;      // WM_USER + 6

int readSetting(const char* key, const char* defaultValue) {
    return SettingToInt(ReadIniValue(kUserIniFile, kSection, QString::fromLatin1(key),
                                     QString::fromLatin1(defaultValue)));
}

// ---- colour properties ---------------------------------------------------------------

bool hasColor(const QObject* o, const char* name) {
    return o->property(name).isValid();
}

// The property's colour; kinds that do not have it compare unequal to everything.
TColor colorOf(const QObject* o, const char* name) {
    const QVariant v = o->property(name);
    return v.isValid() ? TColor(v.toInt()) : TColor(0x7F7F7F7F);
}

bool is(const QObject* o, const char* name, TColor value) {
    return hasColor(o, name) && colorOf(o, name) == value;
}

void set(QObject* o, const char* name, TColor value) {
    o->setProperty(name, value);
}

// The form itself may be a plain widget: then its window colour is its background.
void setFormColor(QWidget* form, TColor value) {
    if (form->metaObject()->indexOfProperty("color") >= 0) {
        form->setProperty("color", value);
        return;
    }
    form->setProperty("color", value);
    QPalette p = form->palette();
    p.setColor(QPalette::Window, toQColor(value));
    form->setPalette(p);
    form->setAutoFillBackground(true);
}

QString upperName(const QObject* o) {
    return o->objectName().toUpper();
}

using Rule = std::function<void(QObject*, const ColorSettings&, QWidget* form)>;

// The rules by kind name. Each tests the kind name exactly.
const QHash<QString, Rule>& rules() {
    static const QHash<QString, Rule> table = {
        {"TSHAPE",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (upperName(o).left(8) != QLatin1String("ZVXSHAPE"))
                 return;
             try {
                 set(o, "penColor", s.line);
             } catch (...) {
                 // A shape that cannot take the colour keeps its own.
             }
         }},
        {"TADVCOLUMNGRID",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "bigCellColor", s.line);
             set(o, "gridLineColor", s.line);
             set(o, "color", s.back);
             set(o, "columnsColor", s.back);
             if (!is(o, "fixedColor", clGreen)) {
                 set(o, "fixedColor", s.back);
                 set(o, "fixedFontColor", clBlack);
             } else {
                 set(o, "fixedColor", s.line);
             }
             set(o, "floatingFooterColor", s.menu);
             if (auto* w = qobject_cast<QWidget*>(o))
                 w->update();
         }},
        {"TADVSTRINGGRID",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "indexedColor0", s.line);
             set(o, "indexedColor1", s.line);
         }},
        {"TADVDBGRIDEH",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "fixedColor", s.line);
             set(o, "columnsColor", s.back);
             set(o, "columnsTitleColor", s.line);
         }},
        {"TDBGRIDEH",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "columnsColor", s.back);
         }},
        {"TFLATTABCONTROL",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "indexedColor0", s.line);
             set(o, "indexedColor1", s.line);
         }},
        {"TTREENT",
         [](QObject* o, const ColorSettings& s, QWidget* form) {
             // The corporate frame repaints its tree only between these two messages.
             const bool frame = upperName(form) == QLatin1String("FRMCORPOFRAME");
             if (frame) {
                 WindowMessage before(kMsgTreeRecolour, 0, 0);
                 QCoreApplication::sendEvent(form, &before);
             }
             set(o, "color", s.back);
             set(o, "indexedColor0", kTreeSelection);
             if (frame) {
                 WindowMessage after(kMsgTreeRecolour, 1, 0);
                 QCoreApplication::sendEvent(form, &after);
             }
         }},
        {"TLISTVIEW",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TPANEL",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (upperName(o) == QLatin1String("PANELMAIN")) {
                 set(o, "color", s.back);
                 return;
             }
             const TColor c = colorOf(o, "color");
             if (c == clBtnFace)
                 return;
             if (c == clGreen)
                 set(o, "color", s.line);
             else if (c == kDesignYellow || c == clInfoBk)
                 set(o, "color", s.back);
             else
                 set(o, "color", kFixedPanelGrey);
         }},
        {"TFLATPANEL",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (upperName(o) == QLatin1String("PANELMAIN")) {
                 set(o, "color", s.back);
                 return;
             }
             const TColor c = colorOf(o, "color");
             if (c == clBtnFace) {
                 set(o, "color", kSchemeGrey);
             } else if (c != clGreen) {
                 set(o, "color", s.back);
                 set(o, "indexedColor0", s.line);
                 set(o, "indexedColor1", s.line);
             } else {
                 set(o, "color", s.line);
                 for (const char* indexed : {"indexedColor0", "indexedColor1"})
                     if (is(o, indexed, clGreen))
                         set(o, indexed, s.line);
             }
         }},
        {"TFLATSPINEDITINTEGER",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "colorFlat", s.back);
             set(o, "colorBorder", s.line);
         }},
        {"TMONTHCALENDAR",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "calTitleBackColor", s.line); }},
        {"TEDIT",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (is(o, "color", kDesignYellow))
                 set(o, "color", s.back);
         }},
        {"TFLATEDIT",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (is(o, "colorFlat", kDesignYellow))
                 set(o, "colorFlat", s.back);
             else if (is(o, "colorBorder", clGreen))
                 set(o, "colorFlat", clWhite);
             set(o, "colorFocused", is(o, "colorFocused", kDesignYellow) ? s.back : clWhite);
             const bool backBorder =
                 is(o, "colorBorder", kDesignYellow) || is(o, "colorBorder", clInfoBk);
             set(o, "colorBorder", backBorder ? s.back : s.line);
         }},
        {"TFLATCOMBOBOX",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", is(o, "color", kDesignYellow) ? s.back : clWhite);
             if (is(o, "colorBorder", clGreen))
                 set(o, "colorBorder", s.line);
         }},
        {"TLISTBOX", [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TCHECKLISTBOX",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TRICHEDIT",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TFLATSPLITTER",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.line);
             set(o, "indexedColor1", s.line);
         }},
        {"TSPLITTER",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.line); }},
        {"TLABEL",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             const TColor c = colorOf(o, "color");
             if (c == clGreen)
                 set(o, "color", s.line);
             else if (c != clBtnFace && c != kSchemeGrey)
                 set(o, "color", s.back);
             if (is(o, "fontColor", clGreen))
                 set(o, "fontColor", s.title);
         }},
        {"TTREEVIEW",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TFLATDATETIMEPICKER",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             if (is(o, "colorBorder", clGreen))
                 set(o, "color", clWhite);
             else
                 set(o, "color", is(o, "color", kDesignYellow) ? s.back : clWhite);
             set(o, "colorBorder", is(o, "colorBorder", kDesignYellow) ? s.back : s.line);
             set(o, "calTitleBackColor", s.line);
         }},
        {"TFLATBUTTON",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             if (is(o, "colorBorder", clGreen)) {
                 set(o, "colorBorder", s.line);
                 set(o, "colorFocused", clWhite);
                 set(o, "colorHighLight", s.line);
             }
         }},
        {"TTOOLBAR",
         [](QObject* o, const ColorSettings&, QWidget*) { set(o, "color", clBtnFace); }},
        {"TDBTEXT", [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TFLATGROUPBOX",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "indexedColor0", s.line);
         }},
        {"TMEMO", [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TFLATMEMO",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "colorFlat", s.back);
             set(o, "colorFocused", s.back);
             set(o, "colorBorder", s.line);
         }},
        {"TFLATGAUGE",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "indexedColor0", s.line);
         }},
        {"TSIMPLISTVIEW",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "color", s.back); }},
        {"TFLATCHECKBOX",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "indexedColor3", s.line); }},
        {"TFLATRADIOBUTTON",
         [](QObject* o, const ColorSettings& s, QWidget*) { set(o, "colorBorder", s.line); }},
        {"TFLATLISTBOX",
         [](QObject* o, const ColorSettings& s, QWidget*) {
             set(o, "color", s.back);
             set(o, "indexedColor2", s.back);
         }},
    };
    return table;
}

} // namespace

int SettingToInt(const QString& text) {
    return StrToInt(text);
}

ColorSettings ReadColorSettings() {
    ColorSettings s;
    s.style = readSetting("colorstyle", "1");
    s.back = readSetting("backcolor", "15528176");
    s.line = readSetting("linecolor", "12349763");
    s.title = readSetting("titlecolor", "12349763");
    s.menu = readSetting("menucolor", "65535");
    return s;
}

void ApplyColorScheme(QWidget* form) {
    const ColorSettings settings = ReadColorSettings();
    if (!form || settings.style == 0)
        return;
    setFormColor(form, settings.back);
    const auto& table = rules();
    const QList<QObject*> components = form->findChildren<QObject*>();
    for (QObject* component : components) {
        const QString kind = componentKind(component);
        if (kind.isEmpty())
            continue;
        const auto rule = table.constFind(kind);
        if (rule != table.constEnd())
            (*rule)(component, settings, form);
    }
    form->update();
}

} // namespace kestrane::ui
