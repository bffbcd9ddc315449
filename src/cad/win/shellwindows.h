#pragma once

#include "cad/windowapi.h"

#include <string>

namespace cad::win {

// Takes `w` into the always-on-top band or out of it, neither moving nor
// sizing it (SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST).
void setTopmost(WindowHandle w, bool topmost);

// A modal dialog's stay-on-top handover: while it lives the main window
// is out of the band and the dialog in it; at its end both revert.
class TopmostHandover {
public:
    TopmostHandover(WindowHandle mainWindow, WindowHandle dialog);
    ~TopmostHandover();
    TopmostHandover(const TopmostHandover &) = delete;
    TopmostHandover &operator=(const TopmostHandover &) = delete;

private:
    WindowHandle m_main;
    WindowHandle m_dialog;
};

// Asks the shell to run "Notepad" with the verb "open" and `path` as the
// parameter string (no quotes added), shown normally, owned by `owner`.
// Does not wait; false when the shell could not start it.
bool openInNotepad(const std::u16string &path, WindowHandle owner);

}  // namespace cad::win
