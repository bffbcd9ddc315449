#pragma once

#include "search/talvo2.h"

#include "cad/object.h"
#include "cells/cellmatrix.h"

#include <optional>
#include <string>
#include <vector>

// The result grid's rows and what the page does with them. The grid has
// one column; each row keeps its record number (1-based, 0: none) as the
// cell's reference, and every operation finds the record through it.

// One row per record with record numbers 1..n; with no records, one empty
// row with record number 0. The current cell goes to row 0.
void FillResultGrid(cells::CellMatrix &grid, const std::vector<Talvo2> &list);
// One empty row with record number 0, as after an aborted search.
void ClearResultGrid(cells::CellMatrix &grid);

// The record a row names, or nullptr when the row is not usable.
const Talvo2 *RecordOfRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row);
Talvo2 *RecordOfRow(std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row);

// A usable row whose cell differs from its record's text.
bool IsChangedRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row);
bool IsLockedRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row);

// What a selected row shows: Label6 "row / rows"; the handle and point of
// a usable, non-empty row (otherwise panel 0 and Label6 are cleared).
struct RowStatus {
    std::u16string label6;
    bool usable = false;
    std::u16string handle;
    double x = 0, y = 0;
    cad::Variant insPt;
};
RowStatus DescribeRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row);

// An emptied cell of a usable row shows its record's text again, so a
// text cannot be emptied from the search grid. Returns true when restored.
bool RestoreEmptiedCell(const std::vector<Talvo2> &list, cells::CellMatrix &grid, int row);

enum class RowWrite {
    Skipped,  // not usable, empty or unchanged: nothing to write
    NoCad,    // no CAD running: the cell stays changed
    Locked,   // on a locked layer: the cell shows the record's text again
    Written,  // the drawing holds the cell's text; the record follows it
    Failed,   // the write failed (e.g. the text was erased); the cell keeps the edit
};

// Enter's immediate write of one row: HandleToObject, TextString, Update,
// then InsertionPoint and TextString read back into the record. No undo
// group and no activation of the CAD window.
RowWrite WriteRowOnEnter(std::vector<Talvo2> &list, cells::CellMatrix &grid, int row);

struct UpdateCount {
    int targets = 0;  // changed rows not on a locked layer
    int written = 0;
    int locked = 0;  // changed rows on a locked layer, never written
};

// Writes every changed row in row order as one CAD undo step; a failing
// row is skipped and stays changed. Raises when StartUndoMark or
// EndUndoMark fails.
UpdateCount WriteChangedRows(const cad::Object &doc, std::vector<Talvo2> &list, const cells::CellMatrix &grid);

struct UpdateRun {
    bool wrote = false;  // the CAD part ran (the page then disables "更新")
    UpdateCount count;
};
// "更新": with records and a running CAD, attach, restore a minimised CAD
// window (not brought to the front), and write the changed rows.
UpdateRun RunUpdate(std::vector<Talvo2> &list, const cells::CellMatrix &grid);

// The summary: "更新対象の TEXT はありません．" or "w / t 個の TEXT を更新しました．",
// with a line about the locked rows when there were any.
std::u16string UpdateMessage(const UpdateCount &count);
