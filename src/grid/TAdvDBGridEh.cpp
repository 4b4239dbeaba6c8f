#include "grid/TAdvDBGridEh.h"

#include "data/Dataset.h"
#include "data/MemTable.h"
#include "data/RecordsetDataset.h"
#include "grid/DatasetGridModel.h"
#include "grid/GridFooter.h"
#include "grid/NumberText.h"
#include "grid/SortMarkerHeader.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

namespace kestrane::grid {

namespace {
constexpr int kRowHeight = 18;
const QString kCustomIndex = QStringLiteral("customindex");
} // namespace

TAdvDBGridEh::TAdvDBGridEh(QWidget* parent)
    : QTableView(parent), m_model(new DatasetGridModel(this)), m_header(new SortMarkerHeader(this)),
      m_footer(new GridFooter(this)), m_footerColor(palette().color(QPalette::Button)) {
    setHorizontalHeader(m_header);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(12);
    m_header->setMinimumSectionSize(1);
    m_header->setFixedHeight(kRowHeight + 2);

    connect(m_header, &SortMarkerHeader::titleClicked, this, &TAdvDBGridEh::titleClick);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (m_frozenView && logical < m_frozenCols)
            m_frozenView->setColumnWidth(logical, size);
        updateFrozenView();
        m_footer->update();
    });
    connect(m_header, &SortMarkerHeader::columnsResizedByUser, this, [this] {
        if (!m_applyingLayout)
            Q_EMIT ColWidthsChanged();
    });
}

TAdvDBGridEh::~TAdvDBGridEh() {
    for (const auto& c : m_datasetConnections)
        disconnect(c);
}

// ---- data ------------------------------------------------------------------------------

void TAdvDBGridEh::setDataSet(Dataset* dataset) {
    for (const auto& c : m_datasetConnections)
        disconnect(c);
    m_datasetConnections.clear();
    m_dataset = dataset;
    m_model->setDataset(dataset);
    if (dataset) {
        m_datasetConnections.push_back(
            connect(dataset, &Dataset::changed, this, &TAdvDBGridEh::dataChanged));
        m_datasetConnections.push_back(
            connect(dataset, &Dataset::activeChanged, this, [this] { LinkActiveChanged(); }));
    }
    LinkActiveChanged();
}

void TAdvDBGridEh::dataChanged() {
    m_model->reload();
    recalcFooters();
}

void TAdvDBGridEh::LinkActiveChanged() {
    m_model->reload();
    ClearSortMarkers();
    recalcFooters();
    if (ShowSumCount)
        ShowRecordCount();
}

// ---- columns ---------------------------------------------------------------------------

TColumnEh* TAdvDBGridEh::column(int index) const {
    return index >= 0 && index < columnCount() ? m_columns[std::size_t(index)].get() : nullptr;
}

TColumnEh* TAdvDBGridEh::columnByField(const QString& fieldName) const {
    for (const auto& c : m_columns)
        if (c->FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
}

TColumnEh* TAdvDBGridEh::addColumn(const QString& fieldName, const QString& caption, int width) {
    m_columns.push_back(std::make_unique<TColumnEh>(this, fieldName));
    TColumnEh* c = m_columns.back().get();
    c->Title.Caption = caption;
    c->m_hiddenWidth = width;
    syncModelColumns();
    setColumnWidth(columnCount() - 1, width);
    return c;
}

void TAdvDBGridEh::clearColumns() {
    m_columns.clear();
    syncModelColumns();
}

void TAdvDBGridEh::syncModelColumns() {
    // Widths and visibility live in the header; keep them across the model reset.
    std::vector<int> widths;
    std::vector<bool> hidden;
    for (int i = 0; i < m_model->columnCount(); ++i) {
        widths.push_back(i < columnCount() ? columnWidth(i) : m_header->sectionSize(i));
        hidden.push_back(m_header->isSectionHidden(i));
    }
    std::vector<TColumnEh*> raw;
    for (const auto& c : m_columns)
        raw.push_back(c.get());
    m_model->setColumns(raw);
    for (std::size_t i = 0; i < widths.size() && i < m_columns.size(); ++i) {
        setColumnWidth(int(i), widths[i]);
        setColumnHidden(int(i), hidden[i]);
    }
    recalcFooters();
    updateFrozenView();
}

TColumnEh* TAdvDBGridEh::firstVisibleColumn() const {
    for (const auto& c : m_columns)
        if (c->Visible())
            return c.get();
    return nullptr;
}

int TAdvDBGridEh::indexOfColumn(const TColumnEh* column) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].get() == column)
            return int(i);
    return -1;
}

