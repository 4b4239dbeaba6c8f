#include "report/TRMMemoView.h"

#include "report/DisplayFormat.h"

namespace kestrane::report {

TRMMemoView::TRMMemoView(QObject* parent) : TRMView(parent) {
    Flags |= flHideZeros;
    FormatWord = DisplayFormat::defaultWord();
}

qint32 TRMMemoView::alignmentWord() const {
    return (Alignment & 3) | (Layout == 1 ? 8 : Layout == 2 ? 16 : 0);
}

void TRMMemoView::setAlignmentWord(qint32 word) {
    Alignment = word & 3;
    Layout = (word & 16) ? 2 : (word & 8) ? 1 : 0;
}

void TRMMemoView::describe(QList<Property>& out, QStringList& derived) const {
    TRMView::describe(out, derived);
    auto* self = const_cast<TRMMemoView*>(this);
    out.append(field("FontName", self->Font.Name));
    out.append(field("FontSize", self->Font.Size));
    out.append(field("FontStyle", self->Font.Style));
    out.append(field("FontColor", self->Font.Color));
    out.append(field("FontCharset", self->Font.Charset));
    out.append(field("Alignment", self->Alignment));
    out.append(field("Layout", self->Layout));
    out.append(field("LineSpacing", self->LineSpacing));
    out.append(field("CharSpacing", self->CharSpacing));
    out.append(field("RotationType", self->RotationType));
    out.append(field("ScaleFontType", self->ScaleFontType));
    out.append(field("FontScaleWidth", self->FontScaleWidth));
    out.append(field("HighlightCondition", self->Highlight.Condition));
    out.append(field("HighlightFontStyle", self->Highlight.FontStyle));
    out.append(field("HighlightFontColor", self->Highlight.FontColor));
    out.append(field("HighlightFillColor", self->Highlight.FillColor));
    out.append(field("MasterMemoView", self->MasterMemoView));
    out.append(field("LastValue", self->LastValue));
    static const struct {
        const char* name;
        quint16 mask;
    } flags[] = {{"WordWrap", flWordWrap},          {"WordBreak", flWordBreak},
                 {"AutoWidth", flAutoWidth},        {"TextOnly", flTextOnly},
                 {"Suppress", flSuppress},          {"HideZeros", flHideZeros},
                 {"Underlines", flUnderlines},      {"RTLReading", flRTLReading},
                 {"MergeRepeated", flMergeRepeated}};
    for (const auto& f : flags) {
        out.append(bit(f.name, self->Flags, f.mask));
        derived << QString::fromLatin1(f.name);
    }
    static const struct {
        const char* name;
        qint32 mask;
    } flags2[] = {{"MangeTag", fl2MangeTag},
                  {"ScaleFontSize", fl2ScaleFontSize},
                  {"PrintAtAppendBlank", fl2PrintAtAppendBlank},
                  {"DataFieldOnly", fl2DataFieldOnly}};
    for (const auto& f : flags2) {
        out.append(bit32(f.name, self->Flags2, f.mask));
        derived << QString::fromLatin1(f.name);
    }
    // LastValue is printing state, not design.
    derived << QStringLiteral("LastValue");
}

} // namespace kestrane::report
