#include "cadhost/testapi.h"

#include "cad/connection.h"
#include "support/errortext.h"

#include <gtest/gtest.h>

using namespace cadhost;
using cad::Argument;
using cad::Object;
using cad::Variant;

namespace {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.addLayer(u"注記");
        d.addLayer(u"LOCKED", 1, true);
        d.addBlock({.name = u"PUMP",
                    .lines = {{{0, 0, 0}, {5, 0, 0}}},
                    .attributes = {{.tag = u"NO", .prompt = u"機器番号", .defaultValue = u"P-0", .point = {0, 3, 0}},
                                   {.tag = u"RATING", .prompt = u"仕様", .point = {0, -3, 0}}}});
        d.addBlock({.name = u"VALVE", .attributes = {{.tag = u"NO", .prompt = u"弁番号"}}});
        left = d.addText({.text = u"Pump P-101", .insertionPoint = {1, 2, 0}, .layer = u"注記"});
        centred = d.addText({.text = u"ポンプ",
                             .insertionPoint = {9, 9, 0},
                             .alignment = AlignMiddleCenter,
                             .alignmentPoint = cad::Point{10, 10, 0}});
        locked = d.addText({.text = u"locked", .insertionPoint = {0, 50, 0}, .layer = u"LOCKED"});
        line = d.addLine({{0, 0, 0}, {3, 4, 0}});
        pump = d.addInsert({.block = u"PUMP", .insertionPoint = {100, 0, 0}, .attributes = {{u"NO", u"P-101"}}});
        valve = d.addInsert(
            {.block = u"VALVE", .insertionPoint = {200, 0, 0}, .layer = u"LOCKED", .attributes = {{u"NO", u"V-1"}}});
        app = host.application();
        doc = app.get(u"ActiveDocument").toObject();
    }

    Object byHandle(EntityId id) const
    {
        return doc.call(u"HandleToObject", {Variant(d.entity(id)->handle)}).toObject();
    }
    Object newSet(const char16_t *name = u"S1") const
    {
        Argument a{Variant(name), true};
        return doc.get(u"SelectionSets").toObject().callRef(u"Add", std::span<Argument>(&a, 1)).toObject();
    }
    std::vector<std::u16string> select(const Object &set, cad::Int16Array types, cad::VariantArray data) const
    {
        set.call(u"Select", {Variant(5), Variant(), Variant(), Variant(std::move(types)), Variant(std::move(data))});
        return strings(set);
    }
    static std::vector<std::u16string> strings(const Object &set)
    {
        std::vector<std::u16string> out;
        for (int i = 0, n = set.get(u"Count").toInt(); i < n; ++i) {
            Object e = set.call(u"Item", {Variant(i)}).toObject();
            auto name = e.get(u"EntityName").toString();
            if (name == u"AcDbLine")
                out.push_back(u"LINE");
            else
                out.push_back(name == u"AcDbBlockReference" ? e.get(u"Name").toString()
                                                            : e.get(u"TextString").toString());
        }
        return out;
    }

    Host host;
    Drawing &d = host.drawing();
    EntityId left = 0, centred = 0, locked = 0, line = 0, pump = 0, valve = 0;
    Object app, doc;
};

using Strings = std::vector<std::u16string>;

