#pragma once
// Places another design page, by its index, inside a band.
#include "report/TRMView.h"

namespace kestrane::report {

class TRMSubReportView : public TRMView {
    Q_OBJECT
public:
    explicit TRMSubReportView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtSubReport; }
    QString rmClassName() const override { return QStringLiteral("TRMSubReportView"); }

    qint32 SubPage = 0;

protected:
    void describe(QList<Property>& out, QStringList& derived) const override {
        TRMView::describe(out, derived);
        out.append(field("SubPage", const_cast<TRMSubReportView*>(this)->SubPage));
    }
};

} // namespace kestrane::report
