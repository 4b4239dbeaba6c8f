#pragma once
// The standard function library of report expressions: text, number, date and amount
// functions, the Chinese capital numerals of amounts, the preparation counters, and the
// aggregates and preparation controls that the evaluator passes on to the running
// preparation through its hooks.
#include "report/TRMFunctionLibrary.h"

namespace kestrane::report {

class TRMStandardFunctions : public TRMFunctionLibrary {
public:
    QStringList functionNames() const override;
    bool call(TRMEvaluator& evaluator, const QString& name, TRMFunctionArgs& args,
              QVariant& result) override;

    // Amount in Chinese capital numerals: 1234.56 -> "壹仟贰佰叁拾肆元伍角陆分",
    // 100 -> "壹佰元整", negative amounts start with "负".
    static QString currencyToChinese(double amount);
    // A number in Chinese lower-case numerals: 1205 -> "一千二百零五", 3.5 -> "三点五".
    static QString numberToChinese(double value);
    // Digit by digit in capital numerals: "1205.3" -> "壹贰零伍.叁".
    static QString digitsToCapitals(const QString& digits);

    static TRMStandardFunctions& instance();
};

} // namespace kestrane::report
