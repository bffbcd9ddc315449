// The COM backend against a real out-of-process server under Wine:
// attach, marshalled values both ways, errors, the busy retry, a server
// that dies mid-command.
#include "comserver.h"

#include "cad/automation.h"
#include "cad/com/comdispatch.h"
#include "cad/com/comerror.h"
#include "cad/com/comref.h"
#include "cad/connection.h"
#include "support/errortext.h"
#include "cad/windowapi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cad::Argument;
using cad::Object;
using cad::Variant;
using cad::com::ComError;
using cad::com::ComRef;

namespace {

constexpr const char16_t *kProgId = u"Talvo.TestCad.Com";
constexpr const char16_t *kClassId = u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A01}";

// Records the waits of the busy retry instead of sleeping.
class SleepRecorder : public cad::WindowApi {
public:
    std::vector<int> sleeps;
    bool isMinimised(cad::WindowHandle) override { return false; }
    void restore(cad::WindowHandle) override {}
    void minimise(cad::WindowHandle) override {}
    void showNormal(cad::WindowHandle) override {}
    void setForeground(cad::WindowHandle) override {}
    cad::WindowHandle foreground() override { return 0; }
    std::uint64_t windowThread(cad::WindowHandle) override { return 0; }
    void attachThreadInput(std::uint64_t, std::uint64_t, bool) override {}
    void bringToTop(cad::WindowHandle) override {}
    void pressEscape() override {}
    void sleep(int ms) override { sleeps.push_back(ms); }
    void drawPolyline(cad::WindowHandle, int, bool, std::uint32_t, std::span<const cad::PixelPoint>) override {}
};

class OutOfProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new wintest::ComServer(kProgId, kClassId); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_server->running());
        cad::TargetProgID = kProgId;
        app = cad::AttachCad();
    }
    void TearDown() override { cad::TargetProgID = cad::kDefaultProgID; }

    Object app;
    static wintest::ComServer *s_server;
};
wintest::ComServer *OutOfProcess::s_server = nullptr;

TEST_F(OutOfProcess, AttachAndTheCasesWithoutACad)
{
    EXPECT_TRUE(cad::IsCadRunning());
    EXPECT_EQ(app.get(u"Name"), Variant(u"test"));

    // Registered, but nothing of that class runs: false, no error.
    wintest::registerProgId(u"Talvo.IdleCad", u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9AFF}");
    cad::TargetProgID = u"Talvo.IdleCad";
    EXPECT_FALSE(cad::IsCadRunning());
    EXPECT_THROW(cad::AttachCad(), cad::Error);

    // Not registered at all: the system's error reaches the caller.
    cad::TargetProgID = u"Talvo.NoSuchCad";
    try {
        cad::IsCadRunning();
        FAIL() << "no error";
    } catch (const ComError &e) {
        EXPECT_EQ(e.hresult(), CO_E_CLASSSTRING);
        EXPECT_EQ(e.text(), cad::com::hresultText(CO_E_CLASSSTRING));
        EXPECT_FALSE(e.text().empty());
    }
}

TEST_F(OutOfProcess, EveryValueKindBothWays)
{
    const Variant values[] = {Variant(),
                              Variant(cad::Null{}),
                              Variant(true),
                              Variant(false),
                              Variant(std::int16_t(-300)),
                              Variant(-70000),
                              Variant(std::int64_t(0x123456789ab)),
                              Variant(-0.125),
                              Variant(u"ｱｲｳ／全角 text"),
                              Variant(std::u16string()),
                              Variant(cad::Int16Array{0, 8}),
                              Variant(cad::DoubleArray{1.5, 2, 3}),
                              Variant(cad::VariantArray{Variant(u"TEXT"), Variant(u"0"), Variant(1.0)}),
                              Variant(cad::Int16Array{})};
    for (const Variant &v : values) {
        // What the server received kept its kind (VT_ARRAY|VT_I2 stays
        // 16-bit integers), and the echo came back equal.
        EXPECT_EQ(app.call(u"TypeOf", {v}).toInt(), int(v.type()))
            << cad::toUtf8(v.isArray() ? u"array" : v.toString());
        EXPECT_EQ(app.call(u"Echo", {v}), v);
    }
}

TEST_F(OutOfProcess, PropertyPutAndObjects)
{
    app.put(u"Value", Variant(u"一"));
    EXPECT_EQ(app.get(u"value"), Variant(u"一"));
    app.put(u"Value", Variant(cad::DoubleArray{4, 5, 6}));
    EXPECT_EQ(cad::toPoint(app.get(u"Value")), (cad::Point{4, 5, 6}));

    Object child = app.get(u"Child").toObject();
    EXPECT_EQ(child.get(u"Name"), Variant(u"test.child"));
    // Our proxy handed back arrives at the server as its own object.
    EXPECT_TRUE(app.call(u"IsChild", {Variant(child)}).toBool());
    EXPECT_FALSE(app.call(u"IsChild", {Variant(app)}).toBool());
}

