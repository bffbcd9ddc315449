#pragma once

#include "attrgrid/records.h"

#include "cells/cellgrid.h"

#include <QAbstractTableModel>

#include <functional>

// StringGrid1's model over the tab's cells. Row 0 and column 0 of the
// cells (the fixed ones) are the header sections; model index (r, c) is
// cell (c + 1, r + 1). Each index carries its attribute reference under
// Qt::UserRole. As a cells::CellGrid it speaks in cell coordinates, so
// the cell undo list and the clipboard rules work on it directly.
class AttrGridModel : public QAbstractTableModel, public cells::CellGrid {
    Q_OBJECT
public:
    static constexpr int kRefRole = Qt::UserRole;
    static constexpr int kChangedRole = Qt::UserRole + 1;

    explicit AttrGridModel(AttrGridData &data, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // cells::CellGrid, in cell coordinates (fixed row and column included).
    int colCount() const override { return m_data.cells.colCount(); }
    int rowCount() const override { return m_data.cells.rowCount(); }
    std::u16string cellText(int col, int row) const override { return m_data.cells.cellText(col, row); }
    void setCellText(int col, int row, std::u16string text) override;
    void setCurrentCol(int col) override;
    void setCurrentRow(int row) override;

    // Where the page moves the view's current cell (undo does it).
    std::function<void(int col)> moveToCol;
    std::function<void(int row)> moveToRow;

    QModelIndex indexOfCell(int col, int row) const { return index(row - 1, col - 1); }
    static int cellCol(const QModelIndex &i) { return i.column() + 1; }
    static int cellRow(const QModelIndex &i) { return i.row() + 1; }

    // A fetch rewrites the cells behind the model's back between these.
    void beginRefill();
    void endRefill();
    // Records changed (a write-back): the changed marks are redrawn.
    void recordsChanged();

private:
    AttrGridData &m_data;
    bool m_refilling = false;
};
