#include "attrhost.h"

#include "attrgrid/sortblocks.h"

#include <gtest/gtest.h>

namespace {

AttrSet setOf(std::vector<std::u16string> tags, std::u16string pattern = u"*")
{
    AttrSet s;
    s.tags = std::move(tags);
    s.blockPattern = std::move(pattern);
    return s;
}

class AttrFetchTest : public ::testing::Test, public AttrHost {
protected:
    void SetUp() override
    {
        block(u"EQ", {{u"NAME", u"機器名"}, {u"RATING", u""}, {u"TYPE", u"形式"}});
        block(u"ABC1", {{u"NAME", u"名称"}, {u"RATING", u"仕様"}});
        block(u"PLAIN", {{u"OTHER", u"他"}});
    }
};

}  // namespace

TEST_F(AttrFetchTest, FillsRowsHeadersAndReferences)
{
    auto a = insert(u"EQ", 0, 30, {{u"NAME", u"P-1"}, {u"RATING", u"1.5kW"}, {u"TYPE", u"A"}});
    auto none = insert(u"PLAIN", 0, 20, {{u"OTHER", u"x"}});
    auto b = insert(u"ABC1", 0, 10, {{u"NAME", u"P-2"}, {u"RATING", u"3kW"}});
    sgUndoCnt = 4;
    data.FUndoCells.Add(data.cells, 1, 1);

    FetchOutcome r = fetch({b, none, a}, setOf({u"NAME", u"RATING", u"TYPE", u"NONE"}));
    EXPECT_FALSE(r.failed);
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(r.picked, 3);
    EXPECT_EQ(labels.back(), u"ATTR = 2 / 3");
    EXPECT_EQ(labels.front(), u"INSERT = 3");

    ASSERT_EQ(data.blkList.size(), 2u);  // the one without the set's tags is left out
    EXPECT_EQ(data.cells.colCount(), 5);
    EXPECT_EQ(data.cells.rowCount(), 3);
    // Spread in y only: rows run top to bottom.
    EXPECT_EQ(data.blkList[0].blkName, u"EQ");
    EXPECT_EQ(data.blkList[0].index, 1);  // appended second, in pick order
    EXPECT_EQ(cell(0, 1), u"1");
    EXPECT_EQ(cell(0, 2), u"2");
    EXPECT_EQ(cell(1, 1), u"P-1");
    EXPECT_EQ(cell(2, 2), u"3kW");
    EXPECT_EQ(cell(3, 2), u"");
    EXPECT_EQ(ref(3, 2), 0);
    EXPECT_EQ(ref(4, 1), 0);
    // Headers: first row with a non-empty prompt; none for NONE.
    EXPECT_EQ(cell(1, 0), u"機器名");
    EXPECT_EQ(cell(2, 0), u"仕様");
    EXPECT_EQ(cell(3, 0), u"形式");
    EXPECT_EQ(cell(4, 0), u"");
    EXPECT_EQ(cell(0, 0), u"");

    ASSERT_EQ(data.attList.size(), 5u);
    const nAtt *rec = data.record(2, 1);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->text, u"1.5kW");
    EXPECT_EQ(rec->sHnd, attribute(a, 1).handle);
    EXPECT_FALSE(data.changed(2, 1));
    EXPECT_EQ(data.FUndoCells.Count(), 0);
    EXPECT_EQ(sgUndoCnt, 0);
}

TEST_F(AttrFetchTest, PatternOfTheSetNameFiltersThePick)
{
    auto a = insert(u"EQ", 0, 0, {{u"NAME", u"e"}});
    auto b = insert(u"ABC1", 10, 0, {{u"NAME", u"abc"}});
    FetchOutcome r = fetch({a, b}, attrSetOfLine(u"機器[ABC*],NAME"));
    EXPECT_EQ(r.picked, 1);
    ASSERT_EQ(data.blkList.size(), 1u);
    EXPECT_EQ(cell(1, 1), u"abc");
    // Empty brackets, or "]" before "[": every block name.
    EXPECT_EQ(fetch({a, b}, attrSetOfLine(u"機器[],NAME")).picked, 2);
    EXPECT_EQ(fetch({a, b}, attrSetOfLine(u"機]器[ABC*,NAME")).picked, 2);
}

