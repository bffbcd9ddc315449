#pragma once

#include <cstdint>
#include <span>

namespace cad {

// A native window handle as the CAD reports it (`HWND`); 0 is none.
using WindowHandle = std::int64_t;

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint &) const = default;
};

// The window functions the CAD link needs: Win32 on Windows, Qt elsewhere.
// Tests install a recording fake.
class WindowApi {
public:
    virtual ~WindowApi() = default;
    virtual bool isMinimised(WindowHandle w) = 0;  // IsIconic
    virtual void restore(WindowHandle w) = 0;      // OpenIcon
    virtual void minimise(WindowHandle w) = 0;
    virtual void showNormal(WindowHandle w) = 0;
    virtual void setForeground(WindowHandle w) = 0;          // SetForegroundWindow
    virtual WindowHandle foreground() = 0;                   // GetForegroundWindow
    virtual std::uint64_t windowThread(WindowHandle w) = 0;  // GetWindowThreadProcessId
    virtual void attachThreadInput(std::uint64_t from, std::uint64_t to, bool attach) = 0;
    virtual void bringToTop(WindowHandle w) = 0;  // BringWindowToTop
    virtual void pressEscape() = 0;               // one key down and key up of VK_ESCAPE
    virtual void sleep(int milliseconds) = 0;
    // Draws a polyline straight onto the window's client area (window DC,
    // solid pen, optional XOR mode). Never raises.
    virtual void drawPolyline(WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                              std::span<const PixelPoint> points)
        = 0;
};

// Process-wide platform layer; the default does nothing. Not owned.
WindowApi &windowApi();
void setWindowApi(WindowApi *api);

// The program's main window, minimised by picks and brought back after.
WindowHandle mainWindowHandle();
void setMainWindowHandle(WindowHandle w);

}  // namespace cad
