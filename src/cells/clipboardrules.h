#pragma once

#include "cells/cellgrid.h"
#include "cells/undocells.h"

#include <string>
#include <string_view>
#include <vector>

// The grids' clipboard text: one line per row, each ended by CR LF, the
// cells of a line separated by TAB. Every change goes through the cell
// undo list, one entry per cell, recorded just before the cell changes.
namespace cells {

// One grid operation under the undo protocol: records each cell before
// changing it and counts it. Cells outside the grid are neither changed
// nor recorded nor counted.
class CellOperation {
public:
    CellOperation(CellGrid &grid, TUndoCells &undo) : m_grid(grid), m_undo(undo) {}

    bool change(int col, int row, std::u16string text);
    int count() const { return m_count; }
    // What the grid's operation counter becomes: the count, at least 1.
    int counter() const { return m_count > 0 ? m_count : 1; }

private:
    CellGrid &m_grid;
    TUndoCells &m_undo;
    int m_count = 0;
};

// The selection's texts, row by row: TAB after each cell but the last of
// its row, CR LF after the last.
std::u16string CopyText(const CellGrid &grid, const Selection &sel);

// The lines before each CR LF; text after the last CR LF is not a line.
std::vector<std::u16string> ClipboardLines(std::u16string_view text);

// A line's pieces between TABs: at least one, an empty one after a final TAB.
std::vector<std::u16string> LinePieces(std::u16string_view line);

// Empties every cell of the selection, row by row. Returns the count.
int ClearCells(CellGrid &grid, TUndoCells &undo, const Selection &sel);

// Pastes the clipboard block with its top-left piece at the selection's
// top-left cell, and repeats it downwards while it fits within the
// selection's bottom row (never sideways). Pieces that fall beyond the
// grid's last column or row are dropped. Returns the count of cells written.
int PasteText(CellGrid &grid, TUndoCells &undo, const Selection &sel, std::u16string_view text);

}  // namespace cells
