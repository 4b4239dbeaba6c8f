#include "query/TFrmKestrane.h"

#include "common/HostErrors.h"
#include "common/IniProfile.h"
#include "data/MemTable.h"
#include "data/RecordsetDataset.h"
#include "grid/TAdvDBGridEh.h"
#include "module/ModuleState.h"
#include "query/FieldCatalogues.h"
#include "query/ToolBarImages.h"
#include "ui/TColor.h"
#include "ui/TFrmHint.h"
#include "ui/TRopWin.h"
#include "ui/modal/CommandBoundary.h"
#include "ui/modal/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrane::query {

namespace {

const QString kCaption = QStringLiteral("已勾兑验收单明细查询");
const QString kConditionTitle = QStringLiteral("已勾兑验收单明细查询条件");
const QString kFilterTitle = QStringLiteral("已勾兑验收单明细查询过滤");
const QString kFormName = QStringLiteral("FrmKestrane");
const QColor kOddRow(196, 196, 255);
const QColor kEvenRow(221, 221, 255);

// The design-time column set shown before the first query.
const char* const kDesignColumns[] = {
    "f_Bmbm", "f_Bmmc", "f_Rzrq", "f_Djh",  "f_Dnxh",   "f_Gysbm", "f_Csmc",  "f_Spbm", "f_Spmc",
    "f_Gjje", "f_Ygsl", "f_Ygws", "f_Ygje", "f_Fptjdh", "f_Gdrq",  "f_Gdrbm", "f_Gdrmc"};

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QDateEdit* datePicker(QWidget* parent, const char* name, int x, int y) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setGeometry(x, y, 110, 21);
    picker->setDate(QDate::currentDate());
    return picker;
}

// Column width for a field: its declared size in characters, within sensible bounds.
int columnWidthFor(const FieldDef& field) {
    if (field.type == FieldType::Float)
        return 90;
    if (field.type == FieldType::Integer)
        return 64;
    return qBound(60, field.size * 7 + 8, 220);
}

} // namespace

TFrmKestrane::TFrmKestrane(QWidget* owner) : module::TFrmBase(owner) {
    setObjectName(kFormName);
    setWindowTitle(kCaption);
    setFont(QFont(QStringLiteral("宋体"), 9));
    pnlMain = PanelMain;
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    buildDatasets();
    buildLayout();
    qApp->installEventFilter(this);
    FormCreate();
}

TFrmKestrane::~TFrmKestrane() {
    qApp->removeEventFilter(this);
}

HostService TFrmKestrane::host() const {
    return HostService(module::ModuleState::instance().hostService());
}

// ---- layout ------------------------------------------------------------------------------

void TFrmKestrane::buildDatasets() {
    cdsquery = new MemTable(this);
    cdsquery->setObjectName(QStringLiteral("cdsquery"));
    CdsTemplate = new MemTable(this);
    CdsTemplate->setObjectName(QStringLiteral("CdsTemplate"));
    cdsWhere = new MemTable(this);
    cdsWhere->setObjectName(QStringLiteral("cdsWhere"));
    cdsWhere->setFieldDefs(conditionFields(QueryView::Documents));
    cdsWhere1 = new MemTable(this);
    cdsWhere1->setObjectName(QStringLiteral("cdsWhere1"));
    cdsWhere1->setFieldDefs(conditionFields(QueryView::Submissions));
    for (int v = 0; v < kQueryViewCount; ++v) {
        auto* ds = new RecordsetDataset(this);
        ds->setObjectName(resultDatasetName(QueryView(v)));
        ds->setFieldDefs(resultFields(QueryView(v)));
        m_results[std::size_t(v)] = ds;
    }
    cdsPrint = new RecordsetDataset(this);
    cdsPrint->setObjectName(QStringLiteral("cdsPrint"));
}

