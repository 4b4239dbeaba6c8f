#pragma once
// The result grid of the query screen: a read-only, row-selecting table over a Dataset with
// sort markers in its titles (sorting the dataset itself when AutoSorted), a footer row with
// sums of the visible rows and the record count, frozen leading columns, the query-condition
// and filter dialogs with the condition lists they remember, the readable condition text,
// the column chooser and the per-view column layout kept in the user's INI file.
#include "conditions/ConditionRow.h"
#include "data/Dataset.h"
#include "grid/TColumnEh.h"

#include <QColor>
#include <QPointer>
#include <QTableView>
#include <memory>
#include <vector>

namespace kestrane::grid {

class DatasetGridModel;
class GridFooter;
class SortMarkerHeader;

enum TOptionEh { dghAutoSortMarking = 0x1, dghMultiSortMarking = 0x2 };

class TAdvDBGridEh : public QTableView {
    Q_OBJECT
    // The footer texts of every column, in column order (for drivers outside the module).
    Q_PROPERTY(QStringList footerValues READ footerValues)
public:
    explicit TAdvDBGridEh(QWidget* parent = nullptr);
    ~TAdvDBGridEh() override;

    // ---- data --------------------------------------------------------------------------
    // Binds the grid to a dataset (nullptr unbinds). Counts as a change of the data link.
    void setDataSet(Dataset* dataset);
    Dataset* dataSet() const { return m_dataset; }

    // ---- columns -----------------------------------------------------------------------
    int columnCount() const { return int(m_columns.size()); }
    TColumnEh* column(int index) const;
    TColumnEh* columnByField(const QString& fieldName) const;
    TColumnEh* addColumn(const QString& fieldName, const QString& caption = {}, int width = 64);
    void clearColumns();
    // The first column the user can see, nullptr when none.
    TColumnEh* firstVisibleColumn() const;

    int FrozenCols() const { return m_frozenCols; }
    void setFrozenCols(int count);

    // ---- options -----------------------------------------------------------------------
    bool AutoSorted = false;
    bool ShowSumCount = false;
    int OptionsEh = dghAutoSortMarking | dghMultiSortMarking;
    QColor footerColor() const { return m_footerColor; }
    void setFooterColor(const QColor& color);
    // Background and text colour per cell, asked for while painting (the form's
    // GetCellParams handler).
    void setCellParams(std::function<void(int row, int column, QColor& bg, QColor& text)> params);

    // ---- condition lists ---------------------------------------------------------------
    conditions::ConditionList QueryConditions;
    conditions::ConditionList FilterConditions;

    // ---- operations --------------------------------------------------------------------
    // Sorts the dataset by the marked columns.
    void ApplySorting();
    // Every column's marker back to none.
    void ClearSortMarkers();
    // Writes "合计:" + count + "条" into the first visible column's footer.
    void ShowRecordCount();
    // Readable text of both condition lists.
    QString ConditionText(const QString& extra) const;
    // Runs the condition dialog in query mode; on OK stores the rows and gives the condition.
    bool QueryConditionDialog(QString& condition, const QString& title, const QString& aliasList,
                              const QString& helpText, const QString& fieldMapText);
    // Runs the condition dialog in filter mode and applies the result as the dataset's filter.
    bool FilterDialog(const QString& title, const QString& helpText, bool visibleOnly);
    // The column chooser.
    void ChooseColumns();
    void SaveColumnLayout(const QString& fileName, const QString& section,
                          const QString& directory);
    void LoadColumnLayout(const QString& fileName, const QString& section,
                          const QString& directory);

    // The sort-marked columns in SortIndex order.
    QList<TColumnEh*> sortMarkedColumns() const;
    // A click on a column's title, with the modifiers held (what the title row reports).
    void titleClick(int columnIndex, Qt::KeyboardModifiers modifiers);
    // Recomputes the sum footers from the dataset's visible rows.
    void recalcFooters();
    QStringList footerValues() const;

    // Used by TColumnEh.
    bool isColumnVisible(int index) const;
    void setColumnVisible(int index, bool visible);
    int columnWidth(int index) const;
    void setColumnWidthOf(int index, int width);
    int indexOfColumn(const TColumnEh* column) const;

Q_SIGNALS:
    // The sort marking changed and the grid does not sort by itself.
    void OnSortMarkingChanged();
    // The user changed a column width by dragging.
    void ColWidthsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    // The table sets the margins for its headers; the footer row takes its own below.
    void updateGeometries() override;
    // When the dataset link becomes active or inactive.
    virtual void LinkActiveChanged();

private:
    void sortMarkingChanged();
    void dataChanged();
    void syncModelColumns();
    void layoutFooter();
    void updateFrozenView();
    void renumberSortIndexes(TColumnEh* newest);

    QPointer<Dataset> m_dataset;
    std::vector<std::unique_ptr<TColumnEh>> m_columns;
    DatasetGridModel* m_model;
    SortMarkerHeader* m_header;
    GridFooter* m_footer;
    QTableView* m_frozenView = nullptr;
    int m_frozenCols = 0;
    QColor m_footerColor;
    bool m_ctrlChangePending = false;
    bool m_applyingLayout = false;
    bool m_inGeometryUpdate = false;
    std::vector<QMetaObject::Connection> m_datasetConnections;
};

} // namespace kestrane::grid
