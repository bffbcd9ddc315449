#pragma once

#include <string>

namespace cells {

// A rectangle of cells, inclusive on all sides (Left <= Right, Top <= Bottom).
struct Selection {
    int left = 0, top = 0, right = 0, bottom = 0;

    int columns() const { return right - left + 1; }
    int rows() const { return bottom - top + 1; }
    bool single() const { return left == right && top == bottom; }
    bool contains(int col, int row) const { return col >= left && col <= right && row >= top && row <= bottom; }
};

// What the cell undo list and the clipboard rules need of a string grid:
// texts by (column, row), the grid's extent, and moving its current cell.
// The attribute grid and the search grid each implement it over their model.
class CellGrid {
public:
    virtual ~CellGrid() = default;

    virtual int colCount() const = 0;
    virtual int rowCount() const = 0;
    // Cells outside the grid read as empty.
    virtual std::u16string cellText(int col, int row) const = 0;
    virtual void setCellText(int col, int row, std::u16string text) = 0;
    // Each move that changes the current cell runs the grid's
    // cell-selected behaviour (status panels, view centring).
    virtual void setCurrentCol(int col) = 0;
    virtual void setCurrentRow(int row) = 0;

    bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < colCount() && row < rowCount(); }
};

}  // namespace cells
