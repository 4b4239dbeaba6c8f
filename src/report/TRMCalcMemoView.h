#pragma once
// A memo that prints an aggregate (sum, count, average, maximum, minimum or a user rule) of
// its expression over the records of a data band.
#include "report/TRMMemoView.h"
#include "report/TRMParser.h"

#include <memory>

namespace kestrane::report {

enum TRMDBCalcType : int { rmdcSum, rmdcCount, rmdcAvg, rmdcMax, rmdcMin, rmdcUser };

class TRMCalcMemoView : public TRMMemoView {
    Q_OBJECT
public:
    explicit TRMCalcMemoView(QObject* parent = nullptr) : TRMMemoView(parent) {}
    int viewKind() const override { return gtCalcMemo; }
    QString rmClassName() const override { return QStringLiteral("TRMCalcMemoView"); }

    int DBCalcType = rmdcSum;
    QString DataBand;
    QString Filter;
    bool ResetAfterPrint = true;
    bool TotalCalc = false;
    bool CalcNoVisible = false;
    QString IntalizeValue;
    QString AggregateValue;
    bool OutBigNum = false;
    QVariant CalcValue;
    int ClassVersion = 1; // version byte of the class record as read

    // The aggregated expression: the first bracketed expression of the first memo line.
    QString aggregatedExpression() const;

    // Set by the binding: the compiled Filter (null when there is none) and the remembered
    // aggregated expression.
    std::shared_ptr<const TRMParser::Program> CompiledFilter;
    QString AggregatedExpression;

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;
};

} // namespace kestrane::report