bool TAdvDBGridEh::isColumnVisible(int index) const {
    return !isColumnHidden(index);
}

// A hidden section has no size in the view; the column keeps the width it shows again with.
void TAdvDBGridEh::setColumnVisible(int index, bool visible) {
    TColumnEh* c = column(index);
    if (!c || visible == !isColumnHidden(index))
        return;
    if (!visible)
        c->m_hiddenWidth = m_header->sectionSize(index);
    setColumnHidden(index, !visible);
    if (visible)
        setColumnWidth(index, c->m_hiddenWidth);
    updateFrozenView();
    m_footer->update();
}

int TAdvDBGridEh::columnWidth(int index) const {
    const TColumnEh* c = column(index);
    if (!c)
        return 0;
    return isColumnHidden(index) ? c->m_hiddenWidth : m_header->sectionSize(index);
}

void TAdvDBGridEh::setColumnWidthOf(int index, int width) {
    TColumnEh* c = column(index);
    if (!c)
        return;
    if (isColumnHidden(index))
        c->m_hiddenWidth = width;
    else
        setColumnWidth(index, width);
}

void TAdvDBGridEh::setFrozenCols(int count) {
    m_frozenCols = qMax(0, count);
    updateFrozenView();
}

void TAdvDBGridEh::setFooterColor(const QColor& color) {
    m_footerColor = color;
    m_footer->update();
}

void TAdvDBGridEh::setCellParams(
    std::function<void(int row, int column, QColor& bg, QColor& text)> params) {
    m_model->setCellParams(std::move(params));
    viewport()->update();
}

// ---- frozen columns ----------------------------------------------------------------------

// Frozen columns are a second view over the same model, laid over the left of the grid,
// showing only the leading columns and scrolling vertically with the grid.
void TAdvDBGridEh::updateFrozenView() {
    if (m_frozenCols <= 0) {
        if (m_frozenView)
            m_frozenView->hide();
        return;
    }
    if (!m_frozenView) {
        m_frozenView = new QTableView(this);
        m_frozenView->setObjectName(QStringLiteral("FrozenColumns"));
        m_frozenView->setModel(m_model);
        m_frozenView->setSelectionModel(selectionModel());
        m_frozenView->setFocusPolicy(Qt::NoFocus);
        m_frozenView->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_frozenView->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_frozenView->verticalHeader()->hide();
        m_frozenView->horizontalHeader()->setSectionsClickable(false);
        m_frozenView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozenView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozenView->verticalHeader()->setDefaultSectionSize(kRowHeight);
        m_frozenView->horizontalHeader()->setFixedHeight(kRowHeight + 2);
        m_frozenView->setStyleSheet(QStringLiteral("QTableView { border: none; }"));
        connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozenView->verticalScrollBar(),
                &QScrollBar::setValue);
    }
    int width = 0;
    for (int i = 0; i < m_model->columnCount(); ++i) {
        const bool frozen = i < m_frozenCols && !isColumnHidden(i);
        m_frozenView->setColumnHidden(i, !frozen);
        if (frozen) {
            m_frozenView->setColumnWidth(i, m_header->sectionSize(i));
            width += m_header->sectionSize(i);
        }
    }
    m_frozenView->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                              viewport()->height() + m_header->height());
    m_frozenView->setVisible(width > 0);
    m_frozenView->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

