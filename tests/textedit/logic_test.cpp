#include "support/hostfixture.h"

#include "textedit/align.h"
#include "textedit/fetch.h"
#include "textedit/writeback.h"

#include <gtest/gtest.h>

using cadhost::EntityId;

std::vector<Talvo> HostBench::fetched(std::vector<EntityId> ids, bool sort)
{
    host.scriptedPicker().queueIds(std::move(ids));
    return FetchTexts(doc(), sort, {}).records;
}

namespace {

cad::Point pointOf(const Talvo &t)
{
    return cad::toPoint(t.insPt);
}

std::vector<std::u16string> textsOf(const std::vector<Talvo> &list)
{
    std::vector<std::u16string> out;
    for (const Talvo &t : list)
        out.push_back(t.text);
    return out;
}

class TextLogic : public ::testing::Test, public HostBench {
protected:
    bool runFlag = true;

    WriteBackResult writeBack(std::vector<Talvo> &list, const Lines &lines, double dX, double dY, bool attMode = false,
                              PumpFn pump = {})
    {
        runFlag = true;
        return WriteBack(doc(), list, lines, attMode, dX, dY, pump, runFlag);
    }
};

}  // namespace

TEST(TextRules, UsedLineCountIgnoresTrailingBlanksButNotIdeographicSpace)
{
    EXPECT_EQ(UsedLineCount({}), 0);
    EXPECT_EQ(UsedLineCount({u"", u" \t"}), 0);
    EXPECT_EQ(UsedLineCount({u"a", u"", u"b", u" ", u""}), 3);
    EXPECT_EQ(UsedLineCount({u"a", u"\u3000"}), 2);
}

TEST(TextRules, TagListEntryGivesTagAndBlockPattern)
{
    EXPECT_EQ(tagOfEntry(u"SENBAN:線番"), u"SENBAN");
    EXPECT_EQ(tagOfEntry(u"NO"), u"NO");
    EXPECT_EQ(blockPatternOfEntry(u"NO"), u"*");
    EXPECT_EQ(blockPatternOfEntry(u"NO:番号[TITLE*]"), u"TITLE*");
    EXPECT_EQ(blockPatternOfEntry(u"NO:番号[]"), u"*");
    EXPECT_EQ(blockPatternOfEntry(u"N[X]:番号"), u"*");  // brackets before the colon do not count
}

TEST_F(TextLogic, FetchSkipsLockedLayersAndCleansUpTheSet)
{
    d.addLayer(u"LOCK", 7, true);
    std::vector<EntityId> ids = {text(u"a", 0, 50), text(u"b", 0, 40, u"LOCK"), text(u"c", 0, 30),
                                 text(u"d", 0, 20, u"LOCK"), text(u"e", 0, 10)};
    host.scriptedPicker().queueIds(ids);
    int pumps = 0;
    TextFetch f = FetchTexts(doc(), true, [&] { ++pumps; });
    EXPECT_EQ(f.total, 5);
    EXPECT_EQ(f.excluded(), 2);
    EXPECT_EQ(textsOf(f.records), (std::vector<std::u16string>{u"a", u"c", u"e"}));
    EXPECT_EQ(f.records[1].index, 1);
    EXPECT_EQ(f.records[1].sHnd, handle(ids[2]));
    EXPECT_EQ(pumps, 3);
    EXPECT_TRUE(d.selectionSets().sets().empty());

    // A cancelled pick reports nothing picked and leaves no set behind.
    host.scriptedPicker().queueCancel();
    EXPECT_EQ(FetchTexts(doc(), true, {}).total, 0);
    EXPECT_TRUE(d.selectionSets().sets().empty());
}

TEST_F(TextLogic, FetchReadsAlignedTextsByTheirAlignmentPoint)
{
    cadhost::TextSpec desc;
    desc.text = u"R";
    desc.insertionPoint = {1, 2, 0};
    desc.alignment = cadhost::AlignRight;
    desc.alignmentPoint = cad::Point{9, 2, 0};
    EntityId r = d.addText(desc);
    auto list = fetched({r});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(pointOf(list[0]), (cad::Point{9, 2, 0}));
    EXPECT_EQ(list[0].txtAli, cadhost::AlignRight);
}

