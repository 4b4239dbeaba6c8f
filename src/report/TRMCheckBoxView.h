#pragma once
// Add-in: a check box whose state is the value of its memo expression.
#include "report/TRMView.h"

namespace kestrane::report {

enum TRMCheckStyle : int { csCross = 0, csCheck = 1 };

class TRMCheckBoxView : public TRMView {
    Q_OBJECT
public:
    explicit TRMCheckBoxView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMCheckBoxView"); }

    int CheckStyle = csCross;
    qint32 CheckColor = clBlack;

protected:
    void describe(QList<Property>& out, QStringList& derived) const override {
        TRMView::describe(out, derived);
        auto* self = const_cast<TRMCheckBoxView*>(this);
        out.append(field("CheckStyle", self->CheckStyle));
        out.append(field("CheckColor", self->CheckColor));
    }
};

} // namespace kestrane::report