// ---- footer ------------------------------------------------------------------------------

void TAdvDBGridEh::layoutFooter() {
    const QRect vp = viewport()->geometry();
    m_footer->setGeometry(frameWidth(), vp.bottom() + 1, width() - 2 * frameWidth(),
                          kRowHeight + 1);
}

void TAdvDBGridEh::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    layoutFooter();
    updateFrozenView();
}

void TAdvDBGridEh::updateGeometries() {
    QTableView::updateGeometries();
    if (m_inGeometryUpdate)
        return;
    m_inGeometryUpdate = true;
    const QMargins margins = viewportMargins();
    if (margins.bottom() != kRowHeight + 1)
        setViewportMargins(margins.left(), margins.top(), margins.right(), kRowHeight + 1);
    layoutFooter();
    m_inGeometryUpdate = false;
}

void TAdvDBGridEh::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    m_footer->update();
}

void TAdvDBGridEh::recalcFooters() {
    const bool open = m_dataset && m_dataset->isActive();
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        TColumnEh* c = m_columns[i].get();
        if (c->Footer.ValueType != fvtSum)
            continue;
        const int field = m_model->fieldOf(int(i));
        if (!open || field < 0) {
            c->Footer.Value.clear();
            continue;
        }
        const QString format = c->DisplayFormat.isEmpty() ? m_dataset->fields()[field].displayFormat
                                                          : c->DisplayFormat;
        c->Footer.Value = formatGridNumber(m_dataset->sum(field), format);
    }
    m_footer->update();
}

QStringList TAdvDBGridEh::footerValues() const {
    QStringList values;
    for (const auto& c : m_columns)
        values << c->Footer.Value;
    return values;
}

void TAdvDBGridEh::ShowRecordCount() {
    if (!m_dataset || !m_dataset->isActive())
        return;
    const int count = m_dataset->recordCount();
    for (const auto& c : m_columns)
        if (c->Footer.ValueType == fvtStaticText &&
            c->Footer.Value.contains(QStringLiteral("合计")))
            c->Footer.Value.clear();
    if (TColumnEh* first = firstVisibleColumn()) {
        if (first->Footer.ValueType == fvtStaticText || first->Footer.ValueType == fvtNon) {
            first->Footer.ValueType = fvtStaticText;
            first->Footer.Value =
                QStringLiteral("合计:") + QString::number(count) + QStringLiteral("条");
        }
    }
    m_footer->update();
}

// ---- sorting -----------------------------------------------------------------------------

QList<TColumnEh*> TAdvDBGridEh::sortMarkedColumns() const {
    QList<TColumnEh*> marked;
    for (const auto& c : m_columns)
        if (c->Title.SortMarker != smNoneEh)
            marked.append(c.get());
    std::stable_sort(marked.begin(), marked.end(), [](const TColumnEh* a, const TColumnEh* b) {
        return a->Title.SortIndex < b->Title.SortIndex;
    });
    return marked;
}

void TAdvDBGridEh::ClearSortMarkers() {
    for (const auto& c : m_columns) {
        c->Title.SortMarker = smNoneEh;
        c->Title.SortIndex = 0;
    }
    m_header->viewport()->update();
}

// Marked columns keep their order; the newest goes last.
void TAdvDBGridEh::renumberSortIndexes(TColumnEh* newest) {
    QList<TColumnEh*> marked;
    for (TColumnEh* c : sortMarkedColumns())
        if (c != newest)
            marked.append(c);
    if (newest && newest->Title.SortMarker != smNoneEh)
        marked.append(newest);
    for (const auto& c : m_columns)
        c->Title.SortIndex = 0;
    for (qsizetype i = 0; i < marked.size(); ++i)
        marked[i]->Title.SortIndex = int(i + 1);
}

