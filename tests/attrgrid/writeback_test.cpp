#include "attrhost.h"

#include "attrgrid/attrwriteback.h"

#include <gtest/gtest.h>

namespace {

class AttrWriteTest : public ::testing::Test, public AttrHost {
protected:
    void SetUp() override
    {
        block(u"EQ", {{u"NAME", u"名"}, {u"RATING", u"仕"}});
        for (int i = 0; i < 3; ++i)
            ids.push_back(insert(u"EQ", 0, 10.0 * (3 - i),
                                 {{u"NAME", u"N" + std::u16string(1, char16_t(u'1' + i))}, {u"RATING", u"S"}}));
        AttrSet set;
        set.tags = {u"NAME", u"RATING"};
        fetch(ids, set);
        host.resetCallCounts();
    }
    std::u16string drawn(int insert, int att) const { return attribute(ids[std::size_t(insert)], att).text; }

    std::vector<cadhost::EntityId> ids;
};

}  // namespace

TEST_F(AttrWriteTest, EveryReferencedCellInOneUndoGroup)
{
    const auto steps = d.history().steps().size();
    data.cells.setCellText(1, 2, u"N2'");
    data.cells.setCellText(0, 1, u"ignored");  // no reference: never written
    EXPECT_TRUE(data.changed(1, 2));

    AttrWriteResult r = WriteBackCells(doc(), data);
    EXPECT_EQ(r.written, 6);
    EXPECT_EQ(r.skipped, 0);
    EXPECT_EQ(host.callCount(u"TextString"), 6);  // unchanged cells too
    EXPECT_EQ(host.callCount(u"Update"), 6);
    EXPECT_EQ(drawn(1, 0), u"N2'");
    EXPECT_EQ(data.record(1, 2)->text, u"N2'");
    EXPECT_FALSE(data.changed(1, 2));
    ASSERT_EQ(d.history().steps().size(), steps + 1);
    EXPECT_EQ(d.history().steps().back().label, cadhost::UndoHistory::kGroupLabel);
    EXPECT_FALSE(d.history().groupOpen());

    d.undo();  // one CAD undo takes the whole write-back back
    EXPECT_EQ(drawn(1, 0), u"N2");
}

TEST_F(AttrWriteTest, ErasedAttributeIsSkippedAndStaysChanged)
{
    data.cells.setCellText(1, 1, u"gone?");
    data.cells.setCellText(2, 3, u"S3");
    d.erase(ids[0]);
    AttrWriteResult r = WriteBackCells(doc(), data);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_EQ(r.written, 4);
    EXPECT_TRUE(data.changed(1, 1));
    EXPECT_EQ(data.record(1, 1)->text, u"N1");
    EXPECT_EQ(drawn(2, 1), u"S3");
    EXPECT_EQ(host.callCount(u"StartUndoMark"), 1);
    EXPECT_EQ(host.callCount(u"EndUndoMark"), 1);
}

TEST_F(AttrWriteTest, StoppingCadClosesTheGroupAndLosesNoCell)
{
    for (int row = 1; row <= 3; ++row)
        data.cells.setCellText(1, row, u"new" + std::u16string(1, char16_t(u'0' + row)));
    host.faults().stopAfter(1 + 3 * 2);  // StartUndoMark and the first cell
    AttrWriteResult r = WriteBackCells(doc(), data);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.written, 1);
    EXPECT_FALSE(d.history().groupOpen());
    EXPECT_FALSE(data.changed(1, 1));
    EXPECT_TRUE(data.changed(1, 2));
    EXPECT_TRUE(data.changed(1, 3));
    EXPECT_EQ(data.cells.cellText(1, 3), u"new3");
}

TEST_F(AttrWriteTest, EmptyFetchStillOpensAndClosesAGroup)
{
    AttrSet none;
    none.tags = {u"NOPE"};
    fetch(ids, none);
    host.resetCallCounts();
    AttrWriteResult r = WriteBackCells(doc(), data);
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(host.callCount(u"StartUndoMark"), 1);
    EXPECT_EQ(host.callCount(u"EndUndoMark"), 1);
}

TEST_F(AttrWriteTest, EnterWritesOneCellAtOnce)
{
    data.cells.setCellText(2, 2, u"written");
    EXPECT_TRUE(WriteCellNow(doc(), data, data.cells, 2, 2));
    EXPECT_EQ(drawn(1, 1), u"written");
    EXPECT_FALSE(data.changed(2, 2));
    EXPECT_EQ(host.callCount(u"StartUndoMark"), 0);

    data.cells.setCellText(2, 3, u"lost");
    cad::Object before = doc();
    host.stop();
    EXPECT_FALSE(WriteCellNow(before, data, data.cells, 2, 3));
    EXPECT_EQ(data.cells.cellText(2, 3), u"S");                  // the edit is taken back
    EXPECT_FALSE(WriteCellNow(before, data, data.cells, 0, 3));  // no reference
}
