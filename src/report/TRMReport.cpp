#include "report/TRMReport.h"

#include "data/Dataset.h"
#include "report/DisplayFormat.h"
#include "report/TRMDBDataSet.h"
#include "report/TRMDataBinding.h"
#include "report/TRMEMFPages.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMPreparedReport.h"
#include "report/TRMTemplateStream.h"
#include "ui/modal/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    m_evaluator.dictionary = [this](const QString& name, QVariant& value) {
        return dictionaryValue(name, value);
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

// --- templates ---------------------------------------------------------------------------

QString TRMReport::textMissingClasses(const QStringList& classes) {
    return QStringLiteral("Opened report contains the following non-plugged components:\n") +
           classes.join(u'\n') +
           QStringLiteral("\nUse appropriate component from RM component palette");
}

void TRMReport::resetToOneEmptyPage() {
    ClearDesign();
    addPage();
}

bool TRMReport::ReadTemplate(const QByteArray& bytes) {
    m_lastLoadError.clear();
    const TRMTemplateStream::Result result = TRMTemplateStream::read(*this, bytes);
    m_lastLoadError = result.error;
    switch (result.status) {
    case TRMTemplateStream::Empty:
        return false;
    case TRMTemplateStream::TooNew:
        ui::MessageBox(nullptr, textUnsupportedFormat(), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
        return false;
    case TRMTemplateStream::NoSignature:
        m_lastLoadError = QStringLiteral("Not VidavuDidoroz Report File!");
        resetToOneEmptyPage();
        ui::MessageBox(nullptr, textNotReportFile(), ui::kCaptionError, ui::MbOk | ui::MbIconError);
        return false;
    case TRMTemplateStream::ReadError:
        resetToOneEmptyPage();
        ui::MessageBox(nullptr, textUnsupportedFormat(), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
        return false;
    case TRMTemplateStream::Loaded:
        break;
    }
    if (!result.missingClasses.isEmpty())
        ui::MessageBox(nullptr, textMissingClasses(result.missingClasses), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
    Dictionary.clearCache();
    loadReportSettings();
    return true;
}

QByteArray TRMReport::WriteTemplate() const {
    return TRMTemplateStream::write(*this);
}

bool TRMReport::LoadTemplateText(const QString& text) {
    return ReadTemplate(TRMTemplateStream::decodeText(text));
}

QString TRMReport::TemplateText() const {
    return TRMTemplateStream::encodeText(WriteTemplate());
}

// --- prepared reports ----------------------------------------------------------------------

QByteArray TRMReport::SavePreparedReport() const {
    return TRMPreparedReport::writeFile(*m_emfPages, PrinterName, PrintToForm);
}

bool TRMReport::LoadPreparedReport(const QByteArray& bytes) {
    const TRMPreparedReport::Result result = TRMPreparedReport::readFile(bytes, *m_emfPages);
    m_lastLoadError = result.error;
    switch (result.status) {
    case TRMPreparedReport::Loaded:
        PrinterName = result.printerName;
        PrintToForm = result.printToForm;
        return true;
    case TRMPreparedReport::NoSignature:
        ui::MessageBox(nullptr, textNotPreparedFile(), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
        return false;
    case TRMPreparedReport::TooNew:
    case TRMPreparedReport::ReadError:
        ui::MessageBox(nullptr, textUnsupportedFormat(), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
        return false;
    }
    return false;
}

bool TRMReport::SavePreparedReportToFile(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = SavePreparedReport();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool TRMReport::LoadPreparedReportFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastLoadError = file.errorString();
        return false;
    }
    return LoadPreparedReport(file.readAll());
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
    uint32_t word = view->FormatWord;
    QString fmt = view->FormatString;
    effectiveFormat(*view, word, fmt);
    if (memo && memo->DataFieldOnly() && view->isBound()) {
        const QVariant value = TRMDBDataSet::valueOf(*view->BoundDataset, view->BoundField);
        m_evaluator.state.value = value;
        view->Memo1 = {hideZeros && DisplayFormat::isZeroNonString(value)
                           ? QString()
                           : DisplayFormat::formatValue(value, word, fmt)};
        return view->Memo1;
    }
    view->Memo1 = m_evaluator.expandMemo(view->Memo, word, fmt, hideZeros, textOnly);
    return view->Memo1;
}

void TRMReport::effectiveFormat(const TRMView& view, uint32_t& word, QString& formatString) {
    word = view.FormatWord;
    formatString = view.FormatString;
    if (!view.isBound() || DisplayFormat::category(word) != fcText)
        return;
    const FieldDef def = view.BoundDataset->fields().value(view.BoundField);
    if (def.displayFormat.isEmpty())
        return;
    switch (def.type) {
    case FieldType::Integer:
    case FieldType::Float:
        word = DisplayFormat::makeWord(fcNumber, kNumberCustomIndex, 0, u'.');
        break;
    case FieldType::Date:
    case FieldType::DateTime:
        word = DisplayFormat::makeWord(fcDate, kDateCustomIndex, 0, u'.');
        break;
    case FieldType::Boolean:
        word = DisplayFormat::makeWord(fcBoolean, kBooleanCustomIndex, 0, u'.');
        break;
    default:
        return;
    }
    formatString = def.displayFormat;
}

bool TRMReport::dictionaryValue(const QString& name, QVariant& value) {
    if (const TRMDataDictionary::FieldRef* hit = Dictionary.cachedRef(name)) {
        value = TRMDBDataSet::valueOf(*hit->dataset, hit->index);
        return true;
    }
    TRMDataDictionary::FieldRef ref;
    QString text;
    if (Dictionary.variable(name, text)) {
        if (text.contains(u'.') && TRMDataBinding::resolveField(*this, text, DefaultDataset, ref)) {
            Dictionary.cache(text, ref);
            value = TRMDBDataSet::valueOf(*ref.dataset, ref.index);
        } else {
            value = m_evaluator.evaluateInDictionary(text);
        }
        return true;
    }
    if (TRMDataBinding::resolveField(*this, name, DefaultDataset, ref)) {
        // References with components name the same field wherever they are printed;
        // plain field names follow the band being printed and are not cached.
        if (name.contains(u'.'))
            Dictionary.cache(name, ref);
        value = TRMDBDataSet::valueOf(*ref.dataset, ref.index);
        return true;
    }
    return false;
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