TEST_F(TextLogic, SortOrderFollowsTheWiderSpreadAndTheExchangeSortTies)
{
    // Wider in x: ascending x. The exchange sort puts the later of two equal
    // keys first here (A and C both at x = 5).
    auto list = fetched({text(u"A", 5, 0), text(u"C", 5, 0), text(u"B", 0, 0)}, true);
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"B", u"C", u"A"}));

    d.clear();
    // A column: top to bottom.
    list = fetched({text(u"low", 0, 0), text(u"top", 0, 20), text(u"mid", 1, 10)}, true);
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"top", u"mid", u"low"}));

    d.clear();
    // A square spread sorts by y.
    list = fetched({text(u"p", 0, 0), text(u"q", 10, 10)}, true);
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"q", u"p"}));

    // Unsorted keeps pick order; index keeps it after sorting.
    EXPECT_EQ(list[0].index, 1);
}

TEST_F(TextLogic, StepProposalComesFromTheLastTwoPoints)
{
    auto list = fetched({text(u"a", 0, 0), text(u"b", 0.004, 0)});
    Step s = proposeStep(list);
    EXPECT_NEAR(s.dX, 0.004, 1e-12);
    EXPECT_EQ(s.dY, 0);
    list.resize(1);
    s = proposeStep(list);
    EXPECT_EQ(s.dX, 0);
}

TEST_F(TextLogic, AttributeFetchTakesEveryAttributeOfTheTagAndTheBlockPattern)
{
    cadhost::BlockSpec blk;
    blk.name = u"TAGBLK";
    blk.attributes = {{.tag = u"NO", .prompt = u"", .defaultValue = u"", .point = {0, 0, 0}},
                      {.tag = u"NO", .prompt = u"", .defaultValue = u"", .point = {0, 5, 0}},
                      {.tag = u"X", .prompt = u"", .defaultValue = u"", .point = {0, 9, 0}}};
    d.addBlock(blk);
    cadhost::BlockSpec other;
    other.name = u"OTHER";
    other.attributes = {{.tag = u"NO", .prompt = u"", .defaultValue = u"", .point = {0, 0, 0}}};
    d.addBlock(other);
    EntityId b1 = d.addInsert({.block = u"TAGBLK",
                               .insertionPoint = {10, 0, 0},
                               .attributes = {{u"NO", u"n1"}, {u"NO", u"n2"}, {u"X", u"x"}}});
    EntityId b2 = d.addInsert({.block = u"OTHER", .insertionPoint = {20, 0, 0}, .attributes = {{u"NO", u"o"}}});

    std::vector<std::u16string> labels;
    host.scriptedPicker().queueIds({b1, b2});
    AttrFetch f = FetchAttributes(doc(), u"NO:番号", false, [&](const std::u16string &s) { labels.push_back(s); });
    EXPECT_EQ(f.blocks, 2);
    EXPECT_EQ(textsOf(f.records), (std::vector<std::u16string>{u"n1", u"n2", u"o"}));
    EXPECT_EQ(pointOf(f.records[1]), (cad::Point{10, 0, 0}));
    EXPECT_EQ(f.records[1].parentType, u"INSERT");
    EXPECT_EQ(f.records[1].parentHnd, handle(b1));
    EXPECT_EQ(labels.front(), u"INSERT=2");
    EXPECT_EQ(labels.back(), u"NO : 2 / 2");
    EXPECT_TRUE(d.selectionSets().sets().empty());

    // The bracketed pattern narrows the pick to matching block names.
    host.scriptedPicker().queueIds({b1, b2});
    f = FetchAttributes(doc(), u"NO:番号[TAG*]", false, {});
    EXPECT_EQ(f.blocks, 1);
    EXPECT_EQ(f.records.size(), 2u);
}

