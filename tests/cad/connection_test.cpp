#include "cad/connection.h"

#include "cad/automation.h"
#include "cad/messagefilter.h"

#include "cadhost/testapi.h"

#include <gtest/gtest.h>

using cad::Argument;
using cad::Object;
using cad::Variant;
using cadhost::Host;
using cadhost::RecordingWindowApi;

namespace {

constexpr cad::WindowHandle kCad = 100, kDrawing = 101, kMain = 200;

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cad::TargetProgID = cad::kDefaultProgID;
        cad::setWindowApi(&win);
        cad::setMainWindowHandle(kMain);
        host.setApplicationWindow(kCad);
        host.drawing().setWindowHandle(kDrawing);
        host.drawing().addText({.text = u"t"});
    }
    void TearDown() override
    {
        cad::setWindowApi(nullptr);
        cad::setMainWindowHandle(0);
        cad::TargetProgID = cad::kDefaultProgID;
    }
    Object doc() { return cad::AttachCad().get(u"ActiveDocument").toObject(); }

    RecordingWindowApi win;
    Host host;
};

using Log = std::vector<std::string>;

TEST_F(ConnectionTest, IsCadRunningFollowsTheHost)
{
    EXPECT_TRUE(cad::IsCadRunning());
    cad::TargetProgID = u"bricscadapp.ACADAPPLICATION";  // ProgIDs ignore letter case
    EXPECT_TRUE(cad::IsCadRunning());
    host.stop();
    EXPECT_FALSE(cad::IsCadRunning());
    try {
        cad::AttachCad();
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_EQ(e.text(), cad::kOperationUnavailable);
    }
    host.start();
    EXPECT_TRUE(cad::IsCadRunning());
    EXPECT_FALSE(cad::AttachCad().isNull());
}

TEST_F(ConnectionTest, UnregisteredProgIdRaises)
{
    cad::TargetProgID = u"AutoCAD.Application.24";
    try {
        cad::IsCadRunning();
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_EQ(e.text(), cad::kInvalidClassString);
    }
    EXPECT_THROW(cad::AttachCad(), cad::Error);
}

TEST_F(ConnectionTest, WithoutAHostNothingIsRegistered)
{
    host.uninstall();
    EXPECT_THROW(cad::IsCadRunning(), cad::Error);
    host.install();
    EXPECT_TRUE(cad::IsCadRunning());
}

TEST_F(ConnectionTest, ActivateCadRestoresAMinimisedCadAndWaits)
{
    win.minimised.insert(kCad);
    win.foregroundWindow = kMain;
    cad::ActivateCad(cad::AttachCad(), true, true);
    EXPECT_EQ(win.log, (Log{"restore 100", "sleep 500", "minimise 200", "foreground 100", "escape", "sleep 5"}));
}

TEST_F(ConnectionTest, ActivateCadSendsEscapeOnlyWhenTheCadIsInFront)
{
    cad::ActivateCad(cad::AttachCad(), false, false);
    EXPECT_EQ(win.log, (Log{"foreground 100"}));
    win.clearLog();
    win.foregroundWindow = kMain;
    win.foregroundAllowed = false;  // another window stays in front
    cad::ActivateCad(cad::AttachCad(), false, true);
    EXPECT_EQ(win.escapes, 0);
    win.foregroundAllowed = true;
    cad::ActivateCad(cad::AttachCad(), false, true);
    EXPECT_EQ(win.escapes, 1);
    EXPECT_EQ(win.sleptMilliseconds, 5);
}

TEST_F(ConnectionTest, BringWindowToFrontAttachesInputAcrossThreads)
{
    win.foregroundWindow = kCad;
    cad::BringWindowToFront(kMain);  // same thread
    EXPECT_EQ(win.log, (Log{"foreground 200", "top 200"}));
    win.clearLog();
    win.foregroundWindow = kCad;
    win.threads[kCad] = 7;
    cad::BringWindowToFront(kMain);
    EXPECT_EQ(win.log, (Log{"foreground 200", "attach 1 7 on", "top 200", "attach 1 7 off"}));
    win.clearLog();
    win.minimised.insert(kMain);
    cad::RestoreMainWindow();
    EXPECT_EQ(win.log.front(), "normal 200");
    EXPECT_FALSE(win.isMinimised(kMain));
}

