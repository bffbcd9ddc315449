#include "cells/cellmatrix.h"
#include "cells/clipboardrules.h"
#include "cells/grideditkeys.h"

#include <gtest/gtest.h>

using cells::CellMatrix;
using cells::EditKey;
using cells::Selection;
using cells::TUndoCells;

namespace {

struct GridEditKeysTest : ::testing::Test {
    CellMatrix g{5, 9};
    TUndoCells undo;
    int counter = 0;
    std::u16string clip;
    cells::ClipboardIo io{[this] { return clip; }, [this](const std::u16string &t) { clip = t; }};

    bool press(EditKey key, bool ctrl, Selection sel)
    {
        return cells::GridEditKeys(g, undo, counter, sel, key, ctrl, io);
    }
    void fill()
    {
        for (int r = 0; r < g.rowCount(); ++r)
            for (int c = 0; c < g.colCount(); ++c)
                g.setCellText(c, r, std::u16string(1, char16_t(u'A' + c)) + char16_t(u'0' + r));
    }
};

}  // namespace

TEST(ClipboardText, LinesAndPieces)
{
    using V = std::vector<std::u16string>;
    EXPECT_EQ(cells::ClipboardLines(u"1\t2\r\n3\t4\r\n"), (V{u"1\t2", u"3\t4"}));
    EXPECT_EQ(cells::ClipboardLines(u"a\r\nb"), (V{u"a"}));  // no final CR LF: last line dropped
    EXPECT_EQ(cells::ClipboardLines(u"word"), V{});
    EXPECT_EQ(cells::ClipboardLines(u"a\nb\r\n\r\n"), (V{u"a\nb", u""}));
    EXPECT_EQ(cells::LinePieces(u""), (V{u""}));
    EXPECT_EQ(cells::LinePieces(u"a\t"), (V{u"a", u""}));
    EXPECT_EQ(cells::LinePieces(u"\ta\t\tb"), (V{u"", u"a", u"", u"b"}));
}

TEST_F(GridEditKeysTest, CopyLeavesCellsAndSetsCounterToOne)
{
    g.setCellText(1, 1, u"1");
    g.setCellText(2, 1, u"2");
    g.setCellText(1, 2, u"3");
    g.setCellText(2, 2, u"4");
    counter = 9;
    EXPECT_TRUE(press(EditKey::C, true, {1, 1, 2, 2}));
    EXPECT_EQ(clip, u"1\t2\r\n3\t4\r\n");
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_EQ(g.cellText(2, 2), u"4");
    EXPECT_FALSE(press(EditKey::C, false, {1, 1, 2, 2}));  // plain C is typing
}

TEST_F(GridEditKeysTest, PasteIntoOneCellAndUndoItAtOnce)
{
    clip = u"1\t2\r\n3\t4\r\n";
    EXPECT_TRUE(press(EditKey::V, true, {2, 3, 2, 3}));
    EXPECT_EQ(g.cellText(2, 3), u"1");
    EXPECT_EQ(g.cellText(3, 3), u"2");
    EXPECT_EQ(g.cellText(2, 4), u"3");
    EXPECT_EQ(g.cellText(3, 4), u"4");
    EXPECT_EQ(undo.Count(), 4);
    EXPECT_EQ(counter, 4);
    cells::UndoLastOperation(g, undo, counter);
    for (int r = 3; r <= 4; ++r)
        for (int c = 2; c <= 3; ++c)
            EXPECT_EQ(g.cellText(c, r), u"");
    EXPECT_EQ(counter, 0);
}

TEST_F(GridEditKeysTest, PasteRepeatsTheBlockDownwardsNeverSideways)
{
    clip = u"1\t2\r\n3\t4\r\n";
    press(EditKey::V, true, {1, 3, 4, 7});
    const char16_t *rows[] = {u"12", u"34", u"12", u"34", u"12"};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(g.cellText(1, 3 + r), std::u16string(1, rows[r][0]));
        EXPECT_EQ(g.cellText(2, 3 + r), std::u16string(1, rows[r][1]));
        EXPECT_EQ(g.cellText(3, 3 + r), u"");
    }
    EXPECT_EQ(counter, 10);
    EXPECT_EQ(g.cellText(1, 8), u"");
}

TEST_F(GridEditKeysTest, PasteWithoutFinalLineBreakOrWithTrailingTab)
{
    fill();
    clip = u"word";
    counter = 5;
    EXPECT_TRUE(press(EditKey::V, true, {1, 1, 1, 1}));
    EXPECT_EQ(g.cellText(1, 1), u"B1");
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_EQ(counter, 1);

    clip = u"x\r\ny";  // the last line has no CR LF
    press(EditKey::V, true, {1, 1, 1, 1});
    EXPECT_EQ(g.cellText(1, 1), u"x");
    EXPECT_EQ(g.cellText(1, 2), u"B2");
    EXPECT_EQ(counter, 1);

    clip = u"p\t\r\n";  // a final TAB empties the cell to the right
    press(EditKey::V, true, {2, 5, 2, 5});
    EXPECT_EQ(g.cellText(2, 5), u"p");
    EXPECT_EQ(g.cellText(3, 5), u"");
    EXPECT_EQ(g.cellText(4, 5), u"E5");
    EXPECT_EQ(counter, 2);
}

TEST_F(GridEditKeysTest, PiecesBeyondTheGridAreDroppedWithTheirEntries)
{
    clip = u"a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n";
    press(EditKey::V, true, {3, 7, 3, 7});  // two columns and two rows fit
    EXPECT_EQ(g.cellText(3, 7), u"a");
    EXPECT_EQ(g.cellText(4, 7), u"b");
    EXPECT_EQ(g.cellText(4, 8), u"e");
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(undo.Count(), 4);
    for (int i = 0; i < undo.Count(); ++i)
        EXPECT_TRUE(g.inside(undo.Items(i).X(), undo.Items(i).Y()));
    cells::UndoLastOperation(g, undo, counter);
    EXPECT_LT(g.currentCol(), g.colCount());
    EXPECT_LT(g.currentRow(), g.rowCount());
    EXPECT_EQ(g.cellText(3, 7), u"");
}

TEST_F(GridEditKeysTest, DeleteAndCut)
{
    fill();
    EXPECT_FALSE(press(EditKey::Delete, false, {2, 2, 2, 2}));  // one cell: the editor's
    EXPECT_EQ(g.cellText(2, 2), u"C2");
    EXPECT_EQ(undo.Count(), 0);

    EXPECT_TRUE(press(EditKey::Delete, true, {1, 1, 3, 2}));
    EXPECT_EQ(counter, 6);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(g.cellText(c, r), u"");
    EXPECT_EQ(g.cellText(4, 1), u"E1");

    EXPECT_TRUE(press(EditKey::X, true, {4, 4, 4, 4}));  // a cut clears one cell too
    EXPECT_EQ(clip, u"E4\r\n");
    EXPECT_EQ(g.cellText(4, 4), u"");
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(undo.Count(), 7);

    EXPECT_TRUE(press(EditKey::X, true, {0, 5, 1, 6}));
    EXPECT_EQ(clip, u"A5\tB5\r\nA6\tB6\r\n");
    EXPECT_EQ(counter, 4);
    cells::UndoLastOperation(g, undo, counter);
    EXPECT_EQ(g.cellText(1, 6), u"B6");
    EXPECT_FALSE(press(EditKey::Other, true, {1, 1, 2, 2}));
}