TEST_F(HostTest, ApplicationAndDocumentBasics)
{
    EXPECT_EQ(app.get(u"HWND").toInt64(), 0);
    host.setApplicationWindow(0x1234);
    d.setWindowHandle(0x5678);
    EXPECT_EQ(app.get(u"hwnd").toInt64(), 0x1234);
    EXPECT_EQ(doc.get(u"HWND").toInt64(), 0x5678);
    EXPECT_EQ(doc.call(u"GetVariable", {Variant(u"viewsize")}).toDouble(), d.view().height);
    EXPECT_EQ(doc.call(u"GetVariable", {Variant(u"SCREENSIZE")}).toDoubleArray(), (cad::DoubleArray{800, 600}));
    d.setScreenSize(1024, 700);
    EXPECT_EQ(doc.call(u"GetVariable", {Variant(u"SCREENSIZE")}).toDoubleArray(), (cad::DoubleArray{1024, 700}));
    EXPECT_THROW(doc.call(u"GetVariable", {Variant(u"NOSUCHVAR")}), cad::Error);

    Argument zoom[2] = {{Variant(cad::DoubleArray{5, 6, 0}), true}, {Variant(42.0), true}};
    app.callRef(u"ZoomCenter", zoom);
    EXPECT_EQ(d.view().centre, (cad::Point{5, 6, 0}));
    EXPECT_EQ(doc.call(u"GetVariable", {Variant(u"VIEWSIZE")}).toDouble(), 42.0);

    int regens = 0;
    d.addObserver([&](DrawingEvent e) { regens += e == DrawingEvent::Regen; });
    doc.call(u"Regen", {Variant(0)});
    EXPECT_EQ(regens, 1);
    EXPECT_EQ(errorText([&] { doc.get(u"NoSuchMember"); }), kUnknownName);
}

TEST_F(HostTest, LayersAndBlocks)
{
    Object layers = doc.get(u"Layers").toObject();
    ASSERT_EQ(layers.get(u"Count").toInt(), 3);
    std::u16string lockedNames;
    for (int i = 0; i < 3; ++i) {
        Object l = layers.call(u"Item", {Variant(i)}).toObject();
        if (l.get(u"Lock").toBool())
            lockedNames += l.get(u"Name").toString();
    }
    EXPECT_EQ(lockedNames, u"LOCKED");
    EXPECT_EQ(layers.get(u"Item", {Variant(u"注記")}).toObject().get(u"Name").toString(), u"注記");
    EXPECT_THROW(layers.call(u"Item", {Variant(3)}), cad::Error);

    // Blocks: model space, paper space, then the definitions.
    Object blocks = doc.get(u"Blocks").toObject();
    ASSERT_EQ(blocks.get(u"Count").toInt(), 4);
    Object def = blocks.call(u"Item", {Variant(2)}).toObject();
    EXPECT_EQ(def.get(u"Name").toString(), u"PUMP");
    ASSERT_EQ(def.get(u"Count").toInt(), 3);
    EXPECT_EQ(def.call(u"Item", {Variant(0)}).toObject().get(u"EntityName").toString(), u"AcDbLine");
    Object attdef = def.call(u"Item", {Variant(1)}).toObject();
    EXPECT_EQ(attdef.get(u"EntityName").toString(), u"AcDbAttributeDefinition");
    EXPECT_EQ(attdef.get(u"TagString").toString(), u"NO");
    EXPECT_EQ(attdef.get(u"PromptString").toString(), u"機器番号");
    EXPECT_EQ(attdef.get(u"TextString").toString(), u"P-0");
}

