#include "search/resultrows.h"

#include "searchfixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ResultRows : public SearchHost, public ::testing::Test {
protected:
    // Searches everything and fills the grid, as a completed search does.
    void searchAll()
    {
        ASSERT_EQ(search(u"", false, list), SearchEnd::Completed);
        FillResultGrid(grid, list);
    }
    int rowOf(const std::u16string &s) const
    {
        for (int r = 0; r < grid.rowCount(); ++r)
            if (list[std::size_t(grid.ref(0, r) - 1)].text == s)
                return r;
        return -1;
    }

    std::vector<Talvo2> list;
    cells::CellMatrix grid;
};

TEST_F(ResultRows, GridRowsNameTheirRecordsByNumber)
{
    text(u"B", 3, 4);
    text(u"A", 1, 2);
    searchAll();
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cellText(0, 0), u"A");
    EXPECT_EQ(grid.ref(0, 0), 1);
    EXPECT_EQ(grid.ref(0, 1), 2);

    RowStatus s = DescribeRow(list, grid, 1);
    EXPECT_TRUE(s.usable);
    EXPECT_EQ(s.label6, u"2 / 2");
    EXPECT_EQ(s.handle, list[1].sHnd);
    EXPECT_EQ(s.x, 3);
    EXPECT_EQ(s.y, 4);

    // No results: one empty row without a record.
    FillResultGrid(grid, {});
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.ref(0, 0), 0);
    EXPECT_FALSE(DescribeRow(list, grid, 0).usable);
    EXPECT_EQ(DescribeRow(list, grid, 0).label6, u"");
}

TEST_F(ResultRows, ChangedLockedAndEmptiedRows)
{
    d.addLayer(u"L", 7, true);
    text(u"ABC");
    text(u"K", 0, 0, u"L");
    searchAll();
    const int r = rowOf(u"ABC");
    grid.setCellText(0, r, u"ABD");
    EXPECT_TRUE(IsChangedRow(list, grid, r));
    grid.setCellText(0, r, u"ABC");
    EXPECT_FALSE(IsChangedRow(list, grid, r));
    EXPECT_TRUE(IsLockedRow(list, grid, rowOf(u"K")));

    grid.setCellText(0, r, u"");
    EXPECT_TRUE(RestoreEmptiedCell(list, grid, r));
    EXPECT_EQ(grid.cellText(0, r), u"ABC");
    // A row without a record keeps its empty cell.
    grid.setRef(0, r, 0);
    grid.setCellText(0, r, u"");
    EXPECT_FALSE(RestoreEmptiedCell(list, grid, r));
}

TEST_F(ResultRows, EnterWritesAChangedRowOnly)
{
    auto a = text(u"ABC", 5, 6);
    d.addLayer(u"L", 7, true);
    auto k = text(u"KEEP", 0, 0, u"L");
    searchAll();

    // Unchanged: no CAD call.
    host.resetCallCounts();
    EXPECT_EQ(WriteRowOnEnter(list, grid, rowOf(u"ABC")), RowWrite::Skipped);
    EXPECT_EQ(host.callCount(u"HandleToObject"), 0);

    // Changed: written, read back, no longer changed; no undo group.
    const int r = rowOf(u"ABC");
    grid.setCellText(0, r, u"ABD");
    EXPECT_EQ(WriteRowOnEnter(list, grid, r), RowWrite::Written);
    EXPECT_EQ(stringOf(a), u"ABD");
    EXPECT_EQ(list[std::size_t(grid.ref(0, r) - 1)].text, u"ABD");
    EXPECT_FALSE(IsChangedRow(list, grid, r));
    EXPECT_TRUE(d.history().steps().empty() || d.history().steps().back().label != u"Group");

    // Locked: the cell shows the fetched text again, the drawing keeps it.
    const int lr = rowOf(u"KEEP");
    grid.setCellText(0, lr, u"NEW");
    EXPECT_EQ(WriteRowOnEnter(list, grid, lr), RowWrite::Locked);
    EXPECT_EQ(grid.cellText(0, lr), u"KEEP");
    EXPECT_EQ(stringOf(k), u"KEEP");
}

