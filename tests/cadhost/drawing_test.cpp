#include "cadhost/drawing.h"

#include "cadhost/errors.h"

#include <gtest/gtest.h>

#include <set>

using namespace cadhost;

namespace {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.addBlock({.name = u"B",
                    .lines = {{{0, 0, 0}, {10, 0, 0}}},
                    .attributes = {{.tag = u"NO", .prompt = u"番号", .defaultValue = u"0", .point = {1, 2, 0}},
                                   {.tag = u"NAME", .prompt = u"名前", .defaultValue = u"-", .point = {1, 5, 0}}}});
        t1 = d.addText({.text = u"one", .insertionPoint = {0, 0, 0}});
        t2 = d.addText({.text = u"two", .insertionPoint = {0, 10, 0}, .layer = u"L"});
        ins = d.addInsert({.block = u"B",
                           .insertionPoint = {100, 50, 0},
                           .scale = 2,
                           .attributes = {{u"NO", u"7"}, {u"EXTRA", u"x"}}});
    }

    std::u16string text(EntityId id) const { return d.entity(id)->text; }
    void setText(EntityId id, std::u16string s)
    {
        d.modify(id, u"TextString", [&](Entity &e) { e.text = s; });
    }

    Drawing d;
    EntityId t1 = 0, t2 = 0, ins = 0;
};

TEST_F(DrawingTest, HandlesAreUniqueUpperHexAndIdsNeed64Bits)
{
    std::set<std::u16string> handles;
    std::set<EntityId> ids;
    for (EntityId id : d.modelSpace()) {
        const Entity *e = d.entity(id);
        ASSERT_TRUE(e);
        EXPECT_GT(e->id, EntityId(1) << 32);
        for (char16_t c : e->handle)
            EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
        handles.insert(e->handle);
        ids.insert(e->id);
    }
    for (const auto &l : d.layers())
        handles.insert(l.handle);
    for (const auto &b : d.blocks())
        handles.insert(b.handle);
    EXPECT_EQ(handles.size(), d.modelSpace().size() + d.layers().size() + d.blocks().size());
    std::u16string lower = d.entity(t1)->handle;
    for (auto &c : lower)
        if (c >= u'A' && c <= u'F')
            c = char16_t(c + 32);
    EXPECT_EQ(d.entityByHandle(lower)->id, t1);
}

TEST_F(DrawingTest, InsertTakesAttributesFromItsDefinition)
{
    const Entity &r = *d.entity(ins);
    EXPECT_EQ(r.blockName, u"B");
    ASSERT_EQ(r.attributes.size(), 3u);
    const Entity &no = *d.entity(r.attributes[0]);
    EXPECT_EQ(no.kind, EntityKind::Attribute);
    EXPECT_EQ(no.tag, u"NO");
    EXPECT_EQ(no.text, u"7");
    EXPECT_EQ(no.owner, ins);
    EXPECT_EQ(no.insertionPoint, (cad::Point{102, 54, 0}));  // base + 2 × (1, 2)
    EXPECT_EQ(d.entity(r.attributes[1])->text, u"-");        // default
    EXPECT_EQ(d.entity(r.attributes[2])->tag, u"EXTRA");
    // Attributes are not model-space entities.
    EXPECT_EQ(d.modelSpace().size(), 3u);
    // The definition holds the line and both attribute definitions, in order.
    const auto &def = d.entitiesOf(d.block(u"b")->id);
    ASSERT_EQ(def.size(), 3u);
    EXPECT_EQ(d.entity(def[0])->kind, EntityKind::Line);
    EXPECT_EQ(d.entity(def[2])->prompt, u"名前");
    EXPECT_THROW(d.addInsert({.block = u"NOPE"}), cad::Error);
    EXPECT_THROW(d.addBlock({.name = u"b"}), cad::Error);
}

TEST_F(DrawingTest, ChangesOutsideAGroupAreStepsOfTheirOwn)
{
    setText(t1, u"a");
    setText(t1, u"b");
    setText(t1, u"b");  // no change, no step
    ASSERT_EQ(d.history().steps().size(), 2u);
    EXPECT_EQ(d.history().steps()[0].label, u"TextString");
    EXPECT_TRUE(d.undo());
    EXPECT_EQ(text(t1), u"a");
    EXPECT_TRUE(d.undo());
    EXPECT_EQ(text(t1), u"one");
    EXPECT_FALSE(d.undo());
    EXPECT_TRUE(d.redo());
    EXPECT_EQ(text(t1), u"a");
    setText(t2, u"new");  // drops the redo step
    EXPECT_FALSE(d.canRedo());
}

