#include "app/singleinstance.h"

#include <windows.h>

// Qt registers its own window classes, so a hidden top-level window of
// class "TTalvoMainForm" stands for the main window in FindWindowW. It is
// not a message-only window, which FindWindowW would not see.
struct SingleInstance::Impl {
    HWND marker = nullptr;
    ATOM atom = 0;
};

SingleInstance::SingleInstance()
    : d(std::make_unique<Impl>())
{
}

SingleInstance::~SingleInstance()
{
    if (d->marker)
        DestroyWindow(d->marker);
    if (d->atom)
        UnregisterClassW(L"TTalvoMainForm", GetModuleHandleW(nullptr));
}

bool SingleInstance::acquire()
{
    return FindWindowW(L"TTalvoMainForm", nullptr) == nullptr;
}

void SingleInstance::markRunning()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TTalvoMainForm";
    d->atom = RegisterClassW(&wc);
    d->marker = CreateWindowExW(WS_EX_TOOLWINDOW, L"TTalvoMainForm", L"TalvoEditZ", WS_POPUP, 0, 0,
                                0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}