void TFrmKestrane::buildToolBar() {
    ToolBar1 = new QToolBar(pnlMain);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setMovable(false);
    ToolBar1->setFixedHeight(37);
    auto button = [this](const char* name, const QString& caption, int image, auto handler) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setIcon(toolBarImage(image));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFixedSize(43, 35);
        b->setFocusPolicy(Qt::NoFocus);
        ToolBar1->addWidget(b);
        connect(b, &QToolButton::clicked, this,
                [this, handler] { ui::runCommand(this, [this, handler] { (this->*handler)(); }); });
        return b;
    };
    btnSearch = button("btnSearch", QStringLiteral("查  询"), 0, &TFrmKestrane::btnSearchClick);
    btnSelect = button("btnSelect", QStringLiteral("选  择"), 1, &TFrmKestrane::btnSelectClick);
    btnCondition =
        button("btnCondition", QStringLiteral("条  件"), 2, &TFrmKestrane::btnConditionClick);
    btnCondition->setCheckable(true);
    btnFilter = button("btnFilter", QStringLiteral("过  滤"), 3, &TFrmKestrane::btnFilterClick);
    ToolBar1->addSeparator();

    Panel2 = new QFrame(ToolBar1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedSize(148, 35);
    Label25 = label(Panel2, "Label25", QStringLiteral("打印模板列表"), 2, 1);
    ChkTemplate = new QComboBox(Panel2);
    ChkTemplate->setObjectName(QStringLiteral("ChkTemplate"));
    ChkTemplate->setEditable(false);
    ChkTemplate->setGeometry(76, 0, 72, 17);
    chkNormal = new QRadioButton(QStringLiteral("普通打印"), Panel2);
    chkNormal->setObjectName(QStringLiteral("chkNormal"));
    chkNormal->setGeometry(0, 18, 74, 17);
    chktemp = new QRadioButton(QStringLiteral("模板打印"), Panel2);
    chktemp->setObjectName(QStringLiteral("chktemp"));
    chktemp->setGeometry(74, 18, 74, 17);
    chktemp->setChecked(true);
    ToolBar1->addWidget(Panel2);

    btnPreview = button("btnPreview", QStringLiteral("预  览"), 4, &TFrmKestrane::btnPreviewClick);
    btnPrint = button("btnPrint", QStringLiteral("打  印"), 5, &TFrmKestrane::btnPrintClick);
    ToolBar1->addSeparator();
    btnHelp = button("btnHelp", QStringLiteral("助  手"), 6, &TFrmKestrane::btnHelpClick);
    ToolBar1->addSeparator();
    btnExit = button("btnExit", QStringLiteral("退  出"), 7, &TFrmKestrane::btnExitClick);
}

