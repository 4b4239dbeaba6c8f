#include "report/TRMPage.h"

#include "report/TRMBandView.h"
#include "report/TRMView.h"

namespace kestrane::report {

TRMPage::TRMPage(QObject* parent) : TRMObject(parent) {}

void TRMPage::addView(TRMView* view) {
    if (!view || m_views.contains(view))
        return;
    view->setParent(this);
    m_views.append(view);
    QObject::connect(view, &QObject::destroyed, this, [this, view] { m_views.removeAll(view); });
}

void TRMPage::deleteView(TRMView* view) {
    if (m_views.removeAll(view) > 0)
        delete view;
}

void TRMPage::clearViews() {
    const QList<TRMView*> views = m_views;
    m_views.clear();
    qDeleteAll(views);
}

TRMView* TRMPage::findView(const QString& name) const {
    for (TRMView* v : m_views)
        if (v->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return v;
    return nullptr;
}

QList<TRMBandView*> TRMPage::bandsOfKind(int kind) const {
    QList<TRMBandView*> out;
    for (TRMView* v : m_views)
        if (auto* b = qobject_cast<TRMBandView*>(v); b && b->BandType() == kind)
            out.append(b);
    return out;
}

QString TRMPage::uniqueViewName(const QString& base) const {
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!findView(name))
            return name;
    }
}

void TRMPage::describe(QList<Property>& out, QStringList& derived) const {
    TRMObject::describe(out, derived);
    auto* self = const_cast<TRMPage*>(this);
    out.append(field("Type", self->Type));
    out.append(field("Caption", self->Caption));
    out.append(field("Color", self->Color));
    out.append(field("Left", self->Left));
    out.append(field("Top", self->Top));
    out.append(field("Width", self->Width));
    out.append(field("Height", self->Height));
    out.append(field("Position", self->Position));
    out.append(field("BorderStyle", self->BorderStyle));
    out.append(field("Size", self->Size));
    out.append(field("PaperWidth", self->PaperWidth));
    out.append(field("PaperHeight", self->PaperHeight));
    out.append(field("Orientation", self->Orientation));
    out.append(field("PaperSource", self->PaperSource));
    out.append(field("LeftMargin", self->LeftMargin));
    out.append(field("TopMargin", self->TopMargin));
    out.append(field("RightMargin", self->RightMargin));
    out.append(field("BottomMargin", self->BottomMargin));
    out.append(field("Columns", self->Columns));
    out.append(field("ColumnGap", self->ColumnGap));
    out.append(field("PrintToPrevPage", self->PrintToPrevPage));
    out.append(field("Visible", self->Visible));
    out.append(field("AutoHCenter", self->AutoHCenter));
    out.append(field("BackPictureKind", self->BackPicture.Kind));
    out.append(field("BackPictureData", self->BackPicture.Data));
    out.append(field("BackgroundLeft", self->BackgroundLeft));
    out.append(field("BackgroundTop", self->BackgroundTop));
    out.append(field("BackgroundWidth", self->BackgroundWidth));
    out.append(field("BackgroundHeight", self->BackgroundHeight));
    out.append(field("ShowBackPicture", self->ShowBackPicture));
    out.append(field("Script", self->Script));
    // Not kept in templates: the visibility a page script changes and the subreport mark.
    out.append(field("IsSubReportPage", self->IsSubReportPage));
    derived << QStringLiteral("Visible") << QStringLiteral("ShowBackPicture")
            << QStringLiteral("IsSubReportPage");
}

} // namespace kestrane::report
