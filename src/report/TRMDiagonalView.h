#pragma once
// Add-in: a diagonal line across the view; it keeps nothing beyond the common part.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMDiagonalView : public TRMView {
    Q_OBJECT
public:
    explicit TRMDiagonalView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMDiagonalView"); }
};

} // namespace kestrane::report