void TFrmKestrane::buildLayout() {
    const QColor yellow = ui::toQColor(ui::kDesignYellow);
    auto* layout = new QVBoxLayout(pnlMain);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildToolBar();
    layout->addWidget(ToolBar1);

    MemoCondition = new QTextEdit(pnlMain);
    MemoCondition->setObjectName(QStringLiteral("MemoCondition"));
    MemoCondition->setReadOnly(true);
    MemoCondition->setFixedHeight(70);
    MemoCondition->setFrameShape(QFrame::NoFrame);
    MemoCondition->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoCondition->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoCondition->setLineWrapMode(QTextEdit::NoWrap);
    QFont memoFont(QStringLiteral("宋体"));
    memoFont.setPixelSize(12);
    MemoCondition->setFont(memoFont);
    MemoCondition->setStyleSheet(
        QStringLiteral("QTextEdit { background: %1; }").arg(yellow.name()));
    MemoCondition->hide();
    layout->addWidget(MemoCondition);

    Shape1 = new QFrame(pnlMain);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedHeight(1);
    Shape1->setStyleSheet(QStringLiteral("background: #008000;"));
    layout->addWidget(Shape1);

    Panel1 = new QFrame(pnlMain);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(53);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, yellow);
    Panel1->setPalette(pal);
    Label1 = label(Panel1, "Label1", QStringLiteral("勾兑日期："), 8, 7);
    FDTPStart = datePicker(Panel1, "FDTPStart", 76, 3);
    Label2 = label(Panel1, "Label2", QStringLiteral("到"), 192, 7);
    FDTPEnd = datePicker(Panel1, "FDTPEnd", 210, 3);
    Label3 = label(Panel1, "Label3", QStringLiteral("查询方式："), 8, 32);
    FCB = new QComboBox(Panel1);
    FCB->setObjectName(QStringLiteral("FCB"));
    FCB->setGeometry(76, 28, 110, 21);
    for (int v = 0; v < kQueryViewCount; ++v)
        FCB->addItem(QueryStatementBuilder::viewName(QueryView(v)));
    FCB->setCurrentIndex(0);
    connect(FCB, &QComboBox::activated, this,
            [this] { ui::runCommand(this, [this] { FCBChange(); }); });
    dgdview1 = new grid::TAdvDBGridEh(Panel1);
    dgdview1->setObjectName(QStringLiteral("dgdview1"));
    dgdview1->hide();
    layout->addWidget(Panel1);

    dgdView = new grid::TAdvDBGridEh(pnlMain);
    dgdView->setObjectName(QStringLiteral("dgdView"));
    dgdView->AutoSorted = true;
    dgdView->setFooterColor(Qt::yellow);
    dgdView->setStyleSheet(
        QStringLiteral("QTableView { background: %1; }"
                       "QHeaderView::section { color: white; background: #008000; "
                       "border: 1px solid #006000; }")
            .arg(yellow.name()));
    dgdView->setCellParams([](int row, int, QColor& background, QColor&) {
        // Record numbers count from 1: odd records darker, even ones lighter.
        background = (row + 1) % 2 == 1 ? kOddRow : kEvenRow;
    });
    connect(dgdView, &grid::TAdvDBGridEh::ColWidthsChanged, this,
            [this] { ui::runCommand(this, [this] { dgdViewColWidthsChanged(); }); });
    layout->addWidget(dgdView, 1);
    designTimeColumns();

    RopWin = new ui::TRopWin(this);
    RopWin->setObjectName(QStringLiteral("RopWin"));
    RopWin->Font = QFont(QStringLiteral("宋体"), 9);
    RopWin->Lines = helpLines();
}

void TFrmKestrane::designTimeColumns() {
    const QList<FieldDef> fields = resultFields(QueryView::Details);
    for (const char* name : kDesignColumns) {
        const int f = fieldIndexOf(fields, QString::fromLatin1(name));
        dgdView->addColumn(QString::fromLatin1(name), f >= 0 ? fields[f].displayLabel : QString(),
                           f >= 0 ? columnWidthFor(fields[f]) : 64);
    }
    dgdView->column(0)->Footer.ValueType = grid::fvtStaticText;
    dgdView->setFrozenCols(1);
}

// ---- start-up ----------------------------------------------------------------------------