TEST_F(TextLogic, WriteBackUpdatesErasesAndAddsAsOneUndoStep)
{
    std::vector<EntityId> ids = {text(u"a", 0, 0), text(u"b", 10, 0), text(u"c", 20, 0)};
    auto list = fetched(ids);
    const std::size_t stepsBefore = d.history().steps().size();

    // b blanked; two added lines with a blank line between them.
    auto r = writeBack(list, {u"a ", u"", u"c", u"x", u"", u"y"}, 10, 0);
    EXPECT_FALSE(r.failed);
    EXPECT_FALSE(r.zeroStep);
    EXPECT_EQ(entity(ids[0]).text, u"a ");  // written with its trailing space
    EXPECT_EQ(d.entity(ids[1]), nullptr);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_TRUE(list[1].sHnd.empty());
    EXPECT_TRUE(list[4].sHnd.empty());
    EXPECT_EQ(pointOf(list[4]), (cad::Point{40, 0, 0}));
    const cadhost::Entity *x = byHandle(list[3].sHnd);
    const cadhost::Entity *y = byHandle(list[5].sHnd);
    ASSERT_TRUE(x && y);
    EXPECT_EQ(x->text, u"x");
    EXPECT_EQ(x->insertionPoint, (cad::Point{30, 0, 0}));
    EXPECT_EQ(y->insertionPoint, (cad::Point{50, 0, 0}));
    EXPECT_EQ(list[5].text, u"y");
    EXPECT_FALSE(d.history().groupOpen());
    EXPECT_EQ(d.history().steps().size(), stepsBefore + 1);
    EXPECT_EQ(host.callCount(u"Regen"), 1);

    // One undo in the CAD takes the whole write-back back.
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"a", u"b", u"c"}));

    // A line typed again on the blanked record recreates a text at its point,
    // with the alignment of the last record.
    ASSERT_TRUE(d.redo());
    r = writeBack(list, {u"a ", u"B", u"c", u"x", u"", u"y"}, 10, 0);
    const cadhost::Entity *again = byHandle(list[1].sHnd);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, u"B");
    EXPECT_EQ(again->insertionPoint, (cad::Point{10, 0, 0}));
}

TEST_F(TextLogic, BlankingEveryLineErasesEverythingAndEmptiesTheArray)
{
    auto list = fetched({text(u"a", 0, 0), text(u"b", 0, 10)});
    writeBack(list, {u"", u" "}, 0, 0);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(texts().empty());
}

TEST_F(TextLogic, ZeroStepStopsAddingAndNewRecordsStillGetAPosition)
{
    auto list = fetched({text(u"only", 3, 4)});
    auto r = writeBack(list, {u"only", u"new", u"more"}, 0, 0);
    EXPECT_TRUE(r.zeroStep);
    EXPECT_EQ(texts().size(), 1u);
    ASSERT_EQ(list.size(), 3u);
    // Records the resize adds carry the next step after the one before.
    EXPECT_EQ(pointOf(list[1]), (cad::Point{3, 4, 0}));

    // Trailing blank lines alone also bring the message.
    list.resize(1);
    r = writeBack(list, {u"only", u""}, 0, 0);
    EXPECT_TRUE(r.zeroStep);

    // With a step set, the lengthened records become texts where they lie.
    list = fetched({text(u"p", 0, 0), text(u"q", 0, -5)});
    r = writeBack(list, {u"p", u"q", u"r"}, 0, 0);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(pointOf(list[2]), (cad::Point{0, -5, 0}));
    r = writeBack(list, {u"p", u"q", u"r"}, 7, 0);
    const cadhost::Entity *made = byHandle(list[2].sHnd);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->text, u"r");
    EXPECT_EQ(made->insertionPoint, (cad::Point{0, -5, 0}));
}

TEST_F(TextLogic, ResizeGivesAddedRecordsTheNextStep)
{
    std::vector<Talvo> list(1);
    list[0].insPt = cad::fromPoint({1, 1, 2});
    resizeRecords(list, 3, 2, -1);
    EXPECT_EQ(pointOf(list[1]), (cad::Point{3, 0, 2}));
    EXPECT_EQ(pointOf(list[2]), (cad::Point{5, -1, 2}));
    std::vector<Talvo> none;
    resizeRecords(none, 2, 1, 1);
    EXPECT_FALSE(hasPoint(none[1]));  // nothing to step from: no text will be made there
}