TEST_F(AttrFetchTest, TwoAttributesOfOneTagAndATagListedTwice)
{
    auto a = insert(u"EQ", 0, 0, {{u"NAME", u"first"}, {u"NAME", u"second"}});
    fetch({a}, setOf({u"NAME", u"NAME"}));
    EXPECT_EQ(cell(1, 1), u"second");
    EXPECT_EQ(cell(2, 1), u"");
    EXPECT_EQ(ref(2, 1), 0);
    // The earlier record stays without a cell.
    ASSERT_EQ(data.attList.size(), 2u);
    EXPECT_EQ(data.attList[0].text, u"first");
    EXPECT_EQ(ref(1, 1), 2);
}

TEST_F(AttrFetchTest, exchangeSortOrderOfEqualKeys)
{
    auto p = insert(u"EQ", 2, 0, {{u"NAME", u"p"}});
    auto q = insert(u"EQ", 2, 0, {{u"NAME", u"q"}});
    auto s = insert(u"EQ", 1, 0, {{u"NAME", u"s"}});
    fetch({p, q, s}, setOf({u"NAME"}));
    EXPECT_EQ(cell(1, 1), u"s");
    EXPECT_EQ(cell(1, 2), u"q");
    EXPECT_EQ(cell(1, 3), u"p");

    EXPECT_EQ(exchangeSortOrder({2, 2, 1}, false), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(exchangeSortOrder({1, 3, 3, 2}, true), (std::vector<std::size_t>{1, 2, 3, 0}));
}

TEST(SortBlocks, SpreadChoosesTheAxis)
{
    auto blocks = [](std::vector<cad::Point> pts) {
        std::vector<nBlk> v;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            nBlk b;
            b.insPt = cad::fromPoint(pts[i]);
            b.index = int(i);
            v.push_back(b);
        }
        return v;
    };
    auto order = [](const std::vector<nBlk> &v) {
        std::vector<int> o;
        for (const nBlk &b : v)
            o.push_back(b.index);
        return o;
    };
    auto wide = blocks({{5, 0, 0}, {0, 1, 0}, {9, 2, 0}});
    SortBlocks(wide, 3);
    EXPECT_EQ(order(wide), (std::vector<int>{1, 0, 2}));
    auto square = blocks({{0, 0, 0}, {4, 4, 0}, {2, 1, 0}});
    SortBlocks(square, 3);  // equal spread: top to bottom
    EXPECT_EQ(order(square), (std::vector<int>{1, 2, 0}));
    SortBlocks(square, 2);
    EXPECT_EQ(order(square), (std::vector<int>{1, 2, 0}));
    SortBlocks(square, 0);
    EXPECT_EQ(order(square), (std::vector<int>{0, 2, 1}));
}

TEST_F(AttrFetchTest, NothingPickedKeepsEverything)
{
    auto a = insert(u"EQ", 0, 0, {{u"NAME", u"keep"}});
    fetch({a}, setOf({u"NAME"}));
    data.cells.setCellText(1, 1, u"edited");
    data.FUndoCells.Add(data.cells, 1, 1);
    host.scriptedPicker().queueCancel();
    FetchOutcome r = FetchBlocks(doc(), setOf({u"RATING"}), data, sgUndoCnt, runFlag, hooks());
    EXPECT_EQ(r.picked, 0);
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(labels.back(), u"INSERT = 0");
    EXPECT_EQ(cell(1, 1), u"edited");
    EXPECT_EQ(data.attList.size(), 1u);
    EXPECT_EQ(data.FUndoCells.Count(), 1);
}

