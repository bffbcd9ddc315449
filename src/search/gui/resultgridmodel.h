#pragma once

#include "search/talvo2.h"

#include "cells/cellmatrix.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

// The result grid's cells as a table model: the cell store is a
// cells::CellMatrix (text and record number per row), the records are
// searchList. Colours of changed and locked rows come from here.
class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RecordNumberRole = Qt::UserRole;
    static constexpr int ChangedRole = Qt::UserRole + 1;
    static constexpr int LockedRole = Qt::UserRole + 2;

    ResultGridModel(cells::CellMatrix &grid, const std::vector<Talvo2> &list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Rebuilds the cells through `fill` (rows, texts, record numbers) as
    // one model reset.
    void reload(const std::function<void()> &fill);
    // Repaints rows whose records changed (after a write).
    void recordsChanged(int firstRow, int lastRow);

signals:
    // A cell change left its row changed (the page enables "更新").
    void rowBecameChanged();

private:
    void cellChanged(int col, int row);

    cells::CellMatrix &m_grid;
    const std::vector<Talvo2> &m_list;
    bool m_reloading = false;
};
