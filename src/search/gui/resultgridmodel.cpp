#include "search/gui/resultgridmodel.h"

#include "search/resultrows.h"

#include "ui/cellcolors.h"
#include "ui/qstr.h"

ResultGridModel::ResultGridModel(cells::CellMatrix &grid, const std::vector<Talvo2> &list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
    , m_list(list)
{
    m_grid.onTextChanged = [this](int col, int row) { cellChanged(col, row); };
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount();
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.colCount();
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return toQ(m_grid.cell(index.column(), row).text);
    case RecordNumberRole: return m_grid.ref(index.column(), row);
    case ChangedRole: return IsChangedRow(m_list, m_grid, row);
    case LockedRole: return IsLockedRow(m_list, m_grid, row);
    case Qt::ForegroundRole: return IsChangedRow(m_list, m_grid, row) ? QVariant(cellcolors::changed) : QVariant();
    case Qt::BackgroundRole: return IsLockedRow(m_list, m_grid, row) ? QVariant(cellcolors::locked) : QVariant();
    default: return {};
    }
}

bool ResultGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_grid.setCellText(index.column(), index.row(), fromQ(value.toString()));
    return true;
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ResultGridModel::reload(const std::function<void()> &fill)
{
    beginResetModel();
    m_reloading = true;
    fill();
    m_reloading = false;
    endResetModel();
}

void ResultGridModel::recordsChanged(int firstRow, int lastRow)
{
    if (firstRow > lastRow || rowCount() == 0)
        return;
    emit dataChanged(index(firstRow, 0), index(lastRow, columnCount() - 1));
}

void ResultGridModel::cellChanged(int col, int row)
{
    if (m_reloading)
        return;
    // An emptied cell shows its record's text again at once (not only when
    // painted), so no write can ever send an empty string.
    if (RestoreEmptiedCell(m_list, m_grid, row))
        return;  // the restore reported the change itself
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
    if (IsChangedRow(m_list, m_grid, row))
        emit rowBecameChanged();
}
