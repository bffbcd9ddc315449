#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace tools {

// The lists of the program are sorted by one exchange sort: for i from 0,
// for j > i, swap records i and j when j's key is less than i's. Equal keys
// are never swapped, yet the procedure still reorders them; users see that
// order, so the fast routine here reproduces it exactly in O(n log n).

// Records placed so far, of all records. Called about 100 times at most.
using SortProgressFn = std::function<void(std::size_t done, std::size_t total)>;

// ranks[i] is the rank of record i's key: equal keys share a rank, a
// smaller key has a smaller rank (ranks need not be dense). Returns the
// exchange sort's result as indices: order[p] is the record that ends at
// position p.
std::vector<std::size_t> exchangeSortOrderOfRanks(std::span<const std::size_t> ranks,
                                                  const SortProgressFn &progress = {});

// Ranks of `items` under `less`, a strict weak order.
template <class T, class Less>
std::vector<std::size_t> ranksOf(const std::vector<T> &items, Less less)
{
    std::vector<std::size_t> byKey(items.size());
    for (std::size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = i;
    std::sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) { return less(items[a], items[b]); });
    std::vector<std::size_t> ranks(items.size());
    std::size_t rank = 0;
    for (std::size_t k = 1; k < byKey.size(); ++k) {
        if (less(items[byKey[k - 1]], items[byKey[k]]))
            ++rank;
        ranks[byKey[k]] = rank;
    }
    return ranks;
}

template <class T, class Less>
std::vector<std::size_t> exchangeSortOrderOf(const std::vector<T> &items, Less less,
                                             const SortProgressFn &progress = {})
{
    return exchangeSortOrderOfRanks(ranksOf(items, less), progress);
}

// Puts the records into the given order (order[p]: record for position p).
template <class T>
void applyOrder(std::vector<T> &items, const std::vector<std::size_t> &order)
{
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

// The exchange sort's result, computed fast.
template <class T, class Less>
void exchangeSort(std::vector<T> &items, Less less, const SortProgressFn &progress = {})
{
    if (items.size() < 2)
        return;
    applyOrder(items, exchangeSortOrderOf(items, less, progress));
}

// The exchange sort itself, quadratic: the reference the fast routine is
// held to.
template <class T, class Less>
void exchangeSortQuadratic(std::vector<T> &items, Less less)
{
    for (std::size_t i = 0; i + 1 < items.size(); ++i)
        for (std::size_t j = i + 1; j < items.size(); ++j)
            if (less(items[j], items[i]))
                std::swap(items[i], items[j]);
}

}  // namespace tools