TEST_F(DrawingTest, OneUndoRevertsAGroup)
{
    setText(t2, u"before");
    d.startUndoMark();
    setText(t1, u"x");
    d.startUndoMark();  // nested marks make one group
    setText(t2, u"y");
    d.endUndoMark();
    EntityId c = d.copy(t1);
    d.erase(t2);
    d.endUndoMark();
    d.endUndoMark();  // unmatched end: ignored
    ASSERT_EQ(d.history().steps().size(), 2u);
    EXPECT_EQ(d.history().steps().back().label, u"Group");

    ASSERT_TRUE(d.undo());
    EXPECT_EQ(text(t1), u"one");
    EXPECT_EQ(text(t2), u"before");
    EXPECT_EQ(d.entity(c), nullptr);
    ASSERT_TRUE(d.redo());
    EXPECT_EQ(text(t1), u"x");
    EXPECT_EQ(d.entity(t2), nullptr);
    ASSERT_TRUE(d.entity(c));
    EXPECT_EQ(text(c), u"x");
}

TEST_F(DrawingTest, EmptyGroupLeavesNoStepAndUndoClosesAnOpenGroup)
{
    d.startUndoMark();
    d.endUndoMark();
    EXPECT_FALSE(d.canUndo());
    d.startUndoMark();
    setText(t1, u"x");
    EXPECT_TRUE(d.history().groupOpen());
    EXPECT_TRUE(d.undo());
    EXPECT_FALSE(d.history().groupOpen());
    EXPECT_EQ(text(t1), u"one");
}

TEST_F(DrawingTest, CopyAndEraseOfABlockReferenceTakeItsAttributes)
{
    EntityId c = d.copy(ins);
    const Entity &copy = *d.entity(c);
    ASSERT_EQ(copy.attributes.size(), 3u);
    EXPECT_NE(copy.attributes[0], d.entity(ins)->attributes[0]);
    EXPECT_EQ(d.entity(copy.attributes[0])->owner, c);
    EXPECT_EQ(d.entity(copy.attributes[0])->text, u"7");
    EXPECT_EQ(d.modelSpace().back(), c);

    auto attrs = d.entity(ins)->attributes;
    std::u16string handle = d.entity(ins)->handle;
    d.erase(ins);
    EXPECT_EQ(d.entity(ins), nullptr);
    EXPECT_EQ(d.entity(attrs[0]), nullptr);
    EXPECT_EQ(d.entityByHandle(handle), nullptr);
    ASSERT_TRUE(d.undo());  // one step brings back reference and attributes, same handle
    EXPECT_EQ(d.entityByHandle(handle)->id, ins);
    EXPECT_EQ(d.entity(attrs[0])->text, u"7");
    // Order in model space is kept.
    EXPECT_EQ(d.modelSpace()[2], ins);

    EXPECT_THROW(d.erase(attrs[0]), cad::Error);  // attributes go with their reference
}

TEST_F(DrawingTest, LockedLayerRefusesChanges)
{
    d.setLayerLocked(u"l", true);
    try {
        setText(t2, u"x");
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_EQ(e.text(), kOnLockedLayer);
    }
    EXPECT_THROW(d.erase(t2), cad::Error);
    EXPECT_THROW(d.copy(t2), cad::Error);
    EXPECT_EQ(text(t2), u"two");
    EXPECT_FALSE(d.canUndo());
    d.setLayerLocked(u"L", false);
    setText(t2, u"x");
    EXPECT_EQ(text(t2), u"x");
    EXPECT_THROW(d.setLayerLocked(u"none", true), cad::Error);
}

TEST_F(DrawingTest, ObserversHearChangesAndViewUpdates)
{
    std::vector<DrawingEvent> events;
    int token = d.addObserver([&](DrawingEvent e) { events.push_back(e); });
    setText(t1, u"x");
    d.setViewCentre({1, 2, 0}, 50);
    d.undo();
    d.removeObserver(token);
    setText(t1, u"y");
    EXPECT_EQ(events, (std::vector<DrawingEvent>{DrawingEvent::Entities, DrawingEvent::View, DrawingEvent::Entities}));
    EXPECT_EQ(d.view().height, 50);
    EXPECT_THROW(d.setViewCentre({0, 0, 0}, 0), cad::Error);
}

}  // namespace
