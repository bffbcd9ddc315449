#include "attrgrid/gui/attrgridmodel.h"

#include "ui/cellcolors.h"

#include "ui/qstr.h"

AttrGridModel::AttrGridModel(AttrGridData &data, QObject *parent) : QAbstractTableModel(parent), m_data(data)
{}

int AttrGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(m_data.cells.rowCount() - 1, 0);
}

int AttrGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(m_data.cells.colCount() - 1, 0);
}

QVariant AttrGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int col = cellCol(index), row = cellRow(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return toQ(m_data.cells.cellText(col, row));
    case kRefRole: return int(m_data.cells.ref(col, row));
    case kChangedRole: return m_data.changed(col, row);
    case Qt::BackgroundRole:
        if (m_data.cells.ref(col, row) < 1)
            return cellcolors::locked;
        return {};
    case Qt::ForegroundRole:
        if (m_data.changed(col, row))
            return cellcolors::changed;
        return {};
    default: return {};
    }
}

bool AttrGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setCellText(cellCol(index), cellRow(index), fromQ(value.toString()));
    return true;
}

QVariant AttrGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return toQ(m_data.cells.cellText(section + 1, 0));
    return toQ(m_data.cells.cellText(0, section + 1));
}

Qt::ItemFlags AttrGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Only cells that carry an attribute can be typed into.
    if (m_data.record(cellCol(index), cellRow(index)))
        f |= Qt::ItemIsEditable;
    return f;
}

void AttrGridModel::setCellText(int col, int row, std::u16string text)
{
    if (!m_data.cells.inside(col, row))
        return;
    m_data.cells.setCellText(col, row, std::move(text));
    if (m_refilling)
        return;
    if (row == 0 && col > 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0 && row > 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (col > 0 && row > 0) {
        const QModelIndex i = indexOfCell(col, row);
        emit dataChanged(i, i);
    }
}

void AttrGridModel::setCurrentCol(int col)
{
    if (moveToCol)
        moveToCol(col);
}

void AttrGridModel::setCurrentRow(int row)
{
    if (moveToRow)
        moveToRow(row);
}

void AttrGridModel::beginRefill()
{
    if (m_refilling)
        return;
    beginResetModel();
    m_refilling = true;
}

void AttrGridModel::endRefill()
{
    if (!m_refilling)
        return;
    m_refilling = false;
    endResetModel();
}

void AttrGridModel::recordsChanged()
{
    if (rowCount({}) > 0 && columnCount({}) > 0)
        emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1), {Qt::ForegroundRole, kChangedRole});
}