TEST_F(OutOfProcess, ByReferenceArgumentsComeBackFilled)
{
    // Utility.GetSubEntity (object ref, point ref, matrix, context, prompt).
    Argument pick[5] = {{Variant(), true}, {Variant(), true}, {Variant()}, {Variant()}, {Variant(u"属性を選択")}};
    app.callRef(u"GetSubEntity", pick);
    EXPECT_EQ(pick[0].value.toObject().get(u"Name"), Variant(u"属性を選択"));
    EXPECT_EQ(pick[1].value, Variant(cad::DoubleArray{1.5, -2.25, 0}));

    // SelectOnScreen takes its filter arrays by reference: still 16-bit.
    Argument types{Variant(cad::Int16Array{0}), true};
    EXPECT_TRUE(app.callRef(u"IsByRef", std::span<Argument>(&types, 1)).toBool());
    EXPECT_EQ(app.callRef(u"TypeOf", std::span<Argument>(&types, 1)).toInt(), int(Variant::Type::Int16Array));

    Argument pair[2] = {{Variant(u"a"), true}, {Variant(cad::Int16Array{1, 2}), true}};
    app.callRef(u"Swap", pair);
    EXPECT_EQ(pair[0].value, Variant(cad::Int16Array{1, 2}));
    EXPECT_EQ(pair[1].value, Variant(u"a"));
}

TEST_F(OutOfProcess, ErrorTexts)
{
    // The server's EXCEPINFO description, as it is.
    EXPECT_EQ(errorText([&] { app.call(u"Fail", {Variant(u"図面がロックされています")}); }),
              u"図面がロックされています");
    EXPECT_EQ(errorText([&] { app.get(u"NoSuchMember"); }), u"メンバーが見つかりません (NoSuchMember)");
    // A bare HRESULT: the system's text for it.
    EXPECT_EQ(errorText([&] { app.call(u"FailWith", {Variant(std::int64_t(E_INVALIDARG))}); }),
              cad::com::hresultText(E_INVALIDARG));
    EXPECT_NE(cad::com::hresultText(E_INVALIDARG).find_first_not_of(u' '), std::u16string::npos);
    // A call on a released handle never reaches COM.
    EXPECT_THROW(Object().get(u"Name"), cad::Error);
}

TEST_F(OutOfProcess, BusyServerIsRetriedEverySecond)
{
    SleepRecorder recorder;
    cad::setWindowApi(&recorder);
    int before = app.get(u"Calls").toInt();
    app.call(u"Busy", {Variant(3)});
    EXPECT_EQ(app.get(u"Name"), Variant(u"test"));
    cad::setWindowApi(nullptr);
    EXPECT_EQ(recorder.sleeps, (std::vector<int>{1000, 1000, 1000}));
    // Busy, three rejected attempts, the one that went through, Calls.
    EXPECT_EQ(app.get(u"Calls").toInt() - before, 6);
}

TEST_F(OutOfProcess, NamesAreResolvedOncePerObject)
{
    Object child = app.get(u"Child").toObject();
    child.get(u"Name");
    auto start = cad::com::ComDispatch::calls();
    child.get(u"Name");
    child.get(u"NAME");
    EXPECT_EQ(cad::com::ComDispatch::calls() - start, 2u);  // one Invoke each

    cad::com::ComDispatch::setResolveEveryCall(true);
    start = cad::com::ComDispatch::calls();
    child.get(u"Name");
    cad::com::ComDispatch::setResolveEveryCall(false);
    EXPECT_EQ(cad::com::ComDispatch::calls() - start, 2u);  // GetIDsOfNames and Invoke
}

// As a CAD's type library does: one ITypeInfo for all objects of a type,
// naming each member under the id GetIDsOfNames gives.
TEST_F(OutOfProcess, ObjectsOfOneTypeShareOneTypeInfo)
{
    Object child = app.get(u"Child").toObject();
    IDispatch *a = static_cast<cad::com::ComDispatch *>(app.dispatch())->iDispatch();
    IDispatch *b = static_cast<cad::com::ComDispatch *>(child.dispatch())->iDispatch();
    UINT count = 0;
    ASSERT_EQ(a->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComRef<ITypeInfo> ta, tb;
    ASSERT_EQ(a->GetTypeInfo(0, LOCALE_USER_DEFAULT, ta.put()), S_OK);
    ASSERT_EQ(b->GetTypeInfo(0, LOCALE_USER_DEFAULT, tb.put()), S_OK);
    ComRef<IUnknown> ua, ub;
    ASSERT_EQ(ta->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(ua.put())), S_OK);
    ASSERT_EQ(tb->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(ub.put())), S_OK);
    EXPECT_EQ(ua.get(), ub.get());

    std::wstring echo = L"Echo";
    LPOLESTR names[] = {echo.data()};
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(a->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    BSTR documented = nullptr;
    ASSERT_EQ(ta->GetDocumentation(id, &documented, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(documented ? documented : L""), L"Echo");
    SysFreeString(documented);
}

TEST_F(OutOfProcess, NamesAreResolvedOncePerType)
{
    Object child = app.get(u"Child").toObject();
    child.get(u"Name");
    Object grandchild = child.get(u"Child").toObject();  // a new object of the same type
    auto start = cad::com::ComDispatch::calls();
    grandchild.get(u"Name");
    EXPECT_EQ(cad::com::ComDispatch::calls() - start, 2u);  // GetTypeInfo and Invoke
}

TEST(DyingServer, CommandFailsCleanly)
{
    wintest::ComServer server(u"Talvo.TestCad.Dying", u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A02}");
    ASSERT_TRUE(server.running());
    cad::TargetProgID = u"Talvo.TestCad.Dying";
    Object app = cad::AttachCad();
    Object child = app.get(u"Child").toObject();
    cad::TargetProgID = cad::kDefaultProgID;

    EXPECT_THROW(app.call(u"Die"), cad::Error);
    EXPECT_EQ(server.waitForExit(10000), 3);
    // Whatever is left of the connection fails with an error, not a crash
    // or a hang.
    std::u16string text = errorText([&] { child.get(u"Name"); });
    EXPECT_NE(text, u"(no error)");
    EXPECT_FALSE(text.empty());
}

}  // namespace
