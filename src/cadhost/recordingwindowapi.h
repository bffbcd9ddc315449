#pragma once

#include "cad/windowapi.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace cadhost {

// A cad::WindowApi for tests: records every call, sleeps only on paper,
// and plays a small window manager (minimised windows, the foreground
// window, window threads). Install with cad::setWindowApi(&api). Calls can
// also be forwarded to another WindowApi (e.g. the Qt one) after recording.
class RecordingWindowApi : public cad::WindowApi {
public:
    struct Polyline {
        cad::WindowHandle window = 0;
        int penWidth = 0;
        bool xorMode = false;
        std::uint32_t rgb = 0;
        std::vector<cad::PixelPoint> points;
    };

    // Scripted state.
    std::set<cad::WindowHandle> minimised;
    cad::WindowHandle foregroundWindow = 0;
    // When false, setForeground() is refused (another window stays in front).
    bool foregroundAllowed = true;
    std::map<cad::WindowHandle, std::uint64_t> threads;  // unknown windows: thread 1
    cad::WindowApi *forwardTo = nullptr;

    // Recorded: one line per call, e.g. "restore 5", "sleep 500",
    // "minimise 1", "foreground 5", "escape", "top 5", "attach 1 2 on",
    // "normal 1", "polyline 5".
    std::vector<std::string> log;
    std::vector<Polyline> polylines;
    int sleptMilliseconds = 0;
    int escapes = 0;
    void clearLog();

    bool isMinimised(cad::WindowHandle w) override;
    void restore(cad::WindowHandle w) override;
    void minimise(cad::WindowHandle w) override;
    void showNormal(cad::WindowHandle w) override;
    void setForeground(cad::WindowHandle w) override;
    cad::WindowHandle foreground() override;
    std::uint64_t windowThread(cad::WindowHandle w) override;
    void attachThreadInput(std::uint64_t from, std::uint64_t to, bool attach) override;
    void bringToTop(cad::WindowHandle w) override;
    void pressEscape() override;
    void sleep(int milliseconds) override;
    void drawPolyline(cad::WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                      std::span<const cad::PixelPoint> points) override;
};

}  // namespace cadhost
