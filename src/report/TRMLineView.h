#pragma once
// A view with no class part of its own: a line drawn along the view's frame lines.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMLineView : public TRMView {
    Q_OBJECT
public:
    explicit TRMLineView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtLine; }
    QString rmClassName() const override { return QStringLiteral("TRMLineView"); }
};

} // namespace kestrane::report
