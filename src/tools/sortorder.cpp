#include "tools/sortorder.h"

#include <bit>

namespace tools {

namespace {

// Counts over positions 0..n-1 (Fenwick tree).
class Counts {
public:
    explicit Counts(std::size_t n) : m_tree(n + 1, 0) {}

    // Every position counted once.
    void fillOnes()
    {
        const std::size_t n = m_tree.size() - 1;
        for (std::size_t i = 1; i <= n; ++i) {
            m_tree[i] += 1;
            std::size_t parent = i + (i & (~i + 1));
            if (parent <= n)
                m_tree[parent] += m_tree[i];
        }
    }
    void add(std::size_t pos, std::ptrdiff_t delta)
    {
        for (std::size_t i = pos + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }
    // Sum over [0, end).
    std::size_t prefix(std::size_t end) const
    {
        std::ptrdiff_t sum = 0;
        for (std::size_t i = end; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return std::size_t(sum);
    }
    // Sum over [begin, end); empty when end <= begin.
    std::size_t between(std::size_t begin, std::size_t end) const
    {
        return end <= begin ? 0 : prefix(end) - prefix(begin);
    }
    // Position of the k-th counted one (0-based k); there must be more than k.
    std::size_t kth(std::size_t k) const
    {
        const std::size_t n = m_tree.size() - 1;
        std::size_t pos = 0;
        std::ptrdiff_t left = std::ptrdiff_t(k) + 1;
        for (std::size_t step = std::bit_floor(n); step > 0; step >>= 1) {
            if (pos + step <= n && m_tree[pos + step] < left) {
                pos += step;
                left -= m_tree[pos];
            }
        }
        return pos;  // 1-based pos + 1, as 0-based
    }

private:
    std::vector<std::ptrdiff_t> m_tree;
};

}  // namespace

// Within one key the exchange sort's order follows from a double-ended
// queue: walk the key's records in input order, append each, then rotate
// the queue left once per smaller-keyed record lying between it and the
// key's next record (or the end). The queue is simulated by insertion
// indices into a list whose front moves, resolved backwards by k-th free
// slot, so a key with m records costs O(m log m) however large the
// rotations are.
std::vector<std::size_t> exchangeSortOrderOfRanks(std::span<const std::size_t> ranks, const SortProgressFn &progress)
{
    const std::size_t n = ranks.size();
    std::vector<std::size_t> byKey(n);
    for (std::size_t i = 0; i < n; ++i)
        byKey[i] = i;
    std::sort(byKey.begin(), byKey.end(),
              [&](std::size_t a, std::size_t b) { return ranks[a] != ranks[b] ? ranks[a] < ranks[b] : a < b; });

    std::vector<std::size_t> order;
    order.reserve(n);
    Counts smaller(n);  // positions of the keys already placed
    std::vector<std::size_t> insertAt, slots;
    const std::size_t step = std::max<std::size_t>(1, n / 100);
    std::size_t nextReport = step;

    for (std::size_t g = 0; g < n;) {
        std::size_t end = g + 1;
        while (end < n && ranks[byKey[end]] == ranks[byKey[g]])
            ++end;
        const std::size_t m = end - g;

        // Insertion index of each record into the list, and the final front.
        insertAt.assign(m, 0);
        std::size_t front = 0;
        for (std::size_t t = 0; t < m; ++t) {
            const std::size_t size = t;  // before this append
            insertAt[t] = front;
            front = (front + 1) % (size + 1);
            const std::size_t next = t + 1 < m ? byKey[g + t + 1] : n;
            const std::size_t rotations = smaller.between(byKey[g + t] + 1, next);
            front = (front + rotations % (size + 1)) % (size + 1);
        }
        // Later insertions shift earlier ones: place from the last backwards.
        slots.assign(m, 0);
        Counts freeSlots(m);
        freeSlots.fillOnes();
        for (std::size_t t = m; t-- > 0;) {
            std::size_t slot = freeSlots.kth(insertAt[t]);
            slots[slot] = byKey[g + t];
            freeSlots.add(slot, -1);
        }
        for (std::size_t k = 0; k < m; ++k)
            order.push_back(slots[(front + k) % m]);

        for (std::size_t t = g; t < end; ++t)
            smaller.add(byKey[t], 1);
        g = end;
        if (progress && g >= nextReport) {
            progress(g, n);
            nextReport = (g / step + 1) * step;
        }
    }
    return order;
}

}  // namespace tools
