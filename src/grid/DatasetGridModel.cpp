#include "grid/DatasetGridModel.h"

#include "data/Dataset.h"
#include "grid/NumberText.h"
#include "grid/TColumnEh.h"

namespace kestrane::grid {

DatasetGridModel::DatasetGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetGridModel::setDataset(Dataset* dataset) {
    beginResetModel();
    m_dataset = dataset;
    mapFields();
    m_rows = m_dataset && m_dataset->isActive() ? m_dataset->recordCount() : 0;
    endResetModel();
}

void DatasetGridModel::setColumns(const std::vector<TColumnEh*>& columns) {
    beginResetModel();
    m_columns = columns;
    mapFields();
    endResetModel();
}

void DatasetGridModel::reload() {
    beginResetModel();
    mapFields();
    m_rows = m_dataset && m_dataset->isActive() ? m_dataset->recordCount() : 0;
    endResetModel();
}

void DatasetGridModel::mapFields() {
    m_fields.assign(m_columns.size(), -1);
    m_numeric.assign(m_columns.size(), false);
    m_formats.assign(m_columns.size(), QString());
    if (!m_dataset)
        return;
    const QList<FieldDef> fields = m_dataset->fields();
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        const int f = fieldIndexOf(fields, m_columns[c]->FieldName);
        m_fields[c] = f;
        if (f < 0)
            continue;
        m_numeric[c] = isNumericType(fields[f].type) && fields[f].type != FieldType::Boolean;
        m_formats[c] = m_columns[c]->DisplayFormat.isEmpty() ? fields[f].displayFormat
                                                             : m_columns[c]->DisplayFormat;
    }
}

int DatasetGridModel::fieldOf(int column) const {
    return column >= 0 && std::size_t(column) < m_fields.size() ? m_fields[column] : -1;
}

int DatasetGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DatasetGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetGridModel::cellText(int row, int column) const {
    const int field = m_fields[column];
    if (field < 0 || m_dataset->isNull(row, field))
        return {};
    if (m_numeric[column] && !m_formats[column].isEmpty())
        return formatGridNumber(m_dataset->number(row, field), m_formats[column]);
    return m_dataset->displayText(row, field);
}

QVariant DatasetGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_dataset || index.row() >= m_rows)
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cellText(index.row(), column);
    case Qt::TextAlignmentRole:
        return int((m_numeric[column] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!m_cellParams)
            return {};
        QColor background, text;
        m_cellParams(index.row(), column, background, text);
        const QColor& chosen = role == Qt::BackgroundRole ? background : text;
        return chosen.isValid() ? QVariant(chosen) : QVariant();
    }
    default:
        return {};
    }
}

QVariant DatasetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        std::size_t(section) < m_columns.size())
        return m_columns[section]->caption();
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString(); // the row indicator column carries no numbers

    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DatasetGridModel::flags(const QModelIndex& index) const {
    // Read-only: cells can be selected, never edited.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace kestrane::grid
