#include "attrgrid/gridtools.h"

#include "cells/cellmatrix.h"
#include "cells/grideditkeys.h"

#include <gtest/gtest.h>

using cells::Selection;

namespace {

struct GridTools : ::testing::Test {
    cells::CellMatrix g{4, 7};
    cells::TUndoCells undo;
    int counter = 0;

    void set(std::initializer_list<std::u16string> texts, int col = 1, int row = 1)
    {
        for (const auto &t : texts)
            g.setCellText(col, row++, t);
    }
    // One Ctrl+Z takes the whole tool back.
    void expectOneUndoRestores(const std::vector<std::u16string> &before, int col = 1, int row = 1)
    {
        cells::UndoLastOperation(g, undo, counter);
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(g.cellText(col, row + int(i)), before[i]);
        EXPECT_EQ(undo.Count(), 0);
    }
};

}  // namespace

TEST_F(GridTools, FullAndHalfWidth)
{
    set({u"abc 12", u"a\u3000b", u""});
    EXPECT_EQ(attrgrid::FullWidthCells(g, undo, counter, {1, 1, 1, 3}), 3);
    EXPECT_EQ(g.cellText(1, 1), u"ａｂｃ １２");
    EXPECT_EQ(g.cellText(1, 2), u"ａ ｂ");
    EXPECT_EQ(counter, 3);
    expectOneUndoRestores({u"abc 12", u"a\u3000b", u""});

    set({u"ＡＢ１"});
    attrgrid::HalfWidthCells(g, undo, counter, {1, 1, 1, 1});
    EXPECT_EQ(g.cellText(1, 1), u"AB1");
    expectOneUndoRestores({u"ＡＢ１"});
}

TEST_F(GridTools, ReplaceIsAlwaysCaseSensitive)
{
    set({u"aA", u"none", u"AA"});
    counter = 9;
    EXPECT_EQ(attrgrid::ReplaceCells(g, undo, counter, {1, 1, 1, 3}, u"", u"x"), 0);
    EXPECT_EQ(counter, 9);
    EXPECT_EQ(undo.Count(), 0);

    EXPECT_EQ(attrgrid::ReplaceCells(g, undo, counter, {1, 1, 1, 3}, u"A", u"x"), 3);
    EXPECT_EQ(g.cellText(1, 1), u"ax");
    EXPECT_EQ(g.cellText(1, 3), u"xx");
    EXPECT_EQ(counter, 3);  // every selected cell, changed or not
    expectOneUndoRestores({u"aA", u"none", u"AA"});
}

TEST_F(GridTools, NumberAdditionRecordsOnlyChangedCells)
{
    set({u"SW-009", u"none", u"P7", u"  "});
    tools::AdditionOptions add;
    add.addend = 1;
    EXPECT_EQ(attrgrid::AddToCells(g, undo, counter, {1, 1, 1, 4}, add), 2);
    EXPECT_EQ(g.cellText(1, 1), u"SW-010");
    EXPECT_EQ(g.cellText(1, 3), u"P8");
    EXPECT_EQ(counter, 2);
    expectOneUndoRestores({u"SW-009", u"none", u"P7", u"  "});

    set({u"none"});
    attrgrid::AddToCells(g, undo, counter, {1, 1, 1, 1}, add);
    EXPECT_EQ(counter, 1);
    add.addend = 0;
    counter = 5;
    attrgrid::AddToCells(g, undo, counter, {1, 1, 1, 1}, add);
    EXPECT_EQ(counter, 5);
}

TEST_F(GridTools, SerialNumbersFillTheCurrentColumnWithinTheRows)
{
    tools::SerialRun run = tools::readSerialFields({}, tools::SerialUse::Generation);  // '00' .. '15'
    // One cell selected in the second of six data rows: rows 2 to 6.
    auto rows = attrgrid::serialRows({2, 2, 2, 2}, 2, 6);
    EXPECT_EQ(attrgrid::SerialIntoColumn(g, undo, counter, 2, rows, run), 5);
    EXPECT_EQ(g.cellText(2, 2), u"00");
    EXPECT_EQ(g.cellText(2, 6), u"04");
    EXPECT_EQ(g.cellText(2, 1), u"");
    EXPECT_EQ(counter, 5);
    cells::UndoLastOperation(g, undo, counter);
    EXPECT_EQ(g.cellText(2, 6), u"");
    EXPECT_EQ(undo.Count(), 0);

    rows = attrgrid::serialRows({1, 2, 3, 3}, 3, 6);  // the selection's rows
    EXPECT_EQ(attrgrid::SerialIntoColumn(g, undo, counter, 3, rows, run), 2);

    tools::SerialFields fixed;
    fixed.start.clear();
    fixed.prefix = u"abc";
    fixed.count = u"3";
    run = tools::readSerialFields(fixed, tools::SerialUse::Generation);
    EXPECT_EQ(attrgrid::SerialIntoColumn(g, undo, counter, 1, {5, 6}, run), 2);
    EXPECT_EQ(g.cellText(1, 6), u"ABC");

    fixed.count = u"0";
    run = tools::readSerialFields(fixed, tools::SerialUse::Generation);
    EXPECT_EQ(attrgrid::SerialIntoColumn(g, undo, counter, 1, {1, 6}, run), 0);
    EXPECT_EQ(counter, 1);
}
