#pragma once

#include "attrgrid/records.h"

#include "cad/object.h"

#include <functional>
#include <string>

// What the page shows while a fetch runs. Every hook may be empty.
struct FetchHooks {
    std::function<void()> pump;                          // let pending window messages run
    std::function<void(int picked)> afterPick;           // the user has picked in the CAD
    std::function<void(const std::u16string &)> label;   // Label5
    std::function<void(int maximum)> progressStart;      // position 0, step 1
    std::function<void()> progressStep;                  // advance and repaint
    std::function<void(bool suspended)> suspendRepaint;  // around filling the cells
};

struct FetchOutcome {
    int picked = 0;         // block references picked (n)
    bool replaced = false;  // records and cells describe the new pick
    bool aborted = false;   // runFlag was cleared during a phase
    bool failed = false;    // a CAD error ended the fetch
};

// Lets the user pick block references (name filtered by the set's
// pattern) and fills the records and cells: phase 1 keeps the references
// that carry one of the set's tags and sorts them, phase 2 reads their
// attributes into the rows. `runFlag` is polled before each item, after
// `pump`. Nothing is picked: records and cells stay. Once the cells are
// replaced, the cell undo list is emptied and `sgUndoCnt` is 0, also
// when a CAD error ends phase 2 (the rows filled so far stay).
FetchOutcome FetchBlocks(const cad::Object &doc, const AttrSet &set, AttrGridData &data, int &sgUndoCnt,
                         const bool &runFlag, const FetchHooks &hooks);

// The prompt of the attribute definition with that tag in the first block
// definition of that name; empty when none. CAD errors reach the caller.
std::u16string GetAttPrompt(const cad::Object &doc, const std::u16string &blockName, const std::u16string &tag);

// Every text empty and every reference 0; the extent stays.
void ClearGrid(cells::CellMatrix &grid);

// The ending rule: a grid of fewer than 2 rows gets 2, row 1 empty.
void keepTwoRows(cells::CellMatrix &grid);

// HandleToObject (which takes its handle by reference); raises when the
// handle names no object.
cad::Object objectOfHandle(const cad::Object &doc, const std::u16string &handle);