TEST_F(ConnectionTest, TempSelectionSetIsReusedInAnyLetterCase)
{
    Object d = doc();
    Object sets = d.get(u"SelectionSets").toObject();
    Argument other{Variant(u"OTHER"), true}, temp{Variant(u"ssTemp"), true};
    sets.callRef(u"Add", std::span<Argument>(&other, 1));
    Object existing = sets.callRef(u"Add", std::span<Argument>(&temp, 1)).toObject();
    existing.call(u"Select", {Variant(5)});
    ASSERT_EQ(existing.get(u"Count").toInt(), 1);

    Variant got = cad::GetTempSelectionSet(d);
    Object set = got.toObject();
    ASSERT_FALSE(set.isNull());
    EXPECT_EQ(set.get(u"Name").toString(), u"ssTemp");
    EXPECT_EQ(set.get(u"Count").toInt(), 0);   // cleared
    EXPECT_EQ(sets.get(u"Count").toInt(), 2);  // no second set

    cad::ReleaseTempSelectionSet(got);
    EXPECT_EQ(host.drawing().selectionSets().findByName(u"SSTEMP"), nullptr);
    Object added = cad::GetTempSelectionSet(d).toObject();
    EXPECT_EQ(added.get(u"Name").toString(), u"SSTEMP");
    cad::ReleaseTempSelectionSet(Variant(added));
    cad::ReleaseTempSelectionSet(Variant(added));  // a second release is harmless
    EXPECT_EQ(sets.get(u"Count").toInt(), 1);
}

TEST_F(ConnectionTest, TempSelectionSetFailureGivesEmpty)
{
    Object d = doc();
    host.faults().failMember(u"Add");
    EXPECT_TRUE(cad::GetTempSelectionSet(d).isEmpty());
    host.faults().clear();
    host.faults().failMember(u"SelectionSets");
    EXPECT_TRUE(cad::GetTempSelectionSet(d).isEmpty());
}

TEST_F(ConnectionTest, ZoomToPointCentresTheViewAndDrawsTheMarker)
{
    Object app = cad::AttachCad();
    host.drawing().setViewCentre({0, 0, 0}, 80);
    host.resetCallCounts();
    cad::ZoomToPoint(app, Variant(cad::DoubleArray{10, 20, 0}), 3, false, 0.05);
    EXPECT_EQ(host.callCount(u"ZoomCenter"), 2);
    EXPECT_EQ(host.drawing().view().centre, (cad::Point{10, 20, 0}));
    EXPECT_EQ(host.drawing().view().height, 80);  // height unchanged
    ASSERT_EQ(win.polylines.size(), 1u);
    const auto &p = win.polylines[0];
    EXPECT_EQ(p.window, kDrawing);
    EXPECT_EQ(p.penWidth, 3);
    EXPECT_FALSE(p.xorMode);
    EXPECT_EQ(p.rgb, cad::kMarkerColour);
    EXPECT_EQ(p.points, (std::vector<cad::PixelPoint>{{400, 300}, {360, 280}, {360, 320}, {400, 300}}));
}

TEST_F(ConnectionTest, ZoomToPointNeverRaises)
{
    Object app = cad::AttachCad();
    host.drawing().setWindowHandle(0);  // no drawing window: no marker
    cad::ZoomToPoint(app, Variant(cad::DoubleArray{1, 1, 0}), 3, false, 0.05);
    EXPECT_TRUE(win.polylines.empty());
    host.drawing().setWindowHandle(kDrawing);
    host.faults().failMember(u"ZoomCenter");
    EXPECT_NO_THROW(cad::ZoomToPoint(app, Variant(cad::DoubleArray{1, 1, 0}), 3, false, 0.05));
    EXPECT_NO_THROW(cad::ZoomToPoint(app, Variant(u"not a point"), 3, false, 0.05));
    host.stop();
    EXPECT_NO_THROW(cad::ZoomToPoint(app, Variant(cad::DoubleArray{1, 1, 0}), 3, false, 0.05));
    EXPECT_TRUE(win.polylines.empty());
}

