#include "textedit/talvo.h"

#include "tools/sortorder.h"

#include <algorithm>
#include <cmath>

namespace {
struct Key {
    double x = 0, y = 0;
};

Key keyOf(const Talvo &t)
{
    if (t.insPt.isEmpty())
        return {};
    cad::Point p = cad::toPoint(t.insPt);
    return {p.x, p.y};
}
}  // namespace

void SortTexts(std::vector<Talvo> &list, int mode)
{
    const std::size_t n = list.size();
    if (n < 2)
        return;
    // Points are read once, not at every comparison.
    std::vector<Key> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = keyOf(list[i]);
    if (mode >= 3) {
        double minX = keys[0].x, maxX = keys[0].x, minY = keys[0].y, maxY = keys[0].y;
        for (const Key &k : keys) {
            minX = std::min(minX, k.x);
            maxX = std::max(maxX, k.x);
            minY = std::min(minY, k.y);
            maxY = std::max(maxY, k.y);
        }
        mode = (maxY - minY) >= (maxX - minX) ? 1 : 0;
    }
    if (mode != 0 && mode != 1)
        return;
    // The exchange sort's own order of equal keys, computed in O(n log n).
    // A NaN coordinate (never from a sane drawing) sorts last so that the
    // comparison stays a strict weak order.
    auto less = [mode](const Key &a, const Key &b) {
        double ka = mode == 0 ? a.x : -a.y, kb = mode == 0 ? b.x : -b.y;
        if (std::isnan(ka) || std::isnan(kb))
            return !std::isnan(ka) && std::isnan(kb);
        return ka < kb;
    };
    tools::applyOrder(list, tools::exchangeSortOrderOf(keys, less));
}