TEST_F(TextLogic, AttributeModeWritesBlankValuesAndNeverCreatesOrErases)
{
    cadhost::BlockSpec blk;
    blk.name = u"B";
    blk.attributes = {{.tag = u"NO", .prompt = u"", .defaultValue = u"", .point = {0, 0, 0}}};
    d.addBlock(blk);
    std::vector<EntityId> ins;
    for (int i = 0; i < 4; ++i)
        ins.push_back(d.addInsert({.block = u"B",
                                   .insertionPoint = {double(i), 0, 0},
                                   .attributes = {{u"NO", u"v" + cad::fromUtf8(std::to_string(i))}}}));
    host.scriptedPicker().queueIds(ins);
    auto list = FetchAttributes(doc(), u"NO", false, {}).records;
    const std::size_t entities = d.modelSpace().size();
    auto r = writeBack(list, {u"", u" ", u"new", u"", u"", u"extra"}, 10, 10, true);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(byHandle(list[0].sHnd)->text, u"");
    EXPECT_EQ(byHandle(list[1].sHnd)->text, u" ");
    EXPECT_EQ(byHandle(list[2].sHnd)->text, u"new");
    EXPECT_EQ(byHandle(list[3].sHnd)->text, u"");
    EXPECT_EQ(d.modelSpace().size(), entities);

    // Attributes past the last non-blank line keep their values.
    writeBack(list, {u"only"}, 10, 10, true);
    EXPECT_EQ(byHandle(list[1].sHnd)->text, u" ");
    EXPECT_EQ(list.size(), 4u);
}

TEST_F(TextLogic, AbortInTheFirstPassLeavesTheRestAndAddsNothing)
{
    std::vector<EntityId> ids = {text(u"a", 0, 0), text(u"b", 0, 10), text(u"c", 0, 20)};
    auto list = fetched(ids);
    int pumps = 0;
    auto r = writeBack(list, {u"A", u"B", u"C", u"D"}, 0, 10, false, [&] {
        if (++pumps == 2)
            runFlag = false;
    });
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(entity(ids[0]).text, u"A");
    EXPECT_EQ(entity(ids[1]).text, u"B");
    EXPECT_EQ(entity(ids[2]).text, u"c");
    EXPECT_EQ(texts().size(), 3u);
    EXPECT_EQ(list.size(), 4u);  // cut or lengthened to the used line count all the same
    EXPECT_FALSE(d.history().groupOpen());
}

TEST_F(TextLogic, AbortInTheSecondPassKeepsTheTextsAddedSoFar)
{
    auto list = fetched({text(u"a", 0, 0)});
    int pumps = 0;
    auto r = writeBack(list, {u"a", u"b", u"c", u"d"}, 0, 10, false, [&] {
        if (++pumps == 3)  // after the first record and two added lines
            runFlag = false;
    });
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_TRUE(list[3].sHnd.empty());
    EXPECT_EQ(pointOf(list[3]), (cad::Point{0, 30, 0}));
}

TEST_F(TextLogic, TextLockedAfterTheFetchIsLeftWhileTheRestIsWritten)
{
    d.addLayer(u"L");
    std::vector<EntityId> ids = {text(u"a", 0, 0), text(u"b", 0, 10, u"L"), text(u"c", 0, 20)};
    auto list = fetched(ids);
    d.setLayerLocked(u"L", true);
    auto r = writeBack(list, {u"A", u"", u"C"}, 0, 10);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(entity(ids[0]).text, u"A");
    EXPECT_EQ(entity(ids[1]).text, u"b");
    EXPECT_EQ(list[1].sHnd, handle(ids[1]));  // still paired with its entity
    EXPECT_EQ(entity(ids[2]).text, u"C");
}

TEST_F(TextLogic, FailuresEndTheCommandWithTheUndoGroupClosed)
{
    auto list = fetched({text(u"a", 0, 0), text(u"b", 0, 10)});
    host.faults().failMember(u"Copy");
    auto r = writeBack(list, {u"A", u"B", u"C", u"D"}, 0, 10);
    EXPECT_TRUE(r.failed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(d.history().groupOpen());
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"A", u"B"}));
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"a", u"b"}));

    auto r2 = Align(doc(), list, {u"A", u"B", u"C"}, 0, 10);
    EXPECT_TRUE(r2.failed);
    EXPECT_FALSE(d.history().groupOpen());
}