TEST_F(HostTest, EntityProperties)
{
    Object t = byHandle(left);
    EXPECT_EQ(t.get(u"TextString").toString(), u"Pump P-101");
    EXPECT_EQ(t.get(u"textstring").toString(), u"Pump P-101");  // any letter case
    EXPECT_EQ(t.get(u"EntityName").toString(), u"AcDbText");
    EXPECT_EQ(t.get(u"Layer").toString(), u"注記");
    EXPECT_EQ(t.get(u"Alignment").toInt(), 0);
    EXPECT_EQ(t.get(u"InsertionPoint").toDoubleArray(), (cad::DoubleArray{1, 2, 0}));
    EXPECT_EQ(t.get(u"Handle").toString(), d.entity(left)->handle);
    EXPECT_EQ(t.get(u"ObjectId").type(), Variant::Type::Int64);
    EXPECT_EQ(t.get(u"ObjectId").toInt64(), left);
    EXPECT_EQ(t.get(u"OwnerId").toInt64(), d.modelSpaceId());
    EXPECT_EQ(errorText([&] { t.get(u"HasAttributes"); }), kUnknownName);  // not a member of a text

    Object c = byHandle(centred);
    EXPECT_EQ(c.get(u"Alignment").toInt(), AlignMiddleCenter);
    EXPECT_EQ(c.get(u"TextAlignmentPoint").toDoubleArray(), (cad::DoubleArray{10, 10, 0}));

    t.put(u"TextString", Variant(u"changed"));
    t.put(u"InsertionPoint", Variant(cad::DoubleArray{4, 4, 0}));
    EXPECT_EQ(d.entity(left)->text, u"changed");
    EXPECT_EQ(d.entity(left)->insertionPoint, (cad::Point{4, 4, 0}));
    c.put(u"TextAlignmentPoint", Variant(cad::VariantArray{Variant(20), Variant(30), Variant(0)}));
    EXPECT_EQ(d.entity(centred)->alignmentPoint, (cad::Point{20, 30, 0}));
    EXPECT_EQ(d.entity(centred)->insertionPoint, (cad::Point{19, 29, 0}));  // the text moves as a whole
    t.put(u"Alignment", Variant(AlignRight));
    EXPECT_EQ(d.entity(left)->alignmentPoint, (cad::Point{4, 4, 0}));  // leaves left: stays in place
    EXPECT_THROW(t.put(u"Alignment", Variant(15)), cad::Error);
    EXPECT_THROW(t.put(u"Layer", Variant(u"NOLAYER")), cad::Error);
    EXPECT_THROW(t.put(u"Handle", Variant(u"1")), cad::Error);
    t.call(u"Update");

    Object l = byHandle(line);
    EXPECT_EQ(l.get(u"EntityName").toString(), u"AcDbLine");
    EXPECT_EQ(l.get(u"EndPoint").toDoubleArray(), (cad::DoubleArray{3, 4, 0}));
}

TEST_F(HostTest, BlockReferencesAndAttributes)
{
    Object r = byHandle(pump);
    EXPECT_EQ(r.get(u"EntityName").toString(), u"AcDbBlockReference");
    EXPECT_EQ(r.get(u"Name").toString(), u"PUMP");
    EXPECT_TRUE(r.get(u"HasAttributes").toBool());
    cad::VariantArray attrs = r.call(u"GetAttributes").toArray();
    ASSERT_EQ(attrs.size(), 2u);
    Object a = attrs[0].toObject();
    EXPECT_EQ(a.get(u"EntityName").toString(), u"AcDbAttribute");
    EXPECT_EQ(a.get(u"TagString").toString(), u"NO");
    EXPECT_EQ(a.get(u"TextString").toString(), u"P-101");
    EXPECT_EQ(a.get(u"OwnerId").toInt64(), pump);
    EXPECT_EQ(doc.call(u"ObjectIdToObject", {a.get(u"OwnerId")}).toObject().get(u"Name").toString(), u"PUMP");
    EXPECT_EQ(attrs[1].toObject().get(u"TextString").toString(), u"");

    // Moving the reference moves its attributes, as one undo step.
    r.put(u"InsertionPoint", Variant(cad::DoubleArray{110, 5, 0}));
    EXPECT_EQ(a.get(u"InsertionPoint").toDoubleArray(), (cad::DoubleArray{110, 8, 0}));
    EXPECT_EQ(d.history().steps().size(), 1u);

    // The attribute written through its handle, as the grids do.
    Object again = doc.call(u"HandleToObject", {a.get(u"Handle")}).toObject();
    again.put(u"TextString", Variant(u"P-102"));
    EXPECT_EQ(a.get(u"TextString").toString(), u"P-102");
    EXPECT_THROW(a.call(u"Delete"), cad::Error);
}