TEST_F(AttrFetchTest, NoQualifyingReferenceOrNoTags)
{
    auto a = insert(u"PLAIN", 0, 0, {{u"OTHER", u"x"}});
    auto b = insert(u"PLAIN", 5, 0, {{u"OTHER", u"y"}});
    fetch({a, b}, setOf({u"NAME"}));
    EXPECT_EQ(labels.back(), u"INSERT = 2 / 2");
    EXPECT_EQ(data.cells.rowCount(), 2);
    EXPECT_EQ(data.cells.colCount(), 2);
    EXPECT_EQ(cell(0, 1), u"");
    EXPECT_EQ(ref(1, 1), 0);

    FetchOutcome r = fetch({a}, setOf({}));  // a set line without tags
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(data.cells.colCount(), 2);
    EXPECT_TRUE(data.blkList.empty());
}

TEST_F(AttrFetchTest, AbortInEachPhase)
{
    std::vector<cadhost::EntityId> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(insert(u"EQ", 0, 10.0 * i, {{u"NAME", u"n" + std::u16string(1, char16_t(u'0' + i))}}));

    int pumps = 0;
    FetchHooks h = hooks();
    h.pump = [&] {
        if (++pumps == 3)
            runFlag = false;  // "中止" during phase 1
    };
    FetchOutcome r = fetch(ids, setOf({u"NAME"}), h);
    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(r.replaced);
    EXPECT_TRUE(data.blkList.empty());
    EXPECT_EQ(data.cells.rowCount(), 2);
    EXPECT_EQ(cell(1, 0), u"");
    EXPECT_EQ(cell(0, 1), u"");

    runFlag = true;
    pumps = 0;
    h.pump = [&] {
        if (++pumps == 5 + 3)
            runFlag = false;  // during phase 2, before its third row
    };
    r = fetch(ids, setOf({u"NAME"}), h);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(data.blkList.size(), 5u);
    EXPECT_EQ(data.cells.rowCount(), 6);
    EXPECT_EQ(cell(1, 1), u"n4");
    EXPECT_EQ(cell(1, 2), u"n3");
    EXPECT_EQ(cell(0, 3), u"");
    EXPECT_EQ(ref(1, 3), 0);
    EXPECT_EQ(data.attList.size(), 2u);
}

TEST_F(AttrFetchTest, CadStoppingKeepsConsistentState)
{
    std::vector<cadhost::EntityId> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(insert(u"EQ", 0, 10.0 * i, {{u"NAME", u"v"}, {u"RATING", u"s"}}));
    fetch(ids, setOf({u"NAME"}));
    data.cells.setCellText(1, 1, u"unsaved");
    const auto before = data.attList.size();

    // Stops during phase 1: the previous records and cells stay.
    host.scriptedPicker().queueIds(ids);
    int calls = 0;
    FetchHooks h = hooks();
    h.pump = [&] {
        if (++calls == 2)
            host.faults().stopAfter(3);
    };
    FetchOutcome r = FetchBlocks(doc(), setOf({u"NAME", u"RATING"}), data, sgUndoCnt, runFlag, h);
    EXPECT_TRUE(r.failed);
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(cell(1, 1), u"unsaved");
    EXPECT_EQ(data.attList.size(), before);
    EXPECT_EQ(data.cells.colCount(), 2);

    // Stops during phase 2: the rows filled so far stay, all references valid.
    host.faults().clear();
    host.start();
    data.FUndoCells.Add(data.cells, 1, 1);
    sgUndoCnt = 1;
    host.scriptedPicker().queueIds(ids);
    calls = 0;
    h.pump = [&] {
        if (++calls == 4 + 2)  // before the second row
            host.faults().stopAfter(9);
    };
    r = FetchBlocks(doc(), setOf({u"NAME", u"RATING"}), data, sgUndoCnt, runFlag, h);
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(data.blkList.size(), 4u);
    EXPECT_EQ(data.cells.rowCount(), 5);
    EXPECT_EQ(cell(0, 1), u"1");
    EXPECT_EQ(cell(1, 1), u"v");
    for (int row = 1; row < data.cells.rowCount(); ++row)
        for (int col = 1; col < data.cells.colCount(); ++col)
            if (ref(col, row) != 0) {
                EXPECT_NE(data.record(col, row), nullptr);
            }
    EXPECT_EQ(data.FUndoCells.Count(), 0);  // no entry of the old cells survives
    EXPECT_EQ(sgUndoCnt, 0);
}
