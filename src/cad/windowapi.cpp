#include "cad/windowapi.h"

namespace cad {

namespace {

class NullWindowApi final : public WindowApi {
public:
    bool isMinimised(WindowHandle) override { return false; }
    void restore(WindowHandle) override {}
    void minimise(WindowHandle) override {}
    void showNormal(WindowHandle) override {}
    void setForeground(WindowHandle) override {}
    WindowHandle foreground() override { return 0; }
    std::uint64_t windowThread(WindowHandle) override { return 0; }
    void attachThreadInput(std::uint64_t, std::uint64_t, bool) override {}
    void bringToTop(WindowHandle) override {}
    void pressEscape() override {}
    void sleep(int) override {}
    void drawPolyline(WindowHandle, int, bool, std::uint32_t, std::span<const PixelPoint>) override {}
};

NullWindowApi g_null;
WindowApi *g_api = &g_null;
WindowHandle g_main = 0;

}  // namespace

WindowApi &windowApi()
{
    return *g_api;
}

void setWindowApi(WindowApi *api)
{
    g_api = api ? api : &g_null;
}

WindowHandle mainWindowHandle()
{
    return g_main;
}

void setMainWindowHandle(WindowHandle w)
{
    g_main = w;
}

}  // namespace cad