TEST_F(TextLogic, HostStoppingMidWayFailsAndKeepsArrayAndLinesPaired)
{
    std::vector<EntityId> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(text(u"t", 0, -10.0 * i));
    auto list = fetched(ids);
    host.faults().stopAfter(6);
    auto r = writeBack(list, {u"0", u"1", u"2", u"3", u"4", u"5"}, 0, -10);
    EXPECT_TRUE(r.failed);
    EXPECT_FALSE(host.isRunning());
    EXPECT_FALSE(d.history().groupOpen());
    EXPECT_EQ(list.size(), 6u);
    EXPECT_EQ(entity(ids[4]).text, u"t");
}

TEST_F(TextLogic, AlignRespacesWritesAndIsOneUndoStep)
{
    cadhost::TextSpec right;
    right.text = u"r";
    right.insertionPoint = {25, 5, 0};
    right.alignment = cadhost::AlignRight;
    right.alignmentPoint = cad::Point{30, 5, 0};
    std::vector<EntityId> ids = {text(u"a", 0, 5), text(u"b", 7, 5), d.addText(right)};
    auto list = fetched(ids);
    const std::size_t stepsBefore = d.history().steps().size();
    auto r = Align(doc(), list, {u"a", u"B", u"r", u"x", u"y"}, 10, 0);
    EXPECT_FALSE(r.failed);
    EXPECT_FALSE(r.regenerated);
    EXPECT_EQ(entity(ids[0]).insertionPoint, (cad::Point{0, 5, 0}));
    EXPECT_EQ(entity(ids[1]).insertionPoint, (cad::Point{10, 5, 0}));
    EXPECT_EQ(entity(ids[1]).text, u"B");
    EXPECT_EQ(entity(ids[2]).alignmentPoint, (cad::Point{20, 5, 0}));
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(byHandle(list[3].sHnd)->text, u"x");
    EXPECT_EQ(pointOf(list[4]), (cad::Point{40, 5, 0}));
    EXPECT_EQ(d.history().steps().size(), stepsBefore + 1);
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(entity(ids[1]).insertionPoint, (cad::Point{7, 5, 0}));
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"a", u"b", u"r"}));
}

TEST_F(TextLogic, AlignWithATinyStepOnlyErasesTrailingRecords)
{
    std::vector<EntityId> ids = {text(u"a", 0, 0), text(u"b", 3, 0), text(u"c", 9, 0)};
    auto list = fetched(ids);
    auto r = Align(doc(), list, {u"a", u"b", u""}, 0.005, 0.005);
    EXPECT_TRUE(r.regenerated);
    EXPECT_EQ(entity(ids[1]).insertionPoint, (cad::Point{3, 0, 0}));
    EXPECT_EQ(d.entity(ids[2]), nullptr);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(list[2].sHnd.empty());
    EXPECT_EQ(host.callCount(u"Regen"), 1);
}

TEST_F(TextLogic, AlignTurnsABlankedMiddleLineIntoAPlaceholderAtItsStep)
{
    std::vector<EntityId> ids = {text(u"a", 0, 0, u"0", 0, 2), text(u"b", 1, 1), text(u"c", 5, 5)};
    auto list = fetched(ids);
    Align(doc(), list, {u"a", u"", u"c"}, 0, -10);
    EXPECT_EQ(d.entity(ids[1]), nullptr);
    EXPECT_EQ(pointOf(list[1]), (cad::Point{0, -10, 0}));
    EXPECT_EQ(entity(ids[2]).insertionPoint, (cad::Point{0, -20, 0}));
    // The later write-back creates the text there.
    writeBack(list, {u"a", u"B", u"c"}, 0, -10);
    EXPECT_EQ(byHandle(list[1].sHnd)->insertionPoint, (cad::Point{0, -10, 0}));
}
