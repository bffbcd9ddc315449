#pragma once

#include "cells/undocells.h"
#include "search/talvo2.h"

#include <string>
#include <vector>

// The main window's own state that the tab pages share. Owned by
// TTalvoMainForm, read and written only on the GUI thread.
struct MainState {
    int sgUndoCnt = 0;        // cell edits of the latest group in StringGrid1
    int sgUndoCnt2 = 0;       // the same for StringGrid2
    std::u16string undoText;  // editor snapshot for the editor's own undo
    bool undoFlag = false;    // a snapshot is held in undoText
    bool runFlag = false;     // a long command runs; abort buttons clear it
    bool AcadRunFlag = false; // set by write-back and align; nothing reads it
    int iLineLast = 0;        // editor lines that count as data
    bool ATTmode = false;     // the editor holds attribute strings
    int startCol = -1, startRow = -1;  // anchor of a mouse selection in StringGrid1
    int moveCol = -1, moveRow = -1;    // last cell passed during that selection
    std::vector<Talvo2> searchList;    // the search's records, one per row of StringGrid2
    cells::TUndoCells FUndoCells2;     // cell undo of StringGrid2
};