void TAdvDBGridEh::titleClick(int columnIndex, Qt::KeyboardModifiers modifiers) {
    TColumnEh* clicked = column(columnIndex);
    if (!clicked || !(OptionsEh & dghAutoSortMarking) || !clicked->Title.TitleButton)
        return;
    const bool multi = (modifiers & Qt::ControlModifier) && (OptionsEh & dghMultiSortMarking);
    TSortMarkerEh& marker = clicked->Title.SortMarker;
    if (!multi) {
        for (const auto& c : m_columns)
            if (c.get() != clicked) {
                c->Title.SortMarker = smNoneEh;
                c->Title.SortIndex = 0;
            }
        marker = marker == smDownEh ? smUpEh : smDownEh;
        clicked->Title.SortIndex = 1;
        m_header->viewport()->update();
        sortMarkingChanged();
        return;
    }
    const bool wasMarked = marker != smNoneEh;
    marker = marker == smNoneEh ? smDownEh : marker == smDownEh ? smUpEh : smNoneEh;
    renumberSortIndexes(wasMarked ? nullptr : clicked);
    m_header->viewport()->update();
    // Ctrl clicks are reported together, once, when Ctrl is released.
    if (!m_ctrlChangePending) {
        m_ctrlChangePending = true;
        qApp->installEventFilter(this);
    }
}

bool TAdvDBGridEh::eventFilter(QObject* watched, QEvent* e) {
    if (m_ctrlChangePending && e->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Control) {
        m_ctrlChangePending = false;
        qApp->removeEventFilter(this);
        sortMarkingChanged();
    }
    return QTableView::eventFilter(watched, e);
}

void TAdvDBGridEh::sortMarkingChanged() {
    if (AutoSorted)
        ApplySorting();
    else
        Q_EMIT OnSortMarkingChanged();
}

void TAdvDBGridEh::ApplySorting() {
    if (!m_dataset || !m_dataset->isActive() || m_dataset->isEmpty())
        return;
    const QList<TColumnEh*> marked = sortMarkedColumns();
    if (marked.isEmpty())
        return;
    QString keys, descending, sortText;
    for (const TColumnEh* c : marked) {
        keys += c->FieldName + u';';
        if (c->Title.SortMarker != smUpEh)
            descending += c->FieldName + u';';
        sortText += c->FieldName + (c->Title.SortMarker == smUpEh ? QStringLiteral(" ASC,")
                                                                  : QStringLiteral(" DESC,"));
    }
    keys.chop(1);
    if (!descending.isEmpty())
        descending.chop(1);
    sortText.chop(1);

    // Markers survive the re-sort: only a new data link clears them.
    if (auto* table = qobject_cast<MemTable*>(m_dataset.data())) {
        while (table->deleteIndex(kCustomIndex)) {
        }
        table->addIndex(kCustomIndex, keys, descending, true);
        table->setIndexName(kCustomIndex);
    } else if (auto* recordset = qobject_cast<RecordsetDataset*>(m_dataset.data())) {
        recordset->setSort(QString());
        recordset->setSort(sortText);
    }
}

// ---- condition text --------------------------------------------------------------------

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString conditionLines(const conditions::ConditionList& rows) {
    QString text;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const conditions::ConditionRow& row = rows[i];
        if (i % 2 == 0)
            text += QStringLiteral("    ") + row.Caption + u':' + row.Op + row.Value;
        else
            text += row.Logic + kCrLf;
    }
    return text;
}
} // namespace

QString TAdvDBGridEh::ConditionText(const QString& extra) const {
    QString text;
    if (!QueryConditions.isEmpty()) {
        text += QStringLiteral("查询条件:") + kCrLf;
        if (!extra.isEmpty())
            text += QStringLiteral("    ") + extra + QStringLiteral("并且") + kCrLf;
        text += conditionLines(QueryConditions) + kCrLf;
    } else if (!extra.isEmpty()) {
        text += QStringLiteral("查询条件:") + kCrLf + QStringLiteral("    ") + extra + kCrLf;
    }
    if (!FilterConditions.isEmpty())
        text += QStringLiteral("过滤条件:") + kCrLf + conditionLines(FilterConditions);
    return text;
}

} // namespace kestrane::grid
