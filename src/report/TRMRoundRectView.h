#pragma once
// Add-in: a rectangle with rounded corners; it keeps nothing beyond the common part.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMRoundRectView : public TRMView {
    Q_OBJECT
public:
    explicit TRMRoundRectView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMRoundRectView"); }
};

} // namespace kestrane::report
