#include "cells/undocells.h"

#include <algorithm>
#include <iterator>

namespace cells {

TUndoCell *TUndoCells::FindLatest(const CellGrid &aGrid) const
{
    // Levels rise in list order within a grid, so the highest level is the
    // grid's last entry; searching from the back keeps Add and Undo cheap.
    for (auto it = FList.rbegin(); it != FList.rend(); ++it)
        if ((*it)->FGrid == &aGrid)
            return it->get();
    return nullptr;
}

TUndoCell *TUndoCells::FindOldest(const CellGrid &aGrid) const
{
    for (const auto &e : FList)
        if (e->FGrid == &aGrid)
            return e.get();
    return nullptr;
}

std::int32_t TUndoCells::DropOldest(const CellGrid &aGrid)
{
    auto oldest = std::find_if(FList.begin(), FList.end(), [&](const auto &e) { return e->FGrid == &aGrid; });
    if (oldest == FList.end())
        return 0;
    FList.erase(oldest);
    std::int32_t level = 0;
    for (const auto &e : FList)
        if (e->FGrid == &aGrid)
            e->FUndoLevel = level++;
    return level;
}

TUndoCell *TUndoCells::Add(CellGrid &aGrid, std::int32_t ACol, std::int32_t ARow)
{
    if (!aGrid.inside(ACol, ARow))
        return nullptr;
    auto entry = std::make_unique<TUndoCell>(&aGrid, aGrid.cellText(ACol, ARow), ACol, ARow);
    std::int32_t level = 0;
    if (const TUndoCell *latest = FindLatest(aGrid)) {
        level = latest->FUndoLevel + 1;
        if (FUndoLevels > 0 && level > FUndoLevels - 1)
            level = DropOldest(aGrid);
    }
    entry->FUndoLevel = level;
    FList.push_back(std::move(entry));
    return FList.back().get();
}

void TUndoCells::Undo(CellGrid &aGrid)
{
    TUndoCell *e = FindLatest(aGrid);
    if (!e)
        return;
    // The newest entry lies at or near the end of the list.
    auto rit = std::find_if(FList.rbegin(), FList.rend(), [&](const auto &p) { return p.get() == e; });
    auto it = std::prev(rit.base());
    std::unique_ptr<TUndoCell> owned = std::move(*it);
    FList.erase(it);
    // A grid that shrank since the entry was made: the entry goes, and no
    // cell outside the grid becomes current.
    if (!aGrid.inside(owned->FX, owned->FY))
        return;
    aGrid.setCellText(owned->FX, owned->FY, owned->FText);
    aGrid.setCurrentCol(owned->FX);
    aGrid.setCurrentRow(owned->FY);
}

}  // namespace cells
