#pragma once

#include "attrgrid/records.h"
#include "cells/undocells.h"
#include "search/talvo2.h"
#include "textedit/talvo.h"

#include <string>
#include <vector>

// The main window's own state that the tab pages share. Owned by
// TTalvoMainForm, read and written only on the GUI thread.
struct MainState {
    std::vector<Talvo> textList;  // the line editor's records, paired with its lines
    int sgUndoCnt = 0;            // cell edits of the latest group in StringGrid1
    int sgUndoCnt2 = 0;           // the same for StringGrid2
    std::u16string undoText;      // editor snapshot for the editor's own undo
    bool undoFlag = false;        // a snapshot is held in undoText
    bool runFlag = false;         // a long command runs; abort buttons clear it
    bool AcadRunFlag = false;     // set by write-back and align; nothing reads it
    int iLineLast = 0;            // editor lines that count as data
    bool ATTmode = false;         // the editor holds attribute strings
    // The kind of the records in textList: the mode of the fetch that last
    // filled it. Write-back, align and the status line go by this, so a
    // fetch that set ATTmode but filled nothing cannot mismatch them.
    bool textListATTmode = false;
    int startCol = -1, startRow = -1;  // anchor of a mouse selection in StringGrid1
    int moveCol = 0, moveRow = 0;      // last cell passed during that selection
    AttrGridData attr;                 // blkList, attList, StringGrid1's cells and FUndoCells
    std::vector<Talvo2> searchList;    // the search's records, one per row of StringGrid2
    cells::TUndoCells FUndoCells2;     // cell undo of StringGrid2
};
