#include "attrgrid/sortblocks.h"

#include "tools/sortorder.h"

#include <algorithm>
#include <functional>
#include <utility>

std::vector<std::size_t> exchangeSortOrder(const std::vector<double> &keys, bool descending)
{
    // The exchange sort's own order (ties included) without its n² cost.
    const auto ranks
        = descending ? tools::ranksOf(keys, std::greater<double>()) : tools::ranksOf(keys, std::less<double>());
    return tools::exchangeSortOrderOfRanks(ranks);
}

void SortBlocks(std::vector<nBlk> &list, int mode)
{
    const std::size_t n = list.size();
    if (n < 2)
        return;
    std::vector<cad::Point> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        // A record without a usable point sorts as the origin.
        try {
            points[i] = cad::toPoint(list[i].insPt);
        } catch (const cad::Error &) {}
    }
    if (mode >= 3) {
        double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
        for (const cad::Point &p : points) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        mode = (maxY - minY) >= (maxX - minX) ? 1 : 0;
    }
    if (mode != 0 && mode != 1)
        return;
    std::vector<double> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = mode == 0 ? points[i].x : points[i].y;
    const std::vector<std::size_t> order = exchangeSortOrder(keys, mode == 1);
    std::vector<nBlk> sorted;
    sorted.reserve(n);
    for (std::size_t i : order)
        sorted.push_back(std::move(list[i]));
    list = std::move(sorted);
}
