#include "report/TRMBandView.h"

namespace kestrane::report {

TRMBandView::TRMBandView(QObject* parent) : TRMView(parent) {
    Flags = flBandOnFirstPage | flBandOnLastPage | flBandPrintColFirst;
}

void TRMBandView::setColumns(int n) {
    m_columns = std::clamp(n, 1, 99);
}

QString TRMBandView::bandKindName(int kind) {
    static const char16_t* const names[kBandKindCount] = {
        u"标题",       u"总结",       u"页标头",     u"页注脚",   u"主项标头",   u"主项数据",
        u"主项注脚",   u"细项标头",   u"细项数据",   u"细项注脚", u"子细项标头", u"子细项数据",
        u"子细项注脚", u"浮动",       u"栏目标头",   u"栏目注脚", u"分组标头",   u"分组注脚",
        u"交叉表标头", u"交叉表数据", u"交叉表注脚", u"子栏",     u"无"};
    return kind >= 0 && kind < kBandKindCount ? QString::fromUtf16(names[kind]) : QString();
}

void TRMBandView::describe(QList<Property>& out, QStringList& derived) const {
    TRMView::describe(out, derived);
    auto* self = const_cast<TRMBandView*>(this);
    out.append({QStringLiteral("BandType"), [self] { return QVariant(self->BandType()); },
                [self](const QVariant& v) { self->setBandType(v.toInt()); }});
    out.append({QStringLiteral("DataSet"), [self] { return QVariant(self->DataSet()); },
                [self](const QVariant& v) { self->setDataSet(v.toString()); }});
    out.append({QStringLiteral("Condition"), [self] { return QVariant(self->Condition()); },
                [self](const QVariant& v) { self->setCondition(v.toString()); }});
    out.append({QStringLiteral("NewPageCondition"),
                [self] { return QVariant(self->NewPageCondition()); },
                [self](const QVariant& v) { self->setNewPageCondition(v.toString()); }});
    out.append(field("ChildBand", self->ChildBand));
    out.append(field("Master", self->Master));
    out.append({QStringLiteral("Columns"), [self] { return QVariant(self->Columns()); },
                [self](const QVariant& v) { self->setColumns(v.toInt()); }});
    out.append(field("ColumnWidth", self->ColumnWidth));
    out.append(field("ColumnGap", self->ColumnGap));
    out.append(field("NewColumnAfter", self->NewColumnAfter));
    out.append(field("LinesPerPage", self->LinesPerPage));
    out.append(field("GroupsPerPage", self->LinesPerPage));
    out.append(field("RangeBegin", self->RangeBegin));
    out.append(field("RangeEnd", self->RangeEnd));
    out.append(field("RangeEndCount", self->RangeEndCount));
    static const struct {
        const char* name;
        quint16 mask;
    } flags[] = {{"FormNewPage", flBandFormNewPage},
                 {"PrintIfSubsetEmpty", flBandPrintIfSubsetEmpty},
                 {"Breaked", flBandBreaked},
                 {"OnFirstPage", flBandOnFirstPage},
                 {"OnLastPage", flBandOnLastPage},
                 {"RepeatHeader", flBandRepeatHeader},
                 {"PrintChildIfInvisible", flBandPrintChildIfInvisible},
                 {"AutoAppendBlank", flBandAutoAppendBlank},
                 {"AdjustColumns", flBandAdjustColumns},
                 {"PrintColFirst", flBandPrintColFirst},
                 {"RepeatHeader1", flBandRepeatHeader1},
                 {"PrintIfEmpty", flBandPrintIfEmpty},
                 {"PrintAtDesignPos", flBandPrintAtDesignPos}};
    for (const auto& f : flags) {
        out.append(bit(f.name, self->Flags, f.mask));
        derived << QString::fromLatin1(f.name);
    }
    // Aliases of stored texts and of the kind word; NewColumnAfter is not kept in streams.
    derived << QStringLiteral("BandType") << QStringLiteral("DataSet")
            << QStringLiteral("Condition") << QStringLiteral("NewPageCondition")
            << QStringLiteral("GroupsPerPage") << QStringLiteral("NewColumnAfter");
}

} // namespace kestrane::report
