#pragma once
// The report component: a design (pages with bands and views), its data dictionary and
// variables, the prepared pages, and the evaluator that expands texts against all of them.
// Loading and saving templates and prepared reports are the stream classes' work; the
// report offers them as its operations.
#include "data/Dataset.h"
#include "report/TRMDataDictionary.h"
#include "report/TRMDataset.h"
#include "report/TRMEvaluator.h"
#include "report/TRMObject.h"
#include "report/TRMVariables.h"
#include "report/TRMView.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>

namespace kestrane::report {

class TRMPage;
class TRMView;
class TRMDataset;
class TRMEMFPages;

enum TRMReportType : int { rtSimple = 0, rtMultiple = 1 };
enum TRMPreviewZoom : int { pzDefault = 0, pzPageWidth, pzOnePage, pzTwoPages };

enum TRMPreviewButton : int {
    pbZoom = 0x0001,
    pbLoad = 0x0002,
    pbSave = 0x0004,
    pbPrint = 0x0008,
    pbFind = 0x0010,
    pbPageSetup = 0x0020,
    pbExit = 0x0040,
    pbSaveToXLS = 0x0080,
    pbSuperExp = 0x0100,
    pbDesign = 0x0200,
};

struct TRMSaveReportOptions {
    bool AutoLoadSaveSetting = false;
    bool UseRegistry = false;
    QString IniFileName;
    QString RegistryPath;
};

class TRMReport : public TRMObject {
    Q_OBJECT
public:
    explicit TRMReport(QObject* parent = nullptr);
    ~TRMReport() override;

    // --- published properties -------------------------------------------------------------
    TRMSaveReportOptions SaveReportOptions;
    QString DefaultDictionaryFile;
    QString PreviewInitialDir;
    QPointer<TRMDataset> Dataset;
    int DefaultCopies = 1;
    bool DefaultCollate = true;
    int InitialZoom = pzDefault;
    bool MDIPreview = false;
    bool ModalPreview = true;
    bool ModifyPrepared = false;
    int PreviewButtons = pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbPageSetup | pbExit;
    bool PrintIfEmpty = true;
    int ReportType = rtSimple;
    bool ShowProgress = true;
    bool StoreInDFM = false;
    bool ShowPrintDialog = true;

    // --- events ---------------------------------------------------------------------------
    // Answers a name before every other source; set `handled` to give `value`.
    std::function<void(const QString& name, QVariant& value, bool& handled)> OnGetValue;
    std::function<bool(const QString& name, TRMFunctionArgs& args, QVariant& result)>
        OnUserFunction;
    std::function<void(TRMView* view)> OnBeforePrint;
    std::function<void(TRMView* view)> OnAfterPrint;
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int pageNo)> OnEndPage;
    std::function<void()> OnLoadReportSetting;
    std::function<void()> OnSaveReportSetting;

    // --- unpublished state ---------------------------------------------------------------
    TRMDataDictionary Dictionary;
    TRMVariables LocalVariables; // cleared at each preparation
    QStringList ReportInfo;      // five strings; the first is the title
    QString PrinterName = QStringLiteral("Default Printer");
    bool DoublePass = false;
    bool PrintToForm = false; // "taoda": only views marked PrintVisible print
    bool PrintPagePerPage = false;
    bool PrintBackColor = false;
    qint32 PrintOffsetTop = 0;
    qint32 PrintOffsetLeft = 0;
    QString FileName;
    QString Title() const { return ReportInfo.value(0); }

    // --- design pages ---------------------------------------------------------------------
    const QList<TRMPage*>& pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }
    TRMPage* page(int index) const;
    // Appends a new page with the default paper and margins.
    TRMPage* addPage();
    void deletePage(int index);
    // Every view of every design page named `name` (letter case ignored), first match.
    TRMView* findView(const QString& name) const;

    TRMEMFPages* EMFPages() const { return m_emfPages; }

    // Deletes all design pages, clears the dictionary, report information and double pass.
    void ClearDesign();

    // --- templates (see TRMTemplateStream) ----------------------------------------------
    // Decodes the hexadecimal template text and loads it. Messages go through the modal
    // seam; returns true when a design was loaded.
    bool LoadTemplateText(const QString& text);
    bool ReadTemplate(const QByteArray& bytes);
    QByteArray WriteTemplate() const;
    // The template as hexadecimal text ending with "#" (what tbReport stores).
    QString TemplateText() const;

    // --- prepared reports (see TRMPreparedReport) ----------------------------------------
    QByteArray SavePreparedReport() const;
    // Replaces the prepared pages, selects the stored printer and sets the print-to-form
    // flag; a wrong signature, a too new version or damage is shown and loads nothing.
    bool LoadPreparedReport(const QByteArray& bytes);
    bool SavePreparedReportToFile(const QString& path) const;
    bool LoadPreparedReportFromFile(const QString& path);

    // Texts of the messages the loaders show.
    static QString textNotReportFile() { return QStringLiteral("不是VidavuDidoroz报表文件！"); }
    static QString textNotPreparedFile() { return QStringLiteral("不是VidavuDidoroz报表文件!"); }
    static QString textUnsupportedFormat() { return QStringLiteral("不支持的rmf格式"); }
    static QString textMissingClasses(const QStringList& classes);
    // The reason of the last load failure ("template offset 1834: ..."), for logs and tests.
    QString lastLoadError() const { return m_lastLoadError; }

    // --- report settings (see TRMReportSettings.cpp) ---------------------------------------
    // Writes the print offsets, flags and page margins to the settings store of
    // SaveReportOptions, under the report's title (else its file name), when
    // AutoLoadSaveSetting is set; an OnSaveReportSetting handler replaces this. Called after a
    // print dialog changed the offsets and after the page set-up is confirmed. A store that
    // cannot be read or written is left as it was, shown as an error, and gives false.
    bool SaveReportSettings();
    static QString textSettingsNotSaved(const QString& path);
    // The user's own settings file, which stands in for the registry (UseRegistry).
    static QString userSettingsFile();

    // --- expressions --------------------------------------------------------------------
    TRMEvaluator& evaluator() { return m_evaluator; }
    // The view being computed: the default format, "VALUE" and property references use it.
    TRMView* CurrentView() const { return m_currentView; }
    void setCurrentView(TRMView* view) { m_currentView = view; }
    // The view's expanded text (Memo1) with its own format, HideZeros and TextOnly.
    QStringList expandView(TRMView* view);

    // The dataset of the band being printed: field references without components read it.
    QPointer<kestrane::Dataset> DefaultDataset;
    // The format a view prints with: its own, or, for a text-category view bound to a field
    // with a display format, the field's.
    static void effectiveFormat(const TRMView& view, uint32_t& word, QString& formatString);

    // The engine's own variable set (process-wide, distinct from the callers' set).
    static TRMVariables& engineVariables();

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;

private:
    bool propertyReference(const QString& name, QVariant& value);
    bool dictionaryValue(const QString& name, QVariant& value);
    void resetToOneEmptyPage();
    void loadReportSettings();

    QString m_lastLoadError;

    QList<TRMPage*> m_pages;
    TRMEMFPages* m_emfPages;
    TRMEvaluator m_evaluator;
    QPointer<TRMView> m_currentView;
};

} // namespace kestrane::report
