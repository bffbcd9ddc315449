#include "cad/win/win32windowapi.h"

#include "cad/win/hwnd.h"

namespace cad::win {

bool Win32WindowApi::isMinimised(WindowHandle w)
{
    return IsIconic(toHwnd(w));
}

void Win32WindowApi::restore(WindowHandle w)
{
    OpenIcon(toHwnd(w));
}

void Win32WindowApi::minimise(WindowHandle w)
{
    ShowWindow(toHwnd(w), SW_MINIMIZE);
}

void Win32WindowApi::showNormal(WindowHandle w)
{
    ShowWindow(toHwnd(w), SW_SHOWNORMAL);
}

void Win32WindowApi::setForeground(WindowHandle w)
{
    SetForegroundWindow(toHwnd(w));
}

WindowHandle Win32WindowApi::foreground()
{
    return fromHwnd(GetForegroundWindow());
}

std::uint64_t Win32WindowApi::windowThread(WindowHandle w)
{
    return GetWindowThreadProcessId(toHwnd(w), nullptr);
}

void Win32WindowApi::attachThreadInput(std::uint64_t from, std::uint64_t to, bool attach)
{
    AttachThreadInput(DWORD(from), DWORD(to), attach);
}

void Win32WindowApi::bringToTop(WindowHandle w)
{
    BringWindowToTop(toHwnd(w));
}

void Win32WindowApi::pressEscape()
{
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

void Win32WindowApi::sleep(int milliseconds)
{
    Sleep(DWORD(milliseconds));
}

void Win32WindowApi::drawPolyline(WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                                  std::span<const PixelPoint> points)
{
    if (points.empty())
        return;
    HWND hwnd = toHwnd(w);
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    HPEN pen = CreatePen(PS_SOLID, penWidth, COLORREF(rgb));
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    int oldMode = xorMode ? SetROP2(dc, R2_XORPEN) : 0;
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(dc, points[i].x, points[i].y);
    if (oldMode)
        SetROP2(dc, oldMode);
    if (oldPen)
        SelectObject(dc, oldPen);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(hwnd, dc);
}

}  // namespace cad::win
