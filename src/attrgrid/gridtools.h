#pragma once

#include "cells/cellgrid.h"
#include "cells/undocells.h"

#include "tools/number.h"
#include "tools/serial.h"

#include <string>

// The attribute grid's cell tools. Each records every cell it changes in
// the grid's undo list just before changing it and sets the grid's
// operation counter to the count (at least 1), so one Ctrl+Z takes the
// whole tool back. Each returns the count.
namespace attrgrid {

// "選択範囲のスペース以外を全角に": full width, blanks as plain spaces.
int FullWidthCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel);
// "選択範囲を半角に".
int HalfWidthCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel);
// "選択範囲を置換": always case-sensitive. An empty search changes nothing,
// records nothing and leaves the counter.
int ReplaceCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel,
                 const std::u16string &search, const std::u16string &replacement);
// "選択範囲の半角数字を加算": only cells where the rule finds a number.
// An addend of 0 changes nothing and leaves the counter.
int AddToCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel,
               const tools::AdditionOptions &options);

// The rows "連番作成" writes: from the current row to the last row when the
// selection covers one row, else the selection's rows.
struct SerialRows {
    int first = 1, last = 0;
};
SerialRows serialRows(const cells::Selection &sel, int currentRow, int lastRow);
// Writes the run's strings into column `col`, one per row, and drops those
// beyond the rows.
int SerialIntoColumn(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, int col, SerialRows rows,
                     const tools::SerialRun &run);

}  // namespace attrgrid
