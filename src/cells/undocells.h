#pragma once

#include "cells/cellgrid.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cells {

// One recorded cell: the text it had before a change, and where it was.
class TUndoCell {
public:
    TUndoCell(CellGrid *grid, std::u16string text, std::int32_t x, std::int32_t y)
        : FGrid(grid)
        , FText(std::move(text))
        , FX(x)
        , FY(y)
    {}

    CellGrid *Grid() const { return FGrid; }
    const std::u16string &Text() const { return FText; }
    std::int32_t X() const { return FX; }
    std::int32_t Y() const { return FY; }
    std::int32_t UndoLevel() const { return FUndoLevel; }

private:
    friend class TUndoCells;
    CellGrid *FGrid;  // not owned
    std::u16string FText;
    std::int32_t FX;
    std::int32_t FY;
    std::int32_t FUndoLevel = 0;
};

// The cell undo history of one or more grids, oldest entry first. The k
// entries of one grid carry the levels 0 .. k-1 in list order, so a grid's
// newest entry is its last one in the list.
class TUndoCells {
public:
    TUndoCells() = default;
    TUndoCells(const TUndoCells &) = delete;
    TUndoCells &operator=(const TUndoCells &) = delete;

    // Records the cell's current text; call it before changing the cell.
    // Returns the new entry (the history keeps it), or nullptr for a cell
    // outside the grid, which is never recorded.
    TUndoCell *Add(CellGrid &aGrid, std::int32_t ACol, std::int32_t ARow);
    // Puts back the grid's newest entry and makes its cell current (column
    // first, then row); nothing when the grid has no entry.
    void Undo(CellGrid &aGrid);
    void Clear() { FList.clear(); }

    int Count() const { return int(FList.size()); }
    const TUndoCell &Items(int i) const { return *FList[std::size_t(i)]; }

    // The most entries kept per grid; 0 means no limit.
    std::int32_t UndoLevels() const { return FUndoLevels; }
    void setUndoLevels(std::int32_t levels) { FUndoLevels = levels; }

    // The grid's entry with the highest level, or nullptr.
    TUndoCell *FindLatest(const CellGrid &aGrid) const;
    // The grid's first entry in list order, or nullptr.
    TUndoCell *FindOldest(const CellGrid &aGrid) const;
    // Frees the grid's oldest entry and renumbers the rest 0, 1, ...;
    // returns how many remain (0 when there was none).
    std::int32_t DropOldest(const CellGrid &aGrid);

private:
    std::vector<std::unique_ptr<TUndoCell>> FList;
    std::int32_t FUndoLevels = 0;
};

}  // namespace cells
