#pragma once

#include "cad/windowapi.h"

class QWidget;

namespace cad {

// The window functions on Qt: handles are the native ids (winId) of our
// own top-level widgets, which is where the built-in drawing host lives.
class QtWindowApi : public WindowApi {
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

    static QWidget *widgetFor(WindowHandle w);
    static WindowHandle handleOf(QWidget *w);
};

}  // namespace cad
