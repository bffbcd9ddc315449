#include "cells/cellmatrix.h"
#include "cells/grideditkeys.h"
#include "cells/undocells.h"

#include <gtest/gtest.h>

using cells::CellMatrix;
using cells::TUndoCells;

namespace {

// A grid that logs every move of its current cell.
struct Grid : CellMatrix {
    Grid() : CellMatrix(6, 8)
    {
        onCurrentChanged = [this] { moves.emplace_back(currentCol(), currentRow()); };
    }
    std::vector<std::pair<int, int>> moves;
};

void edit(Grid &g, TUndoCells &u, int col, int row, std::u16string text)
{
    u.Add(g, col, row);
    g.setCellText(col, row, std::move(text));
}

}  // namespace

TEST(UndoCells, UndoPutsBackNewestFirstAndMovesColumnThenRow)
{
    Grid g;
    TUndoCells u;
    edit(g, u, 2, 3, u"a");
    edit(g, u, 2, 3, u"b");  // the same cell twice: two entries
    edit(g, u, 4, 5, u"x");
    ASSERT_EQ(u.Count(), 3);

    u.Undo(g);
    EXPECT_EQ(g.cellText(4, 5), u"");
    EXPECT_EQ(g.moves, (std::vector<std::pair<int, int>>{{4, 0}, {4, 5}}));
    u.Undo(g);
    EXPECT_EQ(g.cellText(2, 3), u"a");
    u.Undo(g);
    EXPECT_EQ(g.cellText(2, 3), u"");
    EXPECT_EQ(u.Count(), 0);

    g.moves.clear();
    u.Undo(g);  // nothing left: not even the current cell moves
    EXPECT_TRUE(g.moves.empty());
    EXPECT_EQ(g.currentCol(), 2);
    EXPECT_EQ(g.currentRow(), 3);
}

TEST(UndoCells, GridsKeepTheirOwnLevels)
{
    Grid a, b;
    TUndoCells u;
    edit(a, u, 1, 1, u"a1");
    edit(b, u, 1, 1, u"b1");
    edit(a, u, 2, 1, u"a2");
    EXPECT_EQ(u.Items(0).UndoLevel(), 0);
    EXPECT_EQ(u.Items(1).UndoLevel(), 0);
    EXPECT_EQ(u.Items(2).UndoLevel(), 1);
    EXPECT_EQ(u.FindLatest(a), &u.Items(2));
    EXPECT_EQ(u.FindOldest(b), &u.Items(1));

    u.Undo(b);
    EXPECT_EQ(b.cellText(1, 1), u"");
    EXPECT_EQ(a.cellText(1, 1), u"a1");
    EXPECT_EQ(u.Count(), 2);
    EXPECT_EQ(u.FindLatest(b), nullptr);
    EXPECT_EQ(u.DropOldest(b), 0);
}

TEST(UndoCells, LevelLimitDropsTheOldestEntryOfThatGridOnly)
{
    Grid a, b;
    TUndoCells u;
    u.setUndoLevels(3);
    edit(b, u, 0, 0, u"other");
    for (int i = 1; i <= 4; ++i)
        edit(a, u, i, 1, u"x");
    ASSERT_EQ(u.Count(), 4);  // b's entry and a's newest three
    EXPECT_EQ(u.Items(0).Grid(), &b);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(u.Items(i).X(), i + 1);
        EXPECT_EQ(u.Items(i).UndoLevel(), i - 1);
    }
}

TEST(UndoCells, CellsOutsideTheGridAreNeverRecordedOrMadeCurrent)
{
    Grid g;
    TUndoCells u;
    EXPECT_EQ(u.Add(g, 6, 1), nullptr);
    EXPECT_EQ(u.Add(g, 1, 8), nullptr);
    EXPECT_EQ(u.Count(), 0);

    edit(g, u, 5, 7, u"z");
    g.resize(3, 3);  // the entry's cell is gone
    g.moves.clear();
    u.Undo(g);
    EXPECT_EQ(u.Count(), 0);
    EXPECT_TRUE(g.moves.empty());
}

TEST(UndoCommands, CounterRules)
{
    Grid g;
    TUndoCells u;
    int counter = 0;
    for (int i = 0; i < 6; ++i)
        edit(g, u, 1, i + 1, u"old");
    // Six entries of an operation, then a paste of six more.
    for (int i = 0; i < 6; ++i)
        edit(g, u, 2, i + 1, u"new");
    counter = 6;

    cells::UndoLastOperation(g, u, counter);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(u.Count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(g.cellText(2, i + 1), u"");
    cells::UndoLastOperation(g, u, counter);  // one older cell
    EXPECT_EQ(u.Count(), 5);
    EXPECT_EQ(g.cellText(1, 6), u"");
    EXPECT_EQ(g.cellText(1, 5), u"old");

    // "UNDO" leaves the counter as it is: twice takes back 2 x 3 entries.
    Grid h;
    TUndoCells v;
    for (int i = 0; i < 8; ++i)
        edit(h, v, 1, 1, std::u16string(1, char16_t(u'a' + i)));
    cells::UndoEntries(h, v, 3);
    EXPECT_EQ(h.cellText(1, 1), u"e");
    cells::UndoEntries(h, v, 3);
    EXPECT_EQ(h.cellText(1, 1), u"b");
    cells::UndoEntries(h, v, 3);  // fewer left than the counter
    EXPECT_EQ(h.cellText(1, 1), u"");
    EXPECT_EQ(v.Count(), 0);
    cells::UndoEntries(h, v, 0);

    int c = 7;
    cells::RecordEditStart(h, v, c, 2, 2);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(v.Count(), 1);
}