void TFrmKestrane::FormCreate() {
    module::ModuleState& state = module::ModuleState::instance();
    HostService service = host();
    QVariant errors;

    m_loader = std::make_unique<params::TMirvoClass>(state.hostService(), this);
    m_info.operCode = state.operatorCode();
    QString errorText;
    if (!m_loader->GetSysmsgInfo(m_info, params::TSysParamSet{0, 1, 3, 4, 12, 61, 100},
                                 errorText)) {
        ui::ShowError(this, errorText);
        return;
    }

    QString text;
    if (service.GetCurrentDate(text, errors))
        m_values.printDate = text.left(8);
    if (service.GetCurrentDateTime(text, errors))
        m_values.printTime = text.mid(8, 6);

    if (service.OpenQuery(QueryStatementBuilder::templateListStatement(), *CdsTemplate, errors) &&
        !CdsTemplate->isEmpty()) {
        for (CdsTemplate->first(); !CdsTemplate->eof(); CdsTemplate->next())
            ChkTemplate->addItem(CdsTemplate->fieldText(u"f_Reportname"));
        ChkTemplate->setCurrentIndex(0);
    } else {
        ChkTemplate->setCurrentIndex(-1);
    }

    {
        MemTable operatorTable;
        if (service.OpenQuery(QueryStatementBuilder::operatorNameStatement(state.operatorCode()),
                              operatorTable, errors)) {
            m_values.operatorName =
                operatorTable.isEmpty() ? state.operatorCode() : operatorTable.fieldText(u"f_zymc");
        } else {
            ShowHostErrors(this, errors);
        }
    }

    m_currentView = 1;
    if (!service.GetCurrentDate(text, errors)) {
        ui::ShowError(this, QStringLiteral("取系统当前日期时出错!"));
        return;
    }
    m_values.serverDate = text;
    const QDate today(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
    if (today.isValid()) {
        FDTPStart->setDate(QDate(today.year(), today.month(), 1));
        FDTPEnd->setDate(today);
    }

    if (!service.GetSysParams(*cdsquery, errors))
        return;
    if (cdsquery->locate(u"f_Csmc", QStringLiteral("qyny"), MemTable::LocatePartialKey))
        m_values.startYearMonth = cdsquery->fieldText(u"f_Csz");
    else
        ui::ShowError(this, QStringLiteral("取系统启用日期时出错!"));
}

// ---- commands ----------------------------------------------------------------------------

QString TFrmKestrane::layoutSection() const {
    return kFormName + QString::number(m_currentView - 1);
}

void TFrmKestrane::refreshConditionText() {
    MemoCondition->clear();
    QString text = dgdview1->ConditionText(QString());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MemoCondition->append(text);
    MemoCondition->append(QStringLiteral("勾兑日期:从") + FDTPStart->date().toString("yyyyMMdd") +
                          QStringLiteral(" 到 ") + FDTPEnd->date().toString("yyyyMMdd"));
}

void TFrmKestrane::btnConditionClick() {
    MemoCondition->setVisible(!MemoCondition->isVisible());
    btnCondition->setChecked(MemoCondition->isVisible());
    refreshConditionText();
}

void TFrmKestrane::btnSelectClick() {
    dgdView->ChooseColumns();
    dgdView->SaveColumnLayout(kUserIniFile, layoutSection(), QString());
}

void TFrmKestrane::btnFilterClick() {
    try {
        if (!dgdView->FilterDialog(kFilterTitle, QString(), false))
            return;
        if (grid::TColumnEh* first = dgdView->column(0)) {
            const int count = dgdView->dataSet() ? dgdView->dataSet()->recordCount() : 0;
            first->Footer.Value =
                QStringLiteral("合计:") + QString::number(count) + QStringLiteral("条");
        }
        dgdView->viewport()->update();
        refreshConditionText();
    } catch (...) {
        // Whatever goes wrong in a filter stays quiet: the grid keeps what it showed.
    }
}

void TFrmKestrane::btnPreviewClick() {
    // Printing through templates and the grid report joins with the report engine.
}

void TFrmKestrane::btnPrintClick() {
    // Printing through templates and the grid report joins with the report engine.
}

void TFrmKestrane::btnHelpClick() {
    RopWin->ShowPopup(this);
}

void TFrmKestrane::btnExitClick() {
    close();
}

void TFrmKestrane::FCBChange() {
    if (FCB->currentText().trimmed().isEmpty())
        FCB->setCurrentIndex(0);
    m_currentView = FCB->currentIndex() + 1;
    const QString name = FCB->currentText();
    int found = -1;
    for (int i = 0; i < ChkTemplate->count(); ++i)
        if (ChkTemplate->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            found = i;
            break;
        }
    ChkTemplate->setCurrentIndex(found);
}

void TFrmKestrane::dgdViewColWidthsChanged() {
    if (!m_queryRunning)
        dgdView->SaveColumnLayout(kUserIniFile, layoutSection(), QString());
}

void TFrmKestrane::loadLayout() {
    dgdView->LoadColumnLayout(kUserIniFile, kFormName + QString::number(FCB->currentIndex()),
                              QString());
}

// ---- keys --------------------------------------------------------------------------------

// The form sees every key meant for its own controls first (dialogs it opens are other
// windows and keep their keys); the key then goes on to the control.
bool TFrmKestrane::eventFilter(QObject* watched, QEvent* e) {
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) &&
        watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(e);
        if ((widget == this || isAncestorOf(widget)) && widget->window() == window()) {
            if (e->type() == QEvent::KeyRelease) {
                m_lastKey = {};
            } else {
                // A key no control takes travels up to the parents as the same event: the
                // form runs its shortcut once, for the first receiver.
                const SeenKey current{key, key->key(), key->modifiers(), key->timestamp()};
                if (!(current == m_lastKey)) {
                    m_lastKey = current;
                    FormKeyDown(key);
                }
            }
        }
    }
    return module::TFrmBase::eventFilter(watched, e);
}

