#include "report/TRMDataBinding.h"

#include "common/Error.h"
#include "data/Dataset.h"
#include "report/ExpressionText.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMDBDataSet.h"
#include "report/TRMDataSource.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMReport.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace kestrane::report {

namespace {

// Delphi-style component lookup: by name, letter case ignored, through the owner's children.
QObject* childNamed(QObject* owner, const QString& name) {
    if (!owner || name.isEmpty())
        return nullptr;
    for (QObject* child : owner->children())
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    for (QObject* child : owner->children())
        if (QObject* found = childNamed(child, name))
            return found;
    return nullptr;
}

QObject* formNamed(const QString& name) {
    if (name.compare(u"RMDialogForm", Qt::CaseInsensitive) == 0)
        return TRMDataBinding::dialogForm();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

// The form that owns the report: its nearest widget ancestor's window, else its owner.
QObject* ownerForm(const TRMReport& report) {
    QObject* owner = report.parent();
    for (QObject* o = owner; o; o = o->parent())
        if (auto* w = qobject_cast<QWidget*>(o))
            return w->window();
    return owner;
}

bool isIdentifier(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!(c.isLetterOrNumber() || c == u'_' || c.unicode() >= 0x80))
            return false;
    return true;
}

} // namespace

QWidget* TRMDataBinding::dialogForm() {
    static QPointer<QWidget> form;
    if (!form && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // A hidden top-level window that only hosts the engine's own adapters; the
        // application's shutdown deletes it.
        form = new QWidget(nullptr);
        form->setObjectName(QStringLiteral("RMDialogForm"));
        form->setAttribute(Qt::WA_DontShowOnScreen);
        qAddPostRoutine([] { delete form.data(); });
    }
    return form;
}

kestrane::Dataset* TRMDataBinding::datasetOf(QObject* component) {
    if (auto* ds = qobject_cast<kestrane::Dataset*>(component))
        return ds;
    if (auto* adapter = qobject_cast<TRMDBDataSet*>(component))
        return adapter->dataset();
    if (auto* source = qobject_cast<TRMDataSource*>(component))
        return source->DataSet;
    return nullptr;
}

QObject* TRMDataBinding::findComponent(const TRMReport& report, const QString& name) {
    const QStringList parts = name.trimmed().split(u'.');
    if (parts.size() == 1)
        return childNamed(ownerForm(report), parts[0]);
    QObject* form = formNamed(parts[0]);
    if (!form) {
        QObject* own = ownerForm(report);
        if (own && own->objectName().compare(parts[0], Qt::CaseInsensitive) == 0)
            form = own;
    }
    QObject* cur = form;
    for (qsizetype i = 1; cur && i < parts.size(); ++i)
        cur = childNamed(cur, parts[i]);
    return cur;
}

bool TRMDataBinding::resolveField(const TRMReport& report, const QString& reference,
                                  kestrane::Dataset* defaultDataset,
                                  TRMDataDictionary::FieldRef& ref) {
    const QString t = reference.trimmed();
    if (t.isEmpty())
        return false;
    // Components are split at full stops up to the first double quote; the field name may
    // be quoted and then hold blanks and dots.
    const qsizetype quote = t.indexOf(u'"');
    QStringList components;
    QString field;
    if (quote >= 0) {
        if (t.size() - quote < 2 || !t.endsWith(u'"'))
            return false;
        field = t.mid(quote + 1, t.size() - quote - 2);
        if (field.contains(u'"'))
            return false;
        const QString head = t.left(quote);
        if (!head.isEmpty()) {
            if (!head.endsWith(u'.'))
                return false;
            components = head.chopped(1).split(u'.');
        }
    } else {
        components = t.split(u'.');
        field = components.takeLast();
        if (!isIdentifier(field))
            return false;
    }
    if (field.isEmpty() || components.size() > 3)
        return false;
    for (const QString& c : components)
        if (!isIdentifier(c))
            return false;

    kestrane::Dataset* ds = nullptr;
    try {
        ds = components.isEmpty() ? defaultDataset
                                  : datasetOf(findComponent(report, components.join(u'.')));
    } catch (const std::exception&) {
        throw Error(QStringLiteral("Missing ") + reference);
    }
    if (!ds)
        return false;
    const int index = ds->fieldIndex(field);
    if (index < 0)
        return false;
    ref.dataset = ds;
    ref.field = ds->fields()[index].name;
    ref.index = index;
    return true;
}

TRMBandView* TRMDataBinding::bandOf(const TRMPage& page, const TRMView& view) {
    if (qobject_cast<const TRMBandView*>(&view))
        return nullptr;
    for (TRMView* v : page.views()) {
        auto* band = qobject_cast<TRMBandView*>(v);
        if (!band)
            continue;
        const int kind = band->BandType();
        if (kind == btCrossHeader || kind == btCrossData || kind == btCrossFooter) {
            if (view.Left >= band->Left && view.Left < band->Left + band->Width)
                return band;
        } else if (view.Top >= band->Top && view.Top < band->Top + band->Height) {
            return band;
        }
    }
    return nullptr;
}

