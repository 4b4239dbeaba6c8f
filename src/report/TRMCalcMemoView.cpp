#include "report/TRMCalcMemoView.h"

#include "report/ExpressionText.h"

namespace kestrane::report {

QString TRMCalcMemoView::aggregatedExpression() const {
    if (Memo.isEmpty())
        return QString();
    const QString& line = Memo.first();
    const qsizetype open = line.indexOf(u'[');
    if (open < 0)
        return QString();
    const qsizetype close = ExpressionText::findBracketEnd(line, open);
    return close < 0 ? QString() : line.mid(open + 1, close - open - 1);
}

void TRMCalcMemoView::describe(QList<Property>& out, QStringList& derived) const {
    TRMMemoView::describe(out, derived);
    auto* self = const_cast<TRMCalcMemoView*>(this);
    out.append(field("DBCalcType", self->DBCalcType));
    out.append(field("DataBand", self->DataBand));
    out.append(field("Filter", self->Filter));
    out.append(field("ResetAfterPrint", self->ResetAfterPrint));
    out.append(field("TotalCalc", self->TotalCalc));
    out.append(field("CalcNoVisible", self->CalcNoVisible));
    out.append(field("IntalizeValue", self->IntalizeValue));
    out.append(field("AggregateValue", self->AggregateValue));
    out.append(field("OutBigNum", self->OutBigNum));
    out.append(field("CalcValue", self->CalcValue));
    // Not kept in templates: the running result and the design-time-only switches.
    derived << QStringLiteral("CalcValue") << QStringLiteral("TotalCalc")
            << QStringLiteral("OutBigNum") << QStringLiteral("CalcNoVisible");
}

} // namespace kestrane::report