void TFrmKestrane::FormKeyDown(QKeyEvent* e) {
    auto run = [this](void (TFrmKestrane::*command)()) {
        ui::runCommand(this, [this, command] { (this->*command)(); });
    };
    if (e->modifiers() & Qt::ControlModifier) {
        if (e->key() == Qt::Key_P)
            run(&TFrmKestrane::btnPrintClick);
        else if (e->key() == Qt::Key_V)
            run(&TFrmKestrane::btnPreviewClick);
    }
    switch (e->key()) {
    case Qt::Key_Escape:
        run(&TFrmKestrane::btnExitClick);
        break;
    case Qt::Key_F1:
        run(&TFrmKestrane::btnHelpClick);
        break;
    case Qt::Key_F2:
        run(&TFrmKestrane::btnSearchClick);
        break;
    case Qt::Key_F3:
        run(&TFrmKestrane::btnSelectClick);
        break;
    case Qt::Key_F4:
        run(&TFrmKestrane::btnConditionClick);
        break;
    case Qt::Key_F5:
        run(&TFrmKestrane::btnFilterClick);
        break;
    default:
        break;
    }
}

// ---- the query ---------------------------------------------------------------------------

void TFrmKestrane::btnSearchClick() {
    const QString startMonth = FDTPStart->date().toString(QStringLiteral("yyyyMM"));
    const QString start = FDTPStart->date().toString(QStringLiteral("yyyyMMdd"));
    const QString end = FDTPEnd->date().toString(QStringLiteral("yyyyMMdd"));
    // A bound the start-up could not read has nothing to compare with: no check then.
    if (m_values.startYearMonth.isValid() && startMonth < m_values.startYearMonth.toString()) {
        ui::ShowError(this, QStringLiteral("开始日期不应小于系统启用日期"));
        return;
    }
    if (m_values.serverDate.isValid() && end > m_values.serverDate.toString()) {
        ui::ShowError(this, QStringLiteral("结束日期不应大于系统当前日期"));
        return;
    }
    if (start > end) {
        ui::ShowError(this, QStringLiteral("开始日期不应大于结束日期"));
        return;
    }

    m_queryRunning = true;
    // The hint frees itself when closed; a guarded pointer sees that.
    QPointer<ui::TFrmHint> hint;
    auto freeHint = [&hint] { delete hint.data(); };
    auto cleanUp = qScopeGuard([&] {
        freeHint();
        loadLayout();
        m_queryRunning = false;
    });

    hint = new ui::TFrmHint(this);
    hint->show();
    hint->repaint();

    const auto view = QueryView(FCB->currentIndex());
    dgdview1->setDataSet(view == QueryView::Submissions ? cdsWhere1 : cdsWhere);
    hint->hide();

    QString condition;
    if (!dgdview1->QueryConditionDialog(condition, kConditionTitle, QString(), QString(),
                                        QString()))
        return;

    hint->show();
    hint->repaint();
    refreshConditionText();

    QueryStatementRequest request;
    request.view = view;
    request.start = FDTPStart->date();
    request.end = FDTPEnd->date();
    request.condition = condition;
    request.operatorCode = module::ModuleState::instance().operatorCode();
    request.dbKind = m_info.dbType;
    const QString sql = QueryStatementBuilder::build(request);

    std::shared_ptr<Recordset> recordset;
    QVariant errors;
    if (!host().QueryData(sql, recordset, errors)) {
        freeHint();
        ShowHostErrors(this, errors);
        return;
    }
    showResult(view, std::move(recordset));
}

