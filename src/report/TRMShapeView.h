#pragma once
// Add-in: a rectangle, ellipse or similar shape, stored as two setting bytes.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMShapeView : public TRMView {
    Q_OBJECT
public:
    explicit TRMShapeView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMShapeView"); }

    int ShapeType = 0;
    int ShapeOption = 0;

protected:
    void describe(QList<Property>& out, QStringList& derived) const override {
        TRMView::describe(out, derived);
        auto* self = const_cast<TRMShapeView*>(this);
        out.append(field("ShapeType", self->ShapeType));
        out.append(field("ShapeOption", self->ShapeOption));
    }
};

} // namespace kestrane::report
