#pragma once

#include "attrgrid/records.h"

#include "cells/cellgrid.h"

#include "cad/object.h"

struct AttrWriteResult {
    int written = 0;       // cells put into their attributes
    int skipped = 0;       // cells whose attribute was gone or refused the text
    bool stopped = false;  // the CAD stopped; the cells left keep their marks
};

// "更新": puts the text of every cell with an attribute reference into its
// attribute, changed or not, as one CAD undo step (the group is closed on
// every path). A cell that fails is skipped and stays changed; records of
// written cells take the cell's text.
AttrWriteResult WriteBackCells(const cad::Object &doc, AttrGridData &data);

// Enter with "Enter = 更新": writes one changed cell at once (no undo group,
// no cell undo entry) and reads the attribute's point and text back into
// its record. On failure the cell gets its record's text back through
// `grid`. Returns true when written.
bool WriteCellNow(const cad::Object &doc, AttrGridData &data, cells::CellGrid &grid, int col, int row);