void TFrmKestrane::showResult(QueryView view, std::shared_ptr<Recordset> recordset) {
    dgdView->setFrozenCols(0);
    dgdView->clearColumns();

    RecordsetDataset* ds = m_results[std::size_t(view)];
    ds->setRecordset(nullptr);
    dgdView->setDataSet(ds);
    ds->createDataSet();
    ds->setRecordset(std::move(recordset));

    const QList<FieldDef> fields = ds->fields();
    for (const FieldDef& field : fields)
        dgdView->addColumn(field.name, field.displayName(), columnWidthFor(field));

    const QStringList sums = sumFooterFields(view);
    for (int i = 0; i < dgdView->columnCount(); ++i) {
        grid::TColumnEh* column = dgdView->column(i);
        column->Title.TitleButton = true;
        column->Title.SortMarker = grid::smNoneEh;
        column->Title.SortIndex = 0;
        if (i == 0)
            column->Footer.ValueType = grid::fvtStaticText;
        if (sums.contains(column->FieldName, Qt::CaseInsensitive))
            column->Footer.ValueType = grid::fvtSum;
    }
    dgdView->AutoSorted = true;
    dgdView->OptionsEh = grid::dghAutoSortMarking | grid::dghMultiSortMarking;
    dgdView->ClearSortMarkers();
    dgdView->recalcFooters();
    if (grid::TColumnEh* first = dgdView->column(0))
        first->Footer.Value =
            QStringLiteral("合计:") + QString::number(ds->recordCount()) + QStringLiteral("条");
    dgdView->viewport()->update();
    refreshConditionText();
}

// ---- help --------------------------------------------------------------------------------

QStringList TFrmKestrane::helpLines() {
    QStringList lines{QStringLiteral("快捷键:"),
                      QStringLiteral("     助  手: F1             "),
                      QStringLiteral("     查  询: F2             "),
                      QStringLiteral("     选  择: F3             "),
                      QStringLiteral("     条  件: F4             "),
                      QStringLiteral("     过  滤: F5             "),
                      QStringLiteral("     预  览: Ctrl+V         "),
                      QStringLiteral("     打  印: Ctrl+P         "),
                      QStringLiteral("     退  出: Escape         "),
                      QString(),
                      QStringLiteral("报表名称:已勾兑验收单")};
    for (int v = 0; v < kQueryViewCount; ++v) {
        const auto view = QueryView(v);
        lines << QueryStatementBuilder::viewName(view) + QStringLiteral("数据项:");
        const QList<FieldDef> fields = resultFields(view);
        for (qsizetype i = 0; i < fields.size(); i += 2) {
            QString line;
            for (qsizetype j = i; j < qMin(i + 2, fields.size()); ++j)
                line += QStringLiteral("     %1:[cdsPrint.\"%2\"]")
                            .arg(fields[j].displayLabel, fields[j].name)
                            .leftJustified(36);
            lines << line.trimmed().prepend(QStringLiteral("     "));
        }
    }
    return lines;
}

} // namespace kestrane::query
