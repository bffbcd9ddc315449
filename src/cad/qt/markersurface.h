#pragma once

#include "cad/windowapi.h"

#include <cstdint>
#include <span>

namespace cad {

// A window of ours that stands in for a CAD drawing window: it draws the
// marker polyline over its view until its next redraw.
class MarkerSurface {
public:
    virtual ~MarkerSurface() = default;
    virtual void drawMarker(int penWidth, bool xorMode, std::uint32_t rgb, std::span<const PixelPoint> points) = 0;
};

}  // namespace cad
