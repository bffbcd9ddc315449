#include "cad/win/shellwindows.h"

#include "cad/win/hwnd.h"

#include <shellapi.h>

namespace cad::win {

void setTopmost(WindowHandle w, bool topmost)
{
    SetWindowPos(toHwnd(w), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TopmostHandover::TopmostHandover(WindowHandle mainWindow, WindowHandle dialog) : m_main(mainWindow), m_dialog(dialog)
{
    setTopmost(m_main, false);
    setTopmost(m_dialog, true);
}

TopmostHandover::~TopmostHandover()
{
    setTopmost(m_dialog, false);
    setTopmost(m_main, true);
}

bool openInNotepad(const std::u16string &path, WindowHandle owner)
{
    auto result = ShellExecuteW(toHwnd(owner), L"open", L"Notepad", reinterpret_cast<LPCWSTR>(path.c_str()), nullptr,
                                SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

}  // namespace cad::win