TEST_F(ResultRows, EnterOnAnErasedTextKeepsTheEdit)
{
    auto a = text(u"GONE");
    searchAll();
    d.erase(a);
    grid.setCellText(0, 0, u"EDITED");
    EXPECT_EQ(WriteRowOnEnter(list, grid, 0), RowWrite::Failed);
    EXPECT_EQ(grid.cellText(0, 0), u"EDITED");
    EXPECT_TRUE(IsChangedRow(list, grid, 0));

    host.stop();
    EXPECT_EQ(WriteRowOnEnter(list, grid, 0), RowWrite::NoCad);
    EXPECT_EQ(grid.cellText(0, 0), u"EDITED");
}

TEST_F(ResultRows, UpdateWritesChangedRowsInOneGroupAndCountsLockedOnes)
{
    d.addLayer(u"L", 7, true);
    auto a = text(u"A1");
    auto b = text(u"B1");
    text(u"C1");
    text(u"L1", 0, 0, u"L");
    searchAll();
    grid.setCellText(0, rowOf(u"A1"), u"A2");
    grid.setCellText(0, rowOf(u"B1"), u"B2");
    grid.setCellText(0, rowOf(u"L1"), u"L2");
    const auto stepsBefore = d.history().steps().size();

    UpdateRun run = RunUpdate(list, grid);
    EXPECT_TRUE(run.wrote);
    EXPECT_EQ(run.count.targets, 2);
    EXPECT_EQ(run.count.written, 2);
    EXPECT_EQ(run.count.locked, 1);
    EXPECT_EQ(UpdateMessage(run.count), u"2 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．");
    EXPECT_EQ(stringOf(a), u"A2");
    EXPECT_EQ(stringOf(b), u"B2");
    ASSERT_EQ(d.history().steps().size(), stepsBefore + 1);
    EXPECT_EQ(d.history().steps().back().label, u"Group");
    EXPECT_FALSE(IsChangedRow(list, grid, rowOf(u"A2")));
    EXPECT_TRUE(IsChangedRow(list, grid, 3));  // the locked row stays changed
}

TEST_F(ResultRows, UpdateMessages)
{
    EXPECT_EQ(UpdateMessage({}), u"更新対象の TEXT はありません．");
    EXPECT_EQ(UpdateMessage({0, 0, 2}), u"更新対象の TEXT はありません．\nロック画層の TEXT 2 個は更新されません．");
    EXPECT_EQ(UpdateMessage({12, 11, 0}), u"11 / 12 個の TEXT を更新しました．");
}

TEST_F(ResultRows, UpdateCountsAFailedWriteInTargetsOnly)
{
    auto a = text(u"A1");
    auto b = text(u"B1");
    searchAll();
    grid.setCellText(0, 0, u"A2");
    grid.setCellText(0, 1, u"B2");
    d.erase(b);

    UpdateRun run = RunUpdate(list, grid);
    EXPECT_EQ(run.count.targets, 2);
    EXPECT_EQ(run.count.written, 1);
    EXPECT_EQ(UpdateMessage(run.count), u"1 / 2 個の TEXT を更新しました．");
    EXPECT_EQ(stringOf(a), u"A2");
    EXPECT_EQ(grid.cellText(0, 1), u"B2");  // kept, still changed
    EXPECT_TRUE(IsChangedRow(list, grid, 1));
}

TEST_F(ResultRows, UpdateWithoutRecordsOrCadWritesNothing)
{
    UpdateRun run = RunUpdate(list, grid);
    EXPECT_FALSE(run.wrote);
    EXPECT_EQ(UpdateMessage(run.count), u"更新対象の TEXT はありません．");

    text(u"A");
    searchAll();
    grid.setCellText(0, 0, u"B");
    host.stop();
    EXPECT_FALSE(RunUpdate(list, grid).wrote);
}

TEST_F(ResultRows, UpdateRestoresAMinimisedCadWithoutBringingItForward)
{
    text(u"A");
    searchAll();
    grid.setCellText(0, 0, u"B");
    win.minimised.insert(5);
    win.clearLog();
    RunUpdate(list, grid);
    EXPECT_EQ(win.log, (std::vector<std::string>{"restore 5", "sleep 500"}));
}

}  // namespace
