#include "tools/unit_map.h"

#include <stdexcept>

namespace tools::detail {

namespace {

template <typename Out>
Out makeOut(std::u16string_view to)
{
    if (to.empty() || to.size() > 2)
        throw std::logic_error("UnitMap: replacement must be one or two units");
    Out out;
    out.units[0] = to[0];
    out.units[1] = to.size() > 1 ? to[1] : 0;
    out.length = static_cast<std::uint8_t>(to.size());
    return out;
}

} // namespace

UnitMap::Node& UnitMap::nodeFor(char16_t unit)
{
    std::uint16_t& page = m_pageOf[unit >> 8];
    if (page == 0) {
        m_pages.emplace_back();
        m_pages.back().fill(0);
        page = static_cast<std::uint16_t>(m_pages.size());
    }
    std::uint16_t& node = m_pages[page - 1][unit & 0xFF];
    if (node == 0) {
        m_nodes.emplace_back();
        node = static_cast<std::uint16_t>(m_nodes.size());
    }
    return m_nodes[node - 1];
}

void UnitMap::add(std::u16string_view from, std::u16string_view to)
{
    const Out out = makeOut<Out>(to);
    if (from.size() == 1) {
        Node& node = nodeFor(from[0]);
        if (node.single.length == 0)
            node.single = out;
        return;
    }
    if (from.size() != 2)
        throw std::logic_error("UnitMap: source must be one or two units");
    Node& node = nodeFor(from[0]);
    for (std::uint8_t i = 0; i < node.pairCount; ++i) {
        if (node.pairs[i].second == from[1])
            return;
    }
    if (node.pairCount == node.pairs.size())
        throw std::logic_error("UnitMap: too many two-unit sources for one first unit");
    node.pairs[node.pairCount++] = Pair{from[1], out};
}

void UnitMap::apply(std::u16string& text) const
{
    // Most lines hold nothing to convert: find the first hit before
    // allocating anything.
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && find(text[i]) == nullptr)
        ++i;
    if (i == n)
        return;

    std::u16string result;
    result.reserve(n + n / 2 + 2);
    result.append(text, 0, i);
    while (i < n) {
        const char16_t unit = text[i];
        const Node* node = find(unit);
        if (node == nullptr) {
            result.push_back(unit);
            ++i;
            continue;
        }
        const Out* out = nullptr;
        std::size_t consumed = 1;
        if (node->pairCount != 0 && i + 1 < n) {
            for (std::uint8_t p = 0; p < node->pairCount; ++p) {
                if (node->pairs[p].second == text[i + 1]) {
                    out = &node->pairs[p].out;
                    consumed = 2;
                    break;
                }
            }
        }
        if (out == nullptr && node->single.length != 0)
            out = &node->single;
        if (out == nullptr) {
            result.push_back(unit);
        } else {
            result.push_back(out->units[0]);
            if (out->length == 2)
                result.push_back(out->units[1]);
        }
        i += consumed;
    }
    text = std::move(result);
}

} // namespace tools::detail
