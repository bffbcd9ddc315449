#pragma once

#include "cells/cellgrid.h"
#include "cells/undocells.h"

#include <functional>
#include <string>

// The key routine both grids share, and the undo commands over a grid's
// undo list and its operation counter.
namespace cells {

enum class EditKey { Other, Delete, C, X, V };

// The platform clipboard's plain text, as the grid page reaches it.
struct ClipboardIo {
    std::function<std::u16string()> read;
    std::function<void(const std::u16string &)> write;
};

// Delete on more than one cell, Ctrl+C, Ctrl+X and Ctrl+V on the selection.
// Returns true when the key was handled (the caller then drops it, so the
// grid and its in-place editor do not see it again). `counter` is the
// grid's operation counter.
bool GridEditKeys(CellGrid &grid, TUndoCells &undo, int &counter, const Selection &sel, EditKey key, bool ctrl,
                  const ClipboardIo &clipboard);

// Ctrl+Z: one entry when the counter is 0 or less, else the last
// operation's entries, after which the counter is 0.
void UndoLastOperation(CellGrid &grid, TUndoCells &undo, int &counter);

// The "UNDO" button: `counter` entries; the counter is left as it is.
void UndoEntries(CellGrid &grid, TUndoCells &undo, int counter);

// The in-place editor takes up a cell: counter 1, then one entry.
void RecordEditStart(CellGrid &grid, TUndoCells &undo, int &counter, int col, int row);

}  // namespace cells
