// The CAD-link conformance suite: the connection helpers and the members
// the program calls, against a CAD stand-in. The same tests run against
// the drawing host in process and, under Wine, over COM.
#include "cadtarget.h"

#include "cad/connection.h"

#include <gtest/gtest.h>

#include <algorithm>

using cad::Argument;
using cad::Object;
using cad::Variant;

namespace {

class CadLinkConformance : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_target = wintest::makeConformanceTarget().release(); }
    static void TearDownTestSuite()
    {
        delete s_target;
        s_target = nullptr;
    }
    void SetUp() override
    {
        target().reset();
        cad::TargetProgID = target().progId();
        ASSERT_TRUE(cad::IsCadRunning());
        app = cad::AttachCad();
        doc = app.get(u"ActiveDocument").toObject();
        ASSERT_FALSE(doc.isNull());
    }
    void TearDown() override { cad::TargetProgID = cad::kDefaultProgID; }

    static wintest::CadTarget &target() { return *s_target; }
    Object entity(const std::u16string &handle)
    {
        Argument h{Variant(handle), true};
        return doc.callRef(u"HandleToObject", std::span<Argument>(&h, 1)).toObject();
    }

    Object app, doc;
    static wintest::CadTarget *s_target;
};
wintest::CadTarget *CadLinkConformance::s_target = nullptr;

TEST_F(CadLinkConformance, TextPropertiesReadAndWritten)
{
    target().addLayer(u"注記", false);
    std::u16string h = target().addText(u"A-1", {10, 20, 0}, u"注記");
    Object t = entity(h);
    EXPECT_EQ(t.get(u"TextString"), Variant(u"A-1"));
    EXPECT_EQ(t.get(u"textstring"), Variant(u"A-1"));  // names in any case
    EXPECT_EQ(t.get(u"Layer"), Variant(u"注記"));
    EXPECT_EQ(t.get(u"Handle").toString(), h);
    EXPECT_EQ(t.get(u"Alignment").toInt(), 0);
    EXPECT_EQ(cad::toPoint(t.get(u"InsertionPoint")), (cad::Point{10, 20, 0}));

    t.put(u"TextString", Variant(u"Ｂ－２"));
    EXPECT_EQ(target().textOf(h), u"Ｂ－２");
    t.put(u"InsertionPoint", cad::fromPoint({1, 2, 0}));
    EXPECT_EQ(cad::toPoint(t.get(u"InsertionPoint")), (cad::Point{1, 2, 0}));
}

TEST_F(CadLinkConformance, PickThroughTheTemporarySelectionSet)
{
    std::u16string a = target().addText(u"one", {0, 0, 0}, u"0");
    std::u16string b = target().addText(u"two", {0, 10, 0}, u"0");
    target().queuePicks({a, b});

    Variant set = cad::GetTempSelectionSet(doc);
    ASSERT_TRUE(set.isObject());
    // A TEXT-only filter: 16-bit group codes, variant data, by reference.
    Argument filter[2] = {{Variant(cad::Int16Array{0}), true}, {Variant(cad::VariantArray{Variant(u"TEXT")}), true}};
    Object s = set.toObject();
    s.callRef(u"SelectOnScreen", filter);
    ASSERT_EQ(s.get(u"Count").toInt(), 2);
    EXPECT_EQ(s.call(u"Item", {Variant(0)}).toObject().get(u"TextString"), Variant(u"one"));
    EXPECT_EQ(s.call(u"Item", {Variant(1)}).toObject().get(u"Handle").toString(), b);

    cad::ReleaseTempSelectionSet(set);
    auto names = target().selectionSetNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), u"SSTEMP"), 0);
}

TEST_F(CadLinkConformance, ExistingTemporarySetIsReusedInAnyCase)
{
    Object sets = doc.get(u"SelectionSets").toObject();
    Argument name{Variant(u"ssTemp"), true};
    sets.callRef(u"Add", std::span<Argument>(&name, 1));
    Variant set = cad::GetTempSelectionSet(doc);
    ASSERT_TRUE(set.isObject());
    EXPECT_EQ(set.toObject().get(u"Name"), Variant(u"ssTemp"));
    EXPECT_EQ(target().selectionSetNames().size(), 1u);
    cad::ReleaseTempSelectionSet(set);
    EXPECT_TRUE(target().selectionSetNames().empty());
}

TEST_F(CadLinkConformance, GetSubEntityFillsItsReferenceArguments)
{
    std::u16string h = target().addText(u"picked", {5, 6, 0}, u"0");
    target().queueSubEntity(h);
    Object utility = doc.get(u"Utility").toObject();
    Argument args[5] = {{Variant(), true}, {Variant(), true}, {Variant()}, {Variant()}, {Variant(u"文字を選択")}};
    utility.callRef(u"GetSubEntity", args);
    EXPECT_EQ(args[0].value.toObject().get(u"TextString"), Variant(u"picked"));
    EXPECT_TRUE(args[1].value.isArray());
}

TEST_F(CadLinkConformance, UndoMarkMakesOneStep)
{
    std::u16string a = target().addText(u"a", {0, 0, 0}, u"0");
    std::u16string b = target().addText(u"b", {0, 5, 0}, u"0");
    int before = target().undoSteps();
    {
        cad::UndoMark mark(doc);
        entity(a).put(u"TextString", Variant(u"A"));
        entity(b).put(u"TextString", Variant(u"B"));
        mark.close();
    }
    EXPECT_EQ(target().undoSteps(), before + 1);
    EXPECT_EQ(target().textOf(a), u"A");
    EXPECT_EQ(target().textOf(b), u"B");
}

TEST_F(CadLinkConformance, ZoomToPointCentresTheView)
{
    cad::ZoomToPoint(app, cad::fromPoint({120, 80, 0}), 3, false, 0.05);
    EXPECT_EQ(target().viewCentre(), (cad::Point{120, 80, 0}));
}

TEST_F(CadLinkConformance, FailuresRaiseWithText)
{
    try {
        entity(u"FFFFFF").get(u"TextString");
        FAIL() << "no error";
    } catch (const cad::Error &e) {
        EXPECT_FALSE(e.text().empty());
    }
    target().addLayer(u"固定", true);
    std::u16string h = target().addText(u"locked", {0, 0, 0}, u"固定");
    EXPECT_THROW(entity(h).put(u"TextString", Variant(u"x")), cad::Error);
    EXPECT_EQ(target().textOf(h), u"locked");
    // The connection survives failed calls.
    EXPECT_EQ(entity(h).get(u"TextString"), Variant(u"locked"));
}

}  // namespace
