#pragma once

#include "cadhost/host.h"

#include <windows.h>

namespace wintest {

// The test server's window: the drawing's texts (handle, layer, string)
// and its undo steps, refreshed five times a second, so a person (or a
// screenshot) sees what the program changed over COM.
class ServerWindow {
public:
    explicit ServerWindow(cadhost::Host &host);
    ~ServerWindow();
    ServerWindow(const ServerWindow &) = delete;
    ServerWindow &operator=(const ServerWindow &) = delete;

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void refresh();

    cadhost::Host &m_host;
    HWND m_window = nullptr;
    HWND m_list = nullptr;
    HFONT m_font = nullptr;
    std::wstring m_shown;
};

}  // namespace wintest
