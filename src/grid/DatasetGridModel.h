#pragma once
// The grid's table model: a virtual view over a Dataset. Model rows are the dataset's visible
// rows, model columns the grid's columns; nothing is copied, each cell is read from the
// dataset's columns when the view paints it, so a million rows cost nothing here.
#include "data/Dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <functional>
#include <vector>

namespace kestrane::grid {

class TColumnEh;

class DatasetGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Background and text colour of a cell, decided by the grid's owner.
    using CellParams = std::function<void(int row, int column, QColor& background, QColor& text)>;

    explicit DatasetGridModel(QObject* parent = nullptr);

    void setDataset(Dataset* dataset);
    Dataset* dataset() const { return m_dataset; }
    // The columns in display order (owned by the grid). Call after any change of the list.
    void setColumns(const std::vector<TColumnEh*>& columns);
    void setCellParams(CellParams params) { m_cellParams = std::move(params); }

    // Field index of a model column in the dataset, -1 when the dataset has no such field.
    int fieldOf(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dataset changed its rows, filter or order: everything is read again.
    void reload();

private:
    QString cellText(int row, int column) const;
    void mapFields();

    QPointer<Dataset> m_dataset;
    std::vector<TColumnEh*> m_columns;
    std::vector<int> m_fields;   // per column: field index or -1
    std::vector<bool> m_numeric; // per column: right-aligned, formatted number
    std::vector<QString> m_formats;
    CellParams m_cellParams;
    int m_rows = 0;
};

} // namespace kestrane::grid