TEST_F(HostTest, HandleAndObjectIdLookups)
{
    std::u16string h = d.entity(left)->handle;
    std::u16string lower;
    for (char16_t ch : h)
        lower += (ch >= u'A' && ch <= u'F') ? char16_t(ch + 32) : ch;
    Argument ref{Variant(lower), true};
    EXPECT_EQ(doc.callRef(u"HandleToObject", std::span<Argument>(&ref, 1)).toObject().get(u"Handle").toString(), h);
    EXPECT_EQ(errorText([&] { doc.call(u"HandleToObject", {Variant(u"FFFFFF")}); }), kKeyNotFound);
    Argument id{Variant(std::int64_t(centred)), true};
    EXPECT_EQ(doc.callRef(u"ObjectIdToObject", std::span<Argument>(&id, 1)).toObject().get(u"TextString").toString(),
              u"ポンプ");
    EXPECT_THROW(doc.call(u"ObjectIdToObject", {Variant(std::int64_t(1))}), cad::Error);
}

TEST_F(HostTest, CopyDeleteAndLockedLayers)
{
    Object t = byHandle(left);
    Object copy = t.call(u"Copy").toObject();
    EXPECT_NE(copy.get(u"Handle").toString(), t.get(u"Handle").toString());
    for (const char16_t *m : {u"TextString", u"Layer", u"Alignment", u"InsertionPoint", u"TextAlignmentPoint"})
        EXPECT_EQ(copy.get(m), t.get(m)) << cad::toUtf8(m);
    copy.call(u"Delete");
    EXPECT_EQ(errorText([&] { copy.get(u"TextString"); }), kWasErased);
    EXPECT_THROW(doc.call(u"HandleToObject", {Variant(d.entity(left)->handle + u"0")}), cad::Error);

    Object l = byHandle(locked);
    EXPECT_EQ(l.get(u"TextString").toString(), u"locked");  // reading is fine
    for (auto f : std::vector<std::function<void()>>{
             [&] { l.put(u"TextString", Variant(u"x")); },
             [&] {
                 l.put(u"InsertionPoint", Variant(cad::DoubleArray{0, 0, 0}));
             },
             [&] { l.put(u"Alignment", Variant(0)); },
             [&] { l.put(u"Layer", Variant(u"0")); },
             [&] { l.call(u"Delete"); },
             [&] { l.call(u"Copy"); },
         })
        EXPECT_EQ(errorText(f), kOnLockedLayer);
    // The attributes of a reference on a locked layer share its layer.
    Object va = byHandle(valve).call(u"GetAttributes").toArray()[0].toObject();
    EXPECT_EQ(errorText([&] { va.put(u"TextString", Variant(u"V-2")); }), kOnLockedLayer);
    EXPECT_EQ(d.entity(locked)->text, u"locked");
}

TEST_F(HostTest, UndoMarksGroupAutomationChanges)
{
    doc.call(u"StartUndoMark");
    byHandle(left).put(u"TextString", Variant(u"a"));
    byHandle(centred).call(u"Delete");
    byHandle(pump).call(u"Copy");
    doc.call(u"EndUndoMark");
    byHandle(left).put(u"TextString", Variant(u"b"));
    ASSERT_EQ(d.history().steps().size(), 2u);
    d.undo();
    EXPECT_EQ(d.entity(left)->text, u"a");
    d.undo();
    EXPECT_EQ(d.entity(left)->text, u"Pump P-101");
    EXPECT_TRUE(d.entity(centred));
    EXPECT_EQ(d.modelSpace().size(), 6u);
}

TEST_F(HostTest, SelectionSetsCollection)
{
    Object sets = doc.get(u"SelectionSets").toObject();
    EXPECT_EQ(sets.get(u"Count").toInt(), 0);
    Object s = newSet(u"ssTemp");
    EXPECT_EQ(sets.get(u"Count").toInt(), 1);
    EXPECT_EQ(s.get(u"Name").toString(), u"ssTemp");
    EXPECT_EQ(errorText([&] { newSet(u"SSTEMP"); }), kDuplicateName);
    EXPECT_EQ(sets.call(u"Item", {Variant(0)}).toObject().get(u"Name").toString(), u"ssTemp");
    s.call(u"Delete");
    EXPECT_EQ(sets.get(u"Count").toInt(), 0);
    EXPECT_THROW(s.get(u"Count"), cad::Error);
}

