#include "cadhost/recordingwindowapi.h"

#include <string>

namespace cadhost {

namespace {
std::string num(std::int64_t v)
{
    return std::to_string(v);
}
}  // namespace

void RecordingWindowApi::clearLog()
{
    log.clear();
    polylines.clear();
    sleptMilliseconds = 0;
    escapes = 0;
}

bool RecordingWindowApi::isMinimised(cad::WindowHandle w)
{
    return minimised.count(w) > 0;
}

void RecordingWindowApi::restore(cad::WindowHandle w)
{
    log.push_back("restore " + num(w));
    minimised.erase(w);
    if (forwardTo)
        forwardTo->restore(w);
}

void RecordingWindowApi::minimise(cad::WindowHandle w)
{
    log.push_back("minimise " + num(w));
    minimised.insert(w);
    if (forwardTo)
        forwardTo->minimise(w);
}

void RecordingWindowApi::showNormal(cad::WindowHandle w)
{
    log.push_back("normal " + num(w));
    minimised.erase(w);
    if (forwardTo)
        forwardTo->showNormal(w);
}

void RecordingWindowApi::setForeground(cad::WindowHandle w)
{
    log.push_back("foreground " + num(w));
    if (foregroundAllowed)
        foregroundWindow = w;
    if (forwardTo)
        forwardTo->setForeground(w);
}

cad::WindowHandle RecordingWindowApi::foreground()
{
    return foregroundWindow;
}

std::uint64_t RecordingWindowApi::windowThread(cad::WindowHandle w)
{
    auto it = threads.find(w);
    return it == threads.end() ? 1 : it->second;
}

void RecordingWindowApi::attachThreadInput(std::uint64_t from, std::uint64_t to, bool attach)
{
    log.push_back("attach " + num(std::int64_t(from)) + " " + num(std::int64_t(to)) + (attach ? " on" : " off"));
    if (forwardTo)
        forwardTo->attachThreadInput(from, to, attach);
}

void RecordingWindowApi::bringToTop(cad::WindowHandle w)
{
    log.push_back("top " + num(w));
    if (forwardTo)
        forwardTo->bringToTop(w);
}

void RecordingWindowApi::pressEscape()
{
    log.push_back("escape");
    ++escapes;
    if (forwardTo)
        forwardTo->pressEscape();
}

void RecordingWindowApi::sleep(int milliseconds)
{
    log.push_back("sleep " + num(milliseconds));
    sleptMilliseconds += milliseconds;
}

void RecordingWindowApi::drawPolyline(cad::WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                                      std::span<const cad::PixelPoint> points)
{
    log.push_back("polyline " + num(w));
    polylines.push_back(Polyline{w, penWidth, xorMode, rgb, {points.begin(), points.end()}});
    if (forwardTo)
        forwardTo->drawPolyline(w, penWidth, xorMode, rgb, points);
}

}  // namespace cadhost
