#pragma once
// Add-in: rich text (RTF) whose bracketed expressions are expanded like memo text.
#include "report/TRMView.h"

#include <QByteArray>

namespace kestrane::report {

class TRMRichView : public TRMView {
    Q_OBJECT
public:
    explicit TRMRichView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMRichView"); }

    QByteArray RichText; // RTF bytes; empty when the view has no text

protected:
    void describe(QList<Property>& out, QStringList& derived) const override {
        TRMView::describe(out, derived);
        out.append(field("RichText", const_cast<TRMRichView*>(this)->RichText));
    }
};

} // namespace kestrane::report
