#include "textedit/talvo.h"

#include <algorithm>
#include <utility>

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
} // namespace

void SortTexts(std::vector<Talvo> &list, int mode)
{
    const std::size_t n = list.size();
    if (n < 2)
        return;
    // Keys are read once; the points are swapped with their records.
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
    // The exchange sort fixes the order of equal keys; keep it as it is.
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            bool out = mode == 0 ? keys[i].x > keys[j].x : keys[i].y < keys[j].y;
            if (out) {
                std::swap(list[i], list[j]);
                std::swap(keys[i], keys[j]);
            }
        }
    }
}
