#include "cad/win/instancemarker.h"

#include "cad/win/hwnd.h"

namespace cad::win {

bool InstanceMarker::anotherInstanceRunning()
{
    return FindWindowW(kClassName, nullptr) != nullptr;
}

InstanceMarker::InstanceMarker()
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = module;
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    // Top-level and never shown: FindWindowW sees hidden windows, but not
    // message-only ones.
    m_window = fromHwnd(CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"TalvoEditZ", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, module, nullptr));
}

InstanceMarker::~InstanceMarker()
{
    if (m_window)
        DestroyWindow(toHwnd(m_window));
}

}  // namespace cad::win