TEST_F(ConnectionTest, UndoMarkClosesTheGroupOnEveryPath)
{
    Object d = doc();
    Object t = d.call(u"HandleToObject", {Variant(host.drawing().entity(host.drawing().modelSpace()[0])->handle)})
                   .toObject();
    try {
        cad::UndoMark mark(d);
        t.put(u"TextString", Variant(u"a"));
        t.put(u"Layer", Variant(u"0"));
        t.call(u"Copy");
        throw std::runtime_error("command fails half way");
    } catch (const std::runtime_error &) {}
    EXPECT_FALSE(host.drawing().history().groupOpen());
    EXPECT_EQ(host.drawing().history().steps().size(), 1u);
    host.drawing().undo();
    EXPECT_EQ(host.drawing().modelSpace().size(), 1u);
    EXPECT_EQ(t.get(u"TextString").toString(), u"t");
}

TEST(MessageFilter, LifeCycleAndAnswers)
{
    EXPECT_EQ(cad::currentMessageFilter(), nullptr);
    {
        cad::TMessageFilter outer;
        EXPECT_FALSE(outer.isRegistered());
        outer.RegisterFilter();
        EXPECT_EQ(cad::currentMessageFilter(), &outer);
        {
            cad::TMessageFilter inner;
            inner.RegisterFilter();
            EXPECT_EQ(cad::currentMessageFilter(), &inner);
            inner.RevokeFilter();
            EXPECT_EQ(cad::currentMessageFilter(), &outer);  // FOldFilter comes back
            inner.RevokeFilter();                            // twice: no effect
            EXPECT_EQ(cad::currentMessageFilter(), &outer);
        }
        EXPECT_EQ(outer.HandleInComingCall(0, 0), cad::TMessageFilter::SERVERCALL_ISHANDLED);
        EXPECT_EQ(outer.RetryRejectedCall(123456, cad::TMessageFilter::SERVERCALL_RETRYLATER), 1000);
        EXPECT_EQ(outer.RetryRejectedCall(0, cad::TMessageFilter::SERVERCALL_REJECTED), -1);
        EXPECT_EQ(outer.MessagePending(0, 0), cad::TMessageFilter::PENDINGMSG_WAITNOPROCESS);
    }  // destroyed while registered: revoked
    EXPECT_EQ(cad::currentMessageFilter(), nullptr);
}

class CancellingFilter : public cad::TMessageFilter {
public:
    std::int32_t RetryRejectedCall(std::uint32_t, std::uint32_t) override { return -1; }
};

TEST_F(ConnectionTest, BusyHostIsRetriedThroughTheMessageFilter)
{
    Object app = cad::AttachCad();
    host.faults().rejectBusy(2);
    EXPECT_THROW(app.get(u"HWND"), cad::Error);  // no filter: the rejection reaches the caller
    EXPECT_EQ(host.callCount(u"HWND"), 0);

    cad::TMessageFilter filter;
    filter.RegisterFilter();
    host.faults().rejectBusy(3);
    EXPECT_EQ(app.get(u"HWND").toInt64(), kCad);
    EXPECT_EQ(win.log, (Log{"sleep 1000", "sleep 1000", "sleep 1000"}));
    EXPECT_EQ(host.callCount(u"HWND"), 1);
    filter.RevokeFilter();

    CancellingFilter cancel;
    cancel.RegisterFilter();
    host.faults().rejectBusy(1);
    try {
        app.get(u"HWND");
        FAIL();
    } catch (const cad::Error &e) {
        EXPECT_EQ(e.text(), cadhost::kCallRejected);
    }
    EXPECT_EQ(app.get(u"HWND").toInt64(), kCad);
}

}  // namespace
