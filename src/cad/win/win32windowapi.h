#pragma once

#include "cad/windowapi.h"

namespace cad::win {

// The platform layer on Windows: window handles are HWND values, as the
// CAD reports them through `HWND`.
class Win32WindowApi : public WindowApi {
public:
    bool isMinimised(WindowHandle w) override;
    void restore(WindowHandle w) override;
    void minimise(WindowHandle w) override;
    void showNormal(WindowHandle w) override;
    void setForeground(WindowHandle w) override;
    WindowHandle foreground() override;
    std::uint64_t windowThread(WindowHandle w) override;
    void attachThreadInput(std::uint64_t from, std::uint64_t to, bool attach) override;
    void bringToTop(WindowHandle w) override;
    void pressEscape() override;
    void sleep(int milliseconds) override;
    void drawPolyline(WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                      std::span<const PixelPoint> points) override;
};

}  // namespace cad::win
