#pragma once
// The query screen "已勾兑验收单明细查询": a date range and one of six views, the condition
// dialog, the host query month by month, and the result grid with its totals, sorting,
// filter, column chooser and remembered layout.
#include "module/HostService.h"
#include "module/TFrmBase.h"
#include "params/TMirvoClass.h"
#include "params/TsysmsgInfo.h"
#include "query/QueryStatementBuilder.h"

#include <QVariant>
#include <array>
#include <memory>

class QComboBox;
class QDateEdit;
class QFrame;
class QKeyEvent;
class QLabel;
class QRadioButton;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace kestrane {
class MemTable;
class RecordsetDataset;
} // namespace kestrane

namespace kestrane::grid {
class TAdvDBGridEh;
}

namespace kestrane::ui {
class TRopWin;
}

namespace kestrane::query {

// Values the screen takes at start-up and its printing reads later.
struct TFrmKestraneValues {
    QString printDate; // YYYYMMDD
    QString printTime; // HHMMSS
    QString operatorName;
    QVariant serverDate;     // the whole text of the host's date: the end date's bound
    QVariant startYearMonth; // "qyny": the start date's bound
};

class TFrmKestrane : public module::TFrmBase {
    Q_OBJECT
public:
    explicit TFrmKestrane(QWidget* owner);
    ~TFrmKestrane() override;

    QWidget* contentPanel() const override { return pnlMain; }

    // ---- state -------------------------------------------------------------------------
    int currentView() const { return m_currentView; } // 1 .. 6
    bool queryRunning() const { return m_queryRunning; }
    const TFrmKestraneValues& values() const { return m_values; }
    const params::TsysmsgInfo& sysmsgInfo() const { return m_info; }
    // Result dataset of a view (0-based position in FCB).
    RecordsetDataset* resultDataset(int view) const { return m_results[std::size_t(view)]; }
    // INI section of the current view's grid layout ("FrmKestrane0" .. "FrmKestrane5").
    QString layoutSection() const;
    // The whole text of the shortcut help.
    static QStringList helpLines();

    // ---- commands ----------------------------------------------------------------------
    void btnSearchClick();
    void btnSelectClick();
    void btnConditionClick();
    void btnFilterClick();
    void btnPreviewClick();
    void btnPrintClick();
    void btnHelpClick();
    void btnExitClick();
    void FCBChange();
    void refreshConditionText();

    // ---- components --------------------------------------------------------------------
    QWidget* pnlMain;
    QToolBar* ToolBar1;
    QToolButton* btnSearch;
    QToolButton* btnSelect;
    QToolButton* btnCondition;
    QToolButton* btnFilter;
    QFrame* Panel2;
    QLabel* Label25;
    QComboBox* ChkTemplate;
    QRadioButton* chkNormal;
    QRadioButton* chktemp;
    QToolButton* btnPreview;
    QToolButton* btnPrint;
    QToolButton* btnHelp;
    QToolButton* btnExit;
    QTextEdit* MemoCondition;
    QFrame* Shape1;
    QFrame* Panel1;
    QLabel* Label1;
    QDateEdit* FDTPStart;
    QLabel* Label2;
    QDateEdit* FDTPEnd;
    QLabel* Label3;
    QComboBox* FCB;
    grid::TAdvDBGridEh* dgdview1;
    grid::TAdvDBGridEh* dgdView;
    ui::TRopWin* RopWin;
    MemTable* cdsquery;
    MemTable* CdsTemplate;
    MemTable* cdsWhere;
    MemTable* cdsWhere1;
    RecordsetDataset* cdsPrint;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildLayout();
    void buildToolBar();
    void buildDatasets();
    void designTimeColumns();
    void FormCreate();
    // Runs a key through the form's shortcuts before its controls see it.
    void FormKeyDown(QKeyEvent* e);
    void dgdViewColWidthsChanged();
    void showResult(QueryView view, std::shared_ptr<Recordset> recordset);
    void loadLayout();
    HostService host() const;

    std::unique_ptr<params::TMirvoClass> m_loader;
    params::TsysmsgInfo m_info;
    TFrmKestraneValues m_values;
    std::array<RecordsetDataset*, kQueryViewCount> m_results{};
    int m_currentView = 1;
    bool m_queryRunning = false;
    struct SeenKey {
        const QKeyEvent* event = nullptr;
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        quint64 timestamp = 0;
        bool operator==(const SeenKey&) const = default;
    };
    SeenKey m_lastKey;
};

} // namespace kestrane::query
