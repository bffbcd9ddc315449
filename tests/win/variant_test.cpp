// Conversion between our variants and VARIANT, and the in-process path
// through DispatchServer and ComDispatch (no marshalling involved).
#include "testobjects.h"

#include "cad/com/comdispatch.h"
#include "cad/com/comerror.h"
#include "cad/com/comsession.h"
#include "cad/com/dispatchserver.h"
#include "cad/com/variantconv.h"

#include <gtest/gtest.h>

using cad::Variant;
using namespace cad::com;

namespace {

// COM for the whole test program (an STA on the main thread).
class ComEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_session = std::make_unique<ComSession>(); }
    void TearDown() override { m_session.reset(); }

private:
    std::unique_ptr<ComSession> m_session;
};
const auto *g_env = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

struct Owned {
    VARIANT v;
    Owned() { VariantInit(&v); }
    explicit Owned(const Variant &x) { toVariant(x, &v); }
    ~Owned() { VariantClear(&v); }
};

Variant roundTrip(const Variant &x)
{
    Owned o(x);
    return fromVariant(o.v);
}

TEST(VariantConversion, ScalarsKeepKindAndValue)
{
    const Variant values[] = {Variant(),
                              Variant(cad::Null{}),
                              Variant(true),
                              Variant(false),
                              Variant(std::int16_t(-7)),
                              Variant(123456),
                              Variant(std::int64_t(1) << 40),
                              Variant(2.5),
                              Variant(u"全角ｶﾅ and ASCII"),
                              Variant(std::u16string()),
                              Variant(std::u16string(u"a\0b", 3))};
    const VARTYPE types[]
        = {VT_EMPTY, VT_NULL, VT_BOOL, VT_BOOL, VT_I2, VT_I4, VT_I8, VT_R8, VT_BSTR, VT_BSTR, VT_BSTR};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        Owned o(values[i]);
        EXPECT_EQ(o.v.vt, types[i]) << i;
        EXPECT_EQ(fromVariant(o.v), values[i]) << i;
    }
    Owned t(Variant(true));
    EXPECT_EQ(t.v.boolVal, VARIANT_TRUE);  // automation's True is -1
}

TEST(VariantConversion, ArraysAsTheCadExpectsThem)
{
    Owned types(Variant(cad::Int16Array{0, 8, -4}));
    EXPECT_EQ(types.v.vt, VT_ARRAY | VT_I2);  // filter types: a CAD rejects variants here
    Owned point(Variant(cad::DoubleArray{1, 2.5, -3}));
    EXPECT_EQ(point.v.vt, VT_ARRAY | VT_R8);
    Owned data(Variant(cad::VariantArray{Variant(u"TEXT"), Variant(3), Variant(cad::DoubleArray{1})}));
    EXPECT_EQ(data.v.vt, VT_ARRAY | VT_VARIANT);
    LONG lb = -1;
    SafeArrayGetLBound(data.v.parray, 1, &lb);
    EXPECT_EQ(lb, 0);

    for (const Variant &v : {Variant(cad::Int16Array{0, 8, -4}), Variant(cad::DoubleArray{1, 2.5, -3}),
                             Variant(cad::VariantArray{Variant(u"TEXT"), Variant(3), Variant(cad::DoubleArray{1})}),
                             Variant(cad::Int16Array{}), Variant(cad::VariantArray{})})
        EXPECT_EQ(roundTrip(v), v);
}

TEST(VariantConversion, ReadsOtherAutomationTypes)
{
    Owned o;
    o.v.vt = VT_UI1;
    o.v.bVal = 200;
    EXPECT_EQ(fromVariant(o.v).toInt(), 200);
    o.v.vt = VT_R4;
    o.v.fltVal = 0.5f;
    EXPECT_EQ(fromVariant(o.v), Variant(0.5));
    o.v.vt = VT_UI4;
    o.v.ulVal = 4000000000u;
    EXPECT_EQ(fromVariant(o.v).toInt64(), 4000000000ll);
    o.v.vt = VT_CY;
    o.v.cyVal.int64 = 12345;  // 1.2345
    EXPECT_DOUBLE_EQ(fromVariant(o.v).toDouble(), 1.2345);
    o.v.vt = VT_ERROR;  // a missing optional argument
    o.v.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(fromVariant(o.v).isEmpty());

    LONG inner = 42;
    o.v.vt = VT_BYREF | VT_I4;
    o.v.plVal = &inner;
    EXPECT_EQ(fromVariant(o.v), Variant(42));
    o.v.vt = VT_EMPTY;

    // A string array with lower bound 1 (as some servers make them).
    SAFEARRAYBOUND bound{2, 1};
    SAFEARRAY *sa = SafeArrayCreate(VT_BSTR, 1, &bound);
    for (LONG i = 1; i <= 2; ++i) {
        BSTR b = SysAllocString(i == 1 ? L"A" : L"BC");
        SafeArrayPutElement(sa, &i, b);
        SysFreeString(b);
    }
    Owned strings;
    strings.v.vt = VT_ARRAY | VT_BSTR;
    strings.v.parray = sa;
    EXPECT_EQ(fromVariant(strings.v), Variant(cad::VariantArray{Variant(u"A"), Variant(u"BC")}));
}

TEST(VariantConversion, OwnObjectsComeBackThemselvesOnlyWhenAsked)
{
    auto object = wintest::makeTestObject();
    Owned o{Variant(cad::Object(object))};
    ASSERT_EQ(o.v.vt, VT_DISPATCH);
    EXPECT_EQ(fromVariant(o.v, true).toObject().shared(), object);
    cad::Object proxy = fromVariant(o.v).toObject();
    EXPECT_NE(dynamic_cast<ComDispatch *>(proxy.dispatch()), nullptr);
    // Handing a ComDispatch back passes its own IDispatch, not a wrapper.
    Owned again{Variant(proxy)};
    EXPECT_EQ(again.v.pdispVal, o.v.pdispVal);
    // A null object is an empty variant.
    Owned nothing;
    nothing.v.vt = VT_DISPATCH;
    nothing.v.pdispVal = nullptr;
    EXPECT_TRUE(fromVariant(nothing.v).isEmpty());
}

// The same members the out-of-process tests use, called in process: shows
// that DispatchServer and ComDispatch agree before marshalling joins in.
TEST(InProcessDispatch, CallsPutsAndByReferenceArguments)
{
    IDispatch *raw = DispatchServer::wrap(wintest::makeTestObject());
    cad::Object o(std::make_shared<ComDispatch>(raw));
    raw->Release();

    EXPECT_EQ(o.get(u"Name"), Variant(u"test"));
    o.put(u"value", Variant(cad::DoubleArray{1, 2, 3}));
    EXPECT_EQ(o.get(u"VALUE"), Variant(cad::DoubleArray{1, 2, 3}));
    EXPECT_EQ(o.call(u"TypeOf", {Variant(cad::Int16Array{0})}).toInt(), int(Variant::Type::Int16Array));
    EXPECT_EQ(o.call(u"ArgCount", {Variant(1), Variant(2), Variant(3)}).toInt(), 3);

    cad::Argument args[5] = {{Variant(), true}, {Variant(), true}, {Variant()}, {Variant()}, {Variant(u"選択")}};
    o.callRef(u"GetSubEntity", args);
    EXPECT_EQ(args[0].value.toObject().get(u"Name"), Variant(u"選択"));
    EXPECT_EQ(args[1].value, Variant(cad::DoubleArray{1.5, -2.25, 0}));

    try {
        o.call(u"Fail", {Variant(u"壊れました")});
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_EQ(e.text(), u"壊れました");
    }
}

}  // namespace
