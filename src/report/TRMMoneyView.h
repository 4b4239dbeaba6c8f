#pragma once
// An amount printed digit by digit in boxes. Stored like a memo.
#include "report/TRMMemoView.h"

namespace kestrane::report {

class TRMMoneyView : public TRMMemoView {
    Q_OBJECT
public:
    explicit TRMMoneyView(QObject* parent = nullptr) : TRMMemoView(parent) {}
    int viewKind() const override { return gtMoney; }
    QString rmClassName() const override { return QStringLiteral("TRMMoneyView"); }
};

} // namespace kestrane::report