TEST_F(HostTest, SelectWholeDrawingWithFilters)
{
    Object s = newSet();
    EXPECT_EQ(select(s, {0}, {Variant(u"TEXT")}), (Strings{u"Pump P-101", u"ポンプ", u"locked"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0, 1}, {Variant(u"TEXT"), Variant(u"*p*")}), (Strings{u"Pump P-101"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0, 1}, {Variant(u"TEXT"), Variant(u"*ポンプ*")}), (Strings{u"ポンプ"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0, 2}, {Variant(u"INSERT"), Variant(u"*")}), (Strings{u"PUMP", u"VALVE"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0, 2}, {Variant(u"insert"), Variant(u"V*")}), (Strings{u"VALVE"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0}, {Variant(u"LINE,INSERT")}), (Strings{u"LINE", u"PUMP", u"VALVE"}));
    s.call(u"Clear");
    EXPECT_EQ(select(s, {0, 8}, {Variant(u"TEXT"), Variant(u"~LOCKED")}).size(), 2u);
    s.call(u"Clear");
    // Filter types as a variant array of integers work too.
    s.call(u"Select", {Variant(5), Variant(), Variant(), Variant(cad::VariantArray{Variant(0)}),
                       Variant(cad::VariantArray{Variant(u"TEXT")})});
    EXPECT_EQ(s.get(u"Count").toInt(), 3);
    s.call(u"Clear");
    // No filter: every model-space entity, attributes never on their own.
    s.call(u"Select", {Variant(5)});
    EXPECT_EQ(s.get(u"Count").toInt(), 6);
    s.call(u"Clear");
    // Window selection by points.
    s.call(u"Select", {Variant(0), Variant(cad::DoubleArray{-1, -1, 0}), Variant(cad::DoubleArray{20, 20, 0})});
    EXPECT_EQ(s.get(u"Count").toInt(), 3);  // two texts and the line

    EXPECT_THROW(s.call(u"Select", {Variant(5), Variant(), Variant(), Variant(cad::Int16Array{0, 1}),
                                    Variant(cad::VariantArray{Variant(u"TEXT")})}),
                 cad::Error);  // unequal bounds
    EXPECT_THROW(s.call(u"Select", {Variant(5), Variant(), Variant(), Variant(cad::Int16Array{62}),
                                    Variant(cad::VariantArray{Variant(1)})}),
                 cad::Error);  // unsupported group code
    EXPECT_THROW(s.call(u"Item", {Variant(99)}), cad::Error);
}

TEST_F(HostTest, SelectOnScreenTakesScriptedPicksThroughTheFilter)
{
    Object s = newSet();
    auto &picks = host.scriptedPicker();
    picks.queueHandles({d.entity(pump)->handle, d.entity(left)->handle, d.entity(locked)->handle});
    picks.queueCancel();
    picks.queueIds({valve, valve});

    Argument f[2] = {{Variant(cad::Int16Array{0}), true}, {Variant(cad::VariantArray{Variant(u"TEXT")}), true}};
    s.callRef(u"SelectOnScreen", f);
    EXPECT_EQ(strings(s), (Strings{u"Pump P-101", u"locked"}));  // the block reference does not pass

    s.call(u"Clear");
    EXPECT_EQ(errorText([&] { s.callRef(u"SelectOnScreen", f); }), kPickCancelled);
    EXPECT_EQ(s.get(u"Count").toInt(), 0);

    s.call(u"SelectOnScreen");  // no filter; duplicates enter once
    EXPECT_EQ(strings(s), (Strings{u"VALVE"}));
    EXPECT_THROW(s.call(u"SelectOnScreen"), cad::Error);  // queue empty: cancelled
    EXPECT_EQ(picks.selectOnScreenCount(), 4);
}