void TRMDataBinding::bindPage(TRMReport& report, TRMPage& page) {
    QList<TRMBandView*> bands;
    for (TRMView* v : page.views())
        if (auto* b = qobject_cast<TRMBandView*>(v))
            bands.append(b);

    // Data bands to their adapters.
    for (TRMBandView* b : bands) {
        b->Adapter = nullptr;
        b->HeaderBand = b->FooterBand = b->DataBand = nullptr;
        b->Groups.clear();
        if (!TRMBandView::isDataKind(b->BandType()) || b->DataSet().trimmed().isEmpty())
            continue;
        b->Adapter = qobject_cast<TRMDataset*>(findComponent(report, b->DataSet()));
    }

    // Headers and footers with their data bands, by kind.
    auto byTop = [](const TRMBandView* a, const TRMBandView* b) { return a->Top < b->Top; };
    static const int links[3][3] = {{btMasterHeader, btMasterData, btMasterFooter},
                                    {btDetailHeader, btDetailData, btDetailFooter},
                                    {btSubDetailHeader, btSubDetailData, btSubDetailFooter}};
    for (const auto& l : links) {
        QList<TRMBandView*> data = page.bandsOfKind(l[1]);
        if (data.isEmpty())
            continue;
        std::sort(data.begin(), data.end(), byTop);
        for (TRMBandView* header : page.bandsOfKind(l[0])) {
            // A header serves the first data band of its level below it.
            auto it = std::find_if(data.begin(), data.end(),
                                   [header](TRMBandView* d) { return d->Top >= header->Top; });
            TRMBandView* d = it != data.end() ? *it : data.first();
            d->HeaderBand = header;
            header->DataBand = d;
        }
        for (TRMBandView* footer : page.bandsOfKind(l[2])) {
            // A footer closes the last data band of its level above it.
            TRMBandView* d = data.first();
            for (TRMBandView* cand : data)
                if (cand->Top <= footer->Top)
                    d = cand;
            d->FooterBand = footer;
            footer->DataBand = d;
        }
    }

    // Group headers and footers: nested, so headers top-down pair with footers bottom-up;
    // each group attaches to the first data band below its header.
    QList<TRMBandView*> headers = page.bandsOfKind(btGroupHeader);
    QList<TRMBandView*> footers = page.bandsOfKind(btGroupFooter);
    std::sort(headers.begin(), headers.end(), byTop);
    std::sort(footers.begin(), footers.end(), byTop);
    QList<TRMBandView*> dataBands;
    for (TRMBandView* b : bands)
        if (TRMBandView::isDataKind(b->BandType()))
            dataBands.append(b);
    std::sort(dataBands.begin(), dataBands.end(), byTop);
    for (qsizetype i = 0; i < headers.size(); ++i) {
        TRMBandView* h = headers[i];
        if (i < footers.size()) {
            TRMBandView* f = footers[footers.size() - 1 - i];
            h->FooterBand = f;
            f->HeaderBand = h;
        }
        auto it = std::find_if(dataBands.begin(), dataBands.end(),
                               [h](TRMBandView* d) { return d->Top > h->Top; });
        if (it != dataBands.end()) {
            h->DataBand = *it;
            (*it)->Groups.append(h);
            if (h->FooterBand)
                h->FooterBand->DataBand = *it;
        }
    }

    // Memos of one field reference, and calculated memos.
    for (TRMView* v : page.views()) {
        v->BoundDataset = nullptr;
        v->BoundField = -1;
        if (auto* calc = qobject_cast<TRMCalcMemoView*>(v)) {
            calc->AggregatedExpression = calc->aggregatedExpression();
            calc->CompiledFilter =
                calc->Filter.trimmed().isEmpty() ? nullptr : TRMParser::compile(calc->Filter);
        }
        if (qobject_cast<TRMBandView*>(v))
            continue;
        if (auto* memo = qobject_cast<TRMMemoView*>(v); memo && memo->TextOnly())
            continue;
        QString inner;
        if (v->Memo.size() != 1 || !ExpressionText::isSingleBracket(v->Memo.first(), inner))
            continue;
        TRMBandView* band = bandOf(page, *v);
        kestrane::Dataset* def = band ? datasetOf(band->Adapter) : nullptr;
        TRMDataDictionary::FieldRef ref;
        QString dictValue;
        bool found = report.Dictionary.cached(inner, ref);
        if (!found && report.Dictionary.variable(inner, dictValue) && dictValue.contains(u'.'))
            found = resolveField(report, dictValue, def, ref);
        if (!found)
            found = resolveField(report, inner, def, ref);
        if (found) {
            v->BoundDataset = ref.dataset;
            v->BoundField = ref.index;
        }
    }
}

} // namespace kestrane::report
