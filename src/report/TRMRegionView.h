#pragma once
// A view with no class part of its own: a region that groups other views.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMRegionView : public TRMView {
    Q_OBJECT
public:
    explicit TRMRegionView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtRegion; }
    QString rmClassName() const override { return QStringLiteral("TRMRegionView"); }
};

} // namespace kestrane::report