TEST_F(HostTest, GetSubEntityFillsItsByRefArguments)
{
    Object attr = byHandle(pump).call(u"GetAttributes").toArray()[0].toObject();
    host.scriptedPicker().queueSubEntity(attr.get(u"Handle").toString(), {101, 3, 0});
    host.scriptedPicker().queueSubEntityCancel();
    Object util = doc.get(u"Utility").toObject();
    Argument a[5] = {{Variant(), true},
                     {Variant(), true},
                     {Variant(cad::Null{}), false},
                     {Variant(cad::Null{}), false},
                     {Variant(u"TAG名を参照する属性を選択 : "), false}};
    util.callRef(u"GetSubEntity", a);
    Object picked = a[0].value.toObject();
    EXPECT_EQ(picked.get(u"EntityName").toString(), u"AcDbAttribute");
    EXPECT_EQ(picked.get(u"TagString").toString(), u"NO");
    EXPECT_EQ(a[1].value.toDoubleArray(), (cad::DoubleArray{101, 3, 0}));
    EXPECT_EQ(host.scriptedPicker().prompts().back(), u"TAG名を参照する属性を選択 : ");
    EXPECT_EQ(errorText([&] { util.callRef(u"GetSubEntity", a); }), kPickCancelled);
}

TEST_F(HostTest, InjectedFaultsAndCallCounts)
{
    Object t = byHandle(left);
    host.resetCallCounts();
    host.faults().failCall(2);
    EXPECT_NO_THROW(t.get(u"TextString"));
    EXPECT_EQ(errorText([&] { t.get(u"TextString"); }), kInjectedFault);
    EXPECT_NO_THROW(t.get(u"TextString"));
    EXPECT_EQ(host.callCount(u"textstring"), 3);

    host.faults().failMember(u"handle", 1);
    EXPECT_THROW(t.get(u"Handle"), cad::Error);
    EXPECT_NO_THROW(t.get(u"Handle"));
    host.faults().failMember(u"Layer");
    EXPECT_THROW(t.get(u"Layer"), cad::Error);
    EXPECT_THROW(t.get(u"Layer"), cad::Error);
    host.faults().clear();
    EXPECT_NO_THROW(t.get(u"Layer"));

    host.faults().stopAfter(2);
    EXPECT_NO_THROW(t.get(u"Layer"));
    EXPECT_NO_THROW(t.get(u"Layer"));
    EXPECT_FALSE(host.isRunning());
    EXPECT_EQ(errorText([&] { t.get(u"Layer"); }), kServerUnavailable);
    EXPECT_EQ(host.totalCalls(), 10);
}

TEST_F(HostTest, StoppedHostAnswersNothing)
{
    Object t = byHandle(left);
    host.stop();
    EXPECT_TRUE(host.application().isNull());
    EXPECT_TRUE(host.activeObject(Host::kClassId).isNull());
    EXPECT_EQ(errorText([&] { doc.get(u"HWND"); }), kServerUnavailable);
    host.start();
    // References from before the stop stay dead, as those of a closed CAD.
    EXPECT_EQ(errorText([&] { t.get(u"TextString"); }), kServerUnavailable);
    EXPECT_FALSE(host.application().isNull());
    EXPECT_EQ(host.classIdFromProgId(u"bricscadapp.acadapplication"), Host::kClassId);
    EXPECT_EQ(errorText([&] { host.classIdFromProgId(u"AutoCAD.Application"); }), cad::kInvalidClassString);
}

TEST(SampleDrawing, BuildsAndIsSelectable)
{
    Host host;
    buildSampleDrawing(host.drawing());
    Object doc = host.application().get(u"ActiveDocument").toObject();
    Argument name{Variant(u"S"), true};
    Object s = doc.get(u"SelectionSets").toObject().callRef(u"Add", std::span<Argument>(&name, 1)).toObject();
    s.call(u"Select", {Variant(5), Variant(), Variant(), Variant(cad::Int16Array{0}),
                       Variant(cad::VariantArray{Variant(u"TEXT")})});
    EXPECT_GT(s.get(u"Count").toInt(), 3);
}

}  // namespace
