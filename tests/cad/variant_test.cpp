#include "cad/object.h"
#include "cad/variant.h"

#include "cadhost/host.h"

#include <gtest/gtest.h>

using cad::Argument;
using cad::Object;
using cad::Variant;

namespace {

TEST(Variant, NumbersConvertAsAutomationCoerces)
{
    EXPECT_EQ(Variant(std::int16_t(-3)).toInt(), -3);
    EXPECT_EQ(Variant(2.5).toInt(), 2);  // banker's rounding
    EXPECT_EQ(Variant(3.5).toInt(), 4);
    EXPECT_EQ(Variant(-2.5).toInt(), -2);
    EXPECT_EQ(Variant(u" 12 ").toInt(), 12);
    EXPECT_EQ(Variant(u"1.5").toDouble(), 1.5);
    EXPECT_EQ(Variant(true).toInt(), -1);
    EXPECT_EQ(Variant().toInt(), 0);
    std::int64_t big = std::int64_t(1) << 40;
    EXPECT_EQ(Variant(big).toInt64(), big);
    EXPECT_THROW(Variant(big).toInt(), cad::Error);
    EXPECT_THROW(Variant(u"abc").toDouble(), cad::Error);
    EXPECT_THROW(Variant(u"１２").toInt(), cad::Error);  // full-width digits are not numbers
    EXPECT_THROW(Variant(cad::DoubleArray{1}).toInt(), cad::Error);
}

TEST(Variant, StringsAndBooleans)
{
    EXPECT_EQ(Variant(42).toString(), u"42");
    EXPECT_EQ(Variant(0.25).toString(), u"0.25");
    EXPECT_EQ(Variant(true).toString(), u"True");
    EXPECT_EQ(Variant().toString(), u"");
    EXPECT_TRUE(Variant(u"true").toBool());
    EXPECT_FALSE(Variant(u"0").toBool());
    EXPECT_TRUE(Variant(2).toBool());
    EXPECT_THROW(Variant(u"yes").toBool(), cad::Error);
    EXPECT_THROW(Variant(cad::Null{}).toString(), cad::Error);
}

TEST(Variant, ArraysAndPoints)
{
    Variant typed(cad::Int16Array{0, 2});
    EXPECT_TRUE(typed.isArray());
    EXPECT_EQ(typed.toArray(), (cad::VariantArray{Variant(std::int16_t(0)), Variant(std::int16_t(2))}));
    Variant mixed(cad::VariantArray{Variant(1), Variant(2.5), Variant(u"3")});
    EXPECT_EQ(mixed.toDoubleArray(), (cad::DoubleArray{1, 2.5, 3}));
    EXPECT_EQ(cad::toPoint(Variant(cad::DoubleArray{1, 2})), (cad::Point{1, 2, 0}));
    EXPECT_THROW(cad::toPoint(Variant(cad::DoubleArray{1})), cad::Error);
    EXPECT_EQ(cad::fromPoint({1, 2, 3}).toDoubleArray(), (cad::DoubleArray{1, 2, 3}));
    EXPECT_THROW(Variant(5).toArray(), cad::Error);
}

TEST(Variant, ObjectsAndNull)
{
    EXPECT_TRUE(Variant().toObject().isNull());
    EXPECT_TRUE(Variant(cad::Null{}).toObject().isNull());
    EXPECT_THROW(Variant(1).toObject(), cad::Error);
    Variant nullObject{Object()};
    EXPECT_TRUE(nullObject.isEmpty());  // a null handle travels as an empty variant

    Object none;
    try {
        none.get(u"TextString");
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_NE(e.text().find(u"TextString"), std::u16string::npos);
    }
    Argument a{Variant(1), true};
    EXPECT_THROW(none.callRef(u"X", std::span<Argument>(&a, 1)), cad::Error);
}

TEST(Variant, ErrorCarriesItsTextInBothEncodings)
{
    cad::Error e(u"画層がロック");
    EXPECT_EQ(e.text(), u"画層がロック");
    EXPECT_STREQ(e.what(), "画層がロック");
    EXPECT_EQ(cad::fromUtf8(cad::toUtf8(u"𠮷野家")), u"𠮷野家");
}

TEST(Object, MemberNamesIgnoreCaseAndByRefArgumentsComeBack)
{
    EXPECT_TRUE(cad::sameMember(u"ActiveDocument", u"activedocument"));
    EXPECT_FALSE(cad::sameMember(u"Item", u"Items"));

    cadhost::Host host;
    host.drawing().addText({.text = u"x"});
    Object app = host.application();
    Object doc = app.get(u"ACTIVEDOCUMENT").toObject();
    Object copy = app;  // copies share the object
    EXPECT_EQ(copy, app);
    EXPECT_EQ(doc.get(u"selectionsets").toObject().get(u"COUNT").toInt(), 0);

    host.scriptedPicker().queueSubEntity(host.drawing().entity(host.drawing().modelSpace()[0])->handle, {7, 8, 0});
    Argument args[5]
        = {{Variant(), true}, {Variant(), true}, {Variant(), true}, {Variant(), true}, {Variant(u"pick"), false}};
    doc.get(u"Utility").toObject().callRef(u"getsubentity", args);
    EXPECT_EQ(args[0].value.toObject().get(u"TextString").toString(), u"x");
    EXPECT_EQ(cad::toPoint(args[1].value), (cad::Point{7, 8, 0}));
    EXPECT_EQ(args[4].value.toString(), u"pick");  // by-value argument untouched
}

}  // namespace
