#pragma once

#include "cells/cellgrid.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cells {

// One cell: its text and the integer kept beside it (the attribute grid's
// attribute reference; 0 = none).
struct Cell {
    std::u16string text;
    std::int32_t ref = 0;
};

// A plain grid of cells with a current cell: the store behind a grid view,
// and a grid of its own in tests and benchmarks.
class CellMatrix : public CellGrid {
public:
    CellMatrix() = default;
    CellMatrix(int cols, int rows) { resize(cols, rows); }

    int colCount() const override { return m_cols; }
    int rowCount() const override { return m_rows; }
    std::u16string cellText(int col, int row) const override;
    void setCellText(int col, int row, std::u16string text) override;
    void setCurrentCol(int col) override;
    void setCurrentRow(int row) override;

    // Changes the extent; cells inside both extents keep text and reference,
    // new cells are empty. The current cell is kept inside the grid.
    void resize(int cols, int rows);
    // Empty texts and zero references everywhere; the extent stays.
    void clear();

    const Cell &cell(int col, int row) const;  // an empty cell outside the grid
    std::int32_t ref(int col, int row) const { return cell(col, row).ref; }
    void setRef(int col, int row, std::int32_t ref);

    int currentCol() const { return m_col; }
    int currentRow() const { return m_row; }
    // Runs after a move that changed the current cell.
    std::function<void()> onCurrentChanged;
    // Runs after a cell's text was set.
    std::function<void(int col, int row)> onTextChanged;

private:
    Cell *at(int col, int row);
    int m_cols = 0, m_rows = 0;
    int m_col = 0, m_row = 0;
    std::vector<Cell> m_cells;  // row by row
};

}  // namespace cells
