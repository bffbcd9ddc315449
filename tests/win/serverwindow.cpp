#include "serverwindow.h"

#include "cadhost/drawing.h"

#include <string>

namespace wintest {

namespace {
constexpr const wchar_t *kClass = L"TalvoTestCadWindow";
constexpr UINT_PTR kTimer = 1;

std::wstring wide(const std::u16string &s)
{
    return std::wstring(s.begin(), s.end());
}
}  // namespace

ServerWindow::ServerWindow(cadhost::Host &host) : m_host(host)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    m_window = CreateWindowExW(0, kClass, L"テスト CAD サーバー: 図面の TEXT", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 380,
                               20, 520, 380, nullptr, nullptr, wc.hInstance, this);
    m_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOSEL, 0,
                             0, 0, 0, m_window, nullptr, wc.hInstance, nullptr);
    // The host's fonts: Wine has no Japanese font of its own.
    m_font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"VL Gothic");
    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    RECT r;
    GetClientRect(m_window, &r);
    MoveWindow(m_list, 0, 0, r.right, r.bottom, TRUE);
    refresh();
    SetTimer(m_window, kTimer, 200, nullptr);
}

ServerWindow::~ServerWindow()
{
    if (m_window) {
        KillTimer(m_window, kTimer);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
    if (m_font)
        DeleteObject(m_font);
}

LRESULT CALLBACK ServerWindow::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lp);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<ServerWindow *>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self) {
        if (msg == WM_TIMER && wp == kTimer) {
            self->refresh();
            return 0;
        }
        if (msg == WM_SIZE && self->m_list) {
            MoveWindow(self->m_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        }
        if (msg == WM_CLOSE)
            return 0;  // the server ends through COM, not here
    }
    return DefWindowProcW(w, msg, wp, lp);
}

void ServerWindow::refresh()
{
    const cadhost::Drawing &d = m_host.drawing();
    std::wstring lines = L"元に戻す操作: " + std::to_wstring(d.history().steps().size()) + L"\n";
    for (cadhost::EntityId id : d.modelSpace()) {
        const cadhost::Entity *e = d.entity(id);
        if (e && e->kind == cadhost::EntityKind::Text)
            lines += wide(e->handle) + L"\t" + wide(e->layer) + L"\t" + wide(e->text) + L"\n";
    }
    if (lines == m_shown)
        return;
    m_shown = lines;
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    std::size_t start = 0;
    for (std::size_t end; (end = lines.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        std::wstring line = lines.substr(start, end - start);
        for (auto &c : line)
            if (c == L'\t')
                c = L' ';
        SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

}  // namespace wintest
