#include "report/TRMView.h"

namespace kestrane::report {

TRMView::TRMView(QObject* parent) : TRMObject(parent) {
    // Any new view prints its frame and prints on forms; bands switch both off.
    Flags = flPrintFrame | flPrintVisible;
}

int TRMView::FrameTyp() const {
    return (TopFrame.Visible ? 8 : 0) | (LeftFrame.Visible ? 4 : 0) |
           (BottomFrame.Visible ? 2 : 0) | (RightFrame.Visible ? 1 : 0);
}

void TRMView::setFrameTyp(int bits) {
    TopFrame.Visible = bits & 8;
    LeftFrame.Visible = bits & 4;
    BottomFrame.Visible = bits & 2;
    RightFrame.Visible = bits & 1;
}

void TRMView::setFrameWidth(double w) {
    LeftFrame.Width = TopFrame.Width = RightFrame.Width = BottomFrame.Width = w;
}

void TRMView::setFrameColor(qint32 c) {
    LeftFrame.Color = TopFrame.Color = RightFrame.Color = BottomFrame.Color = c;
}

void TRMView::setFrameStyle(int s) {
    LeftFrame.Style = TopFrame.Style = RightFrame.Style = BottomFrame.Style = s;
}

void TRMView::setDataField(const QString& text) {
    if (Memo.isEmpty())
        Memo.append(text);
    else
        Memo[0] = text;
}

void TRMView::assignFrom(const TRMView& other) {
    setObjectName(other.objectName());
    for (const QString& name : other.storedPropNames())
        setProp(name, other.prop(name));
}

namespace {
void frameProps(QList<TRMObject::Property>& out, const char* prefix, TRMFrameLine& line) {
    const QString p = QString::fromLatin1(prefix);
    out.append({p + QStringLiteral("Visible"), [&line] { return QVariant(line.Visible); },
                [&line](const QVariant& v) { line.Visible = v.toBool(); }});
    out.append({p + QStringLiteral("Style"), [&line] { return QVariant(line.Style); },
                [&line](const QVariant& v) { line.Style = v.toInt(); }});
    out.append({p + QStringLiteral("Color"), [&line] { return QVariant(line.Color); },
                [&line](const QVariant& v) { line.Color = v.toInt(); }});
    out.append({p + QStringLiteral("Width"), [&line] { return QVariant(line.Width); },
                [&line](const QVariant& v) { line.Width = v.toDouble(); }});
}
} // namespace

void TRMView::describe(QList<Property>& out, QStringList& derived) const {
    TRMObject::describe(out, derived);
    auto* self = const_cast<TRMView*>(this);
    out.append(field("Left", self->Left));
    out.append(field("Top", self->Top));
    out.append(field("Width", self->Width));
    out.append(field("Height", self->Height));
    out.append(field("Flags", self->Flags));
    out.append(field("Flags2", self->Flags2));
    frameProps(out, "LeftFrame", self->LeftFrame);
    frameProps(out, "TopFrame", self->TopFrame);
    frameProps(out, "RightFrame", self->RightFrame);
    frameProps(out, "BottomFrame", self->BottomFrame);
    out.append(field("GapX", self->GapX));
    out.append(field("GapY", self->GapY));
    out.append(field("FillColor", self->FillColor));
    out.append(field("BandAlign", self->BandAlign));
    out.append(field("FormatWord", self->FormatWord));
    out.append(field("FormatString", self->FormatString));
    out.append(field("Memo", self->Memo));
    out.append(field("OnBeforePrint", self->OnBeforePrint));
    out.append(field("OnAfterPrint", self->OnAfterPrint));
    out.append(field("Visible", self->Visible));
    out.append(field("Restrictions", self->Restrictions));
    out.append(field("Tag", self->Tag));
    out.append(field("KeptWord", self->KeptWord));
    // Derived.
    out.append({QStringLiteral("FrameTyp"), [self] { return QVariant(self->FrameTyp()); },
                [self](const QVariant& v) { self->setFrameTyp(v.toInt()); }});
    out.append({QStringLiteral("FrameWidth"), [self] { return QVariant(self->FrameWidth()); },
                [self](const QVariant& v) { self->setFrameWidth(v.toDouble()); }});
    out.append({QStringLiteral("FrameColor"), [self] { return QVariant(self->FrameColor()); },
                [self](const QVariant& v) { self->setFrameColor(v.toInt()); }});
    out.append({QStringLiteral("FrameStyle"), [self] { return QVariant(self->FrameStyle()); },
                [self](const QVariant& v) { self->setFrameStyle(v.toInt()); }});
    out.append(bit("Stretched", self->Flags, flStretched));
    out.append(bit("PrintFrame", self->Flags, flPrintFrame));
    out.append(bit("PrintVisible", self->Flags, flPrintVisible));
    out.append({QStringLiteral("DataField"), [self] { return QVariant(self->DataField()); },
                [self](const QVariant& v) { self->setDataField(v.toString()); }});
    out.append({QStringLiteral("Memo1"), [self] { return QVariant(self->Memo1); },
                [self](const QVariant& v) { self->Memo1 = v.toStringList(); }});
    out.append({QStringLiteral("IsPrinting"), [self] { return QVariant(self->IsPrinting); },
                [self](const QVariant& v) { self->IsPrinting = v.toBool(); }});
    out.append({QStringLiteral("DisplayFormat"), [self] { return QVariant(self->FormatWord); },
                [self](const QVariant& v) { self->FormatWord = v.toUInt(); }});
    derived << QStringLiteral("FrameTyp") << QStringLiteral("FrameWidth")
            << QStringLiteral("FrameColor") << QStringLiteral("FrameStyle")
            << QStringLiteral("Stretched") << QStringLiteral("PrintFrame")
            << QStringLiteral("PrintVisible") << QStringLiteral("DataField")
            << QStringLiteral("Memo1") << QStringLiteral("IsPrinting")
            << QStringLiteral("DisplayFormat") << QStringLiteral("Restrictions");
}

} // namespace kestrane::report
