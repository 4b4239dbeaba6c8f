#include "report/TRMReport.h"

#include "report/TRMEMFPages.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"

namespace kestrane::report {

TRMReport::TRMReport(QObject* parent) : TRMObject(parent), m_emfPages(new TRMEMFPages(this)) {
    ReportInfo = QStringList(5, QString());
    m_evaluator.localVariables = &LocalVariables;
    m_evaluator.engineVariables = &engineVariables();
    m_evaluator.onGetValue = [this](const QString& name, QVariant& value) {
        if (!OnGetValue)
            return false;
        bool handled = false;
        OnGetValue(name, value, handled);
        return handled;
    };
    m_evaluator.properties = [this](const QString& name, QVariant& value) {
        return propertyReference(name, value);
    };
    m_evaluator.userFunction = [this](const QString& name, TRMFunctionArgs& args,
                                      QVariant& result) {
        return OnUserFunction && OnUserFunction(name, args, result);
    };
}

TRMReport::~TRMReport() = default;

TRMVariables& TRMReport::engineVariables() {
    static TRMVariables vars;
    return vars;
}

TRMPage* TRMReport::page(int index) const {
    return index >= 0 && index < m_pages.size() ? m_pages[index] : nullptr;
}

TRMPage* TRMReport::addPage() {
    auto* p = new TRMPage(this);
    p->setObjectName(QStringLiteral("Page") + QString::number(m_pages.size() + 1));
    m_pages.append(p);
    return p;
}

void TRMReport::deletePage(int index) {
    if (index < 0 || index >= m_pages.size())
        return;
    delete m_pages.takeAt(index);
}

TRMView* TRMReport::findView(const QString& name) const {
    for (TRMPage* p : m_pages)
        if (TRMView* v = p->findView(name))
            return v;
    return nullptr;
}

void TRMReport::ClearDesign() {
    m_currentView = nullptr;
    const QList<TRMPage*> pages = m_pages;
    m_pages.clear();
    qDeleteAll(pages);
    Dictionary.clear();
    ReportInfo = QStringList(5, QString());
    DoublePass = false;
}

QStringList TRMReport::expandView(TRMView* view) {
    if (!view)
        return {};
    TRMView* saved = m_currentView;
    m_currentView = view;
    struct Restore {
        QPointer<TRMView>& slot;
        TRMView* value;
        ~Restore() { slot = value; }
    } restore{m_currentView, saved};
    const auto* memo = qobject_cast<const TRMMemoView*>(view);
    const bool hideZeros = memo && memo->HideZeros();
    const bool textOnly = memo && memo->TextOnly();
    view->Memo1 = m_evaluator.expandMemo(view->Memo, view->FormatWord, view->FormatString,
                                         hideZeros, textOnly);
    return view->Memo1;
}

bool TRMReport::propertyReference(const QString& name, QVariant& value) {
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return false;
    const QString object = name.left(dot).trimmed();
    const QString property = name.mid(dot + 1).trimmed();
    if (property.isEmpty())
        return false;
    TRMObject* target = nullptr;
    if (object.size() > 4 && object.startsWith(QStringLiteral("PAGE"), Qt::CaseInsensitive)) {
        bool ok = false;
        const int n = object.mid(4).toInt(&ok);
        if (ok)
            target = page(n - 1);
    }
    if (!target)
        target = findView(object);
    if (!target && m_currentView &&
        (object.isEmpty() || object.compare(u"Self", Qt::CaseInsensitive) == 0))
        target = m_currentView;
    if (!target || !target->hasProp(property))
        return false;
    value = target->prop(property);
    return true;
}

void TRMReport::describe(QList<Property>& out, QStringList& derived) const {
    TRMObject::describe(out, derived);
    auto* self = const_cast<TRMReport*>(this);
    out.append(field("DefaultDictionaryFile", self->DefaultDictionaryFile));
    out.append(field("PreviewInitialDir", self->PreviewInitialDir));
    out.append(field("DefaultCopies", self->DefaultCopies));
    out.append(field("DefaultCollate", self->DefaultCollate));
    out.append(field("InitialZoom", self->InitialZoom));
    out.append(field("MDIPreview", self->MDIPreview));
    out.append(field("ModalPreview", self->ModalPreview));
    out.append(field("ModifyPrepared", self->ModifyPrepared));
    out.append(field("PreviewButtons", self->PreviewButtons));
    out.append(field("PrintIfEmpty", self->PrintIfEmpty));
    out.append(field("ReportType", self->ReportType));
    out.append(field("ShowProgress", self->ShowProgress));
    out.append(field("StoreInDFM", self->StoreInDFM));
    out.append(field("ShowPrintDialog", self->ShowPrintDialog));
    out.append(field("DoublePass", self->DoublePass));
    out.append(field("PrinterName", self->PrinterName));
    out.append(field("PrintPagePerPage", self->PrintPagePerPage));
    out.append(field("PrintToForm", self->PrintToForm));
    out.append(field("PrintBackColor", self->PrintBackColor));
    out.append(field("PrintOffsetTop", self->PrintOffsetTop));
    out.append(field("PrintOffsetLeft", self->PrintOffsetLeft));
    out.append(field("ReportInfo", self->ReportInfo));
    out.append(field("AutoLoadSaveSetting", self->SaveReportOptions.AutoLoadSaveSetting));
    out.append(field("UseRegistry", self->SaveReportOptions.UseRegistry));
    out.append(field("IniFileName", self->SaveReportOptions.IniFileName));
    out.append(field("RegistryPath", self->SaveReportOptions.RegistryPath));
}

} // namespace kestrane::report
