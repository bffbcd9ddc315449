// The Win32 window functions on real windows (Wine's null display driver).
#include "cad/connection.h"
#include "cad/win/hwnd.h"
#include "cad/win/instancemarker.h"
#include "cad/win/shellwindows.h"
#include "cad/win/win32windowapi.h"

#include <gtest/gtest.h>

#include <vector>

using cad::win::fromHwnd;
using cad::win::toHwnd;

namespace {

// A plain white top-level window.
class TestWindow {
public:
    explicit TestWindow(int width = 900, int height = 700)
    {
        static ATOM cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = L"TalvoTestWindow";
            return RegisterClassW(&wc);
        }();
        (void)cls;
        m_hwnd = CreateWindowExW(0, L"TalvoTestWindow", L"test", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        fill(RGB(255, 255, 255));
    }
    ~TestWindow() { DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }
    cad::WindowHandle handle() const { return fromHwnd(m_hwnd); }
    void fill(COLORREF c)
    {
        HDC dc = GetDC(m_hwnd);
        RECT r{0, 0, 2000, 2000};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
        ReleaseDC(m_hwnd, dc);
    }
    COLORREF pixel(int x, int y) const
    {
        HDC dc = GetDC(m_hwnd);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(m_hwnd, dc);
        return c;
    }
    bool topmost() const { return (GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

private:
    HWND m_hwnd = nullptr;
};

// A CAD application object that only reports its window.
class WindowedApp : public cad::Dispatch {
public:
    explicit WindowedApp(cad::WindowHandle w) : m_w(w) {}
    cad::Variant invoke(std::u16string_view member, cad::InvokeKind, std::span<cad::Argument>) override
    {
        if (cad::sameMember(member, u"HWND"))
            return cad::Variant(m_w);
        throw cad::Error(u"unknown");
    }

private:
    cad::WindowHandle m_w;
};

// The real window functions, with the waits recorded instead of slept.
class NoWaitApi : public cad::win::Win32WindowApi {
public:
    std::vector<int> sleeps;
    void sleep(int ms) override { sleeps.push_back(ms); }
};

class Win32Windows : public ::testing::Test {
protected:
    void SetUp() override { cad::setWindowApi(&api); }
    void TearDown() override
    {
        cad::setWindowApi(nullptr);
        cad::setMainWindowHandle(0);
    }
    NoWaitApi api;
};

TEST_F(Win32Windows, WindowStateAndThreads)
{
    TestWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    api.minimise(w.handle());
    EXPECT_TRUE(api.isMinimised(w.handle()));
    api.restore(w.handle());
    EXPECT_FALSE(api.isMinimised(w.handle()));
    api.setForeground(w.handle());
    EXPECT_EQ(api.foreground(), w.handle());
    EXPECT_EQ(api.windowThread(w.handle()), GetCurrentThreadId());
    api.bringToTop(w.handle());
    EXPECT_EQ(GetTopWindow(nullptr) == w.hwnd() || GetForegroundWindow() == w.hwnd(), true);
}

TEST_F(Win32Windows, ActivateCadRestoresAndBringsTheCadForward)
{
    TestWindow cadWindow, mainWindow(300, 200);
    cad::setMainWindowHandle(mainWindow.handle());
    api.minimise(cadWindow.handle());
    cad::Object app(std::make_shared<WindowedApp>(cadWindow.handle()));
    cad::ActivateCad(app, true, false);
    EXPECT_EQ(api.sleeps, std::vector<int>{500});
    EXPECT_FALSE(api.isMinimised(cadWindow.handle()));
    EXPECT_TRUE(api.isMinimised(mainWindow.handle()));
    EXPECT_EQ(api.foreground(), cadWindow.handle());

    cad::RestoreMainWindow();
    EXPECT_FALSE(api.isMinimised(mainWindow.handle()));
    EXPECT_EQ(api.foreground(), mainWindow.handle());
}

TEST_F(Win32Windows, EscapeReachesTheForegroundWindow)
{
    TestWindow w;
    api.setForeground(w.handle());
    int downs = 0, ups = 0;
    auto pump = [&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == w.hwnd() && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                ++downs;
            if (msg.hwnd == w.hwnd() && msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE)
                ++ups;
            DispatchMessageW(&msg);  // paints too, so the queue runs dry
        }
    };
    pump();
    downs = ups = 0;
    api.pressEscape();
    pump();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
}

TEST_F(Win32Windows, MarkerIsDrawnOnTheWindow)
{
    TestWindow w;
    const COLORREF white = RGB(255, 255, 255);
    auto marker = cad::zoomMarker(800, 600, 0.05);  // (400,300) (360,280) (360,320) (400,300)
    api.drawPolyline(w.handle(), 3, false, cad::kMarkerColour, marker);
    EXPECT_EQ(w.pixel(380, 290), RGB(255, 100, 100));  // on the upper edge
    EXPECT_EQ(w.pixel(360, 300), RGB(255, 100, 100));  // on the back edge
    EXPECT_EQ(w.pixel(380, 300), white);               // inside stays untouched
    EXPECT_EQ(w.pixel(340, 300), white);

    // XOR of pen and screen: drawn twice, the window is as before.
    w.fill(white);
    api.drawPolyline(w.handle(), 3, true, cad::kMarkerColour, marker);
    EXPECT_EQ(w.pixel(360, 300), white ^ RGB(255, 100, 100));
    api.drawPolyline(w.handle(), 3, true, cad::kMarkerColour, marker);
    EXPECT_EQ(w.pixel(360, 300), white);

    api.drawPolyline(0, 3, false, cad::kMarkerColour, marker);  // no window: nothing, no crash
}

TEST(SingleInstance, FoundByWindowClassWhileTheMarkerLives)
{
    EXPECT_FALSE(cad::win::InstanceMarker::anotherInstanceRunning());
    {
        cad::win::InstanceMarker marker;
        ASSERT_NE(marker.handle(), 0);
        EXPECT_FALSE(IsWindowVisible(toHwnd(marker.handle())));
        EXPECT_TRUE(cad::win::InstanceMarker::anotherInstanceRunning());
        wchar_t cls[64] = {};
        GetClassNameW(toHwnd(marker.handle()), cls, 64);
        EXPECT_STREQ(cls, L"TTalvoMainForm");
    }
    EXPECT_FALSE(cad::win::InstanceMarker::anotherInstanceRunning());
}

TEST(StayOnTop, DialogTakesTheBandAndGivesItBack)
{
    TestWindow mainWindow(300, 200), dialog(200, 100);
    RECT before{};
    GetWindowRect(dialog.hwnd(), &before);
    cad::win::setTopmost(mainWindow.handle(), true);
    ASSERT_TRUE(mainWindow.topmost());
    {
        cad::win::TopmostHandover handover(mainWindow.handle(), dialog.handle());
        EXPECT_FALSE(mainWindow.topmost());
        EXPECT_TRUE(dialog.topmost());
    }
    EXPECT_TRUE(mainWindow.topmost());
    EXPECT_FALSE(dialog.topmost());
    RECT after{};
    GetWindowRect(dialog.hwnd(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));  // neither moved nor sized
}

}  // namespace
