#include "cells/grideditkeys.h"

#include "cells/clipboardrules.h"

namespace cells {

bool GridEditKeys(CellGrid &grid, TUndoCells &undo, int &counter, const Selection &sel, EditKey key, bool ctrl,
                  const ClipboardIo &clipboard)
{
    if (key == EditKey::Delete) {
        // One cell is left to the in-place editor, which deletes characters.
        if (sel.single())
            return false;
        counter = ClearCells(grid, undo, sel);
        return true;
    }
    if (!ctrl)
        return false;
    switch (key) {
    case EditKey::C:
    case EditKey::X: {
        if (clipboard.write)
            clipboard.write(CopyText(grid, sel));
        const int count = key == EditKey::X ? ClearCells(grid, undo, sel) : 0;
        counter = count > 0 ? count : 1;
        return true;
    }
    case EditKey::V: {
        const int count = PasteText(grid, undo, sel, clipboard.read ? clipboard.read() : std::u16string());
        counter = count > 0 ? count : 1;
        return true;
    }
    default: return false;
    }
}

void UndoLastOperation(CellGrid &grid, TUndoCells &undo, int &counter)
{
    if (counter <= 0) {
        undo.Undo(grid);
        return;
    }
    UndoEntries(grid, undo, counter);
    counter = 0;
}

void UndoEntries(CellGrid &grid, TUndoCells &undo, int counter)
{
    for (int i = 0; i < counter && undo.FindLatest(grid); ++i)
        undo.Undo(grid);
}

void RecordEditStart(CellGrid &grid, TUndoCells &undo, int &counter, int col, int row)
{
    counter = 1;
    undo.Add(grid, col, row);
}

}  // namespace cells
