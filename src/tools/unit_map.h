#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools::detail {

// Replaces sources of one or two UTF-16 units by replacements of one or
// two units in one left-to-right pass; at each position a two-unit source
// is tried before a one-unit one. Two-unit sources may share a first unit
// with at most one other two-unit source (base letter + voiced or
// semi-voiced mark is all the tables need).
class UnitMap {
public:
    // The first rule added for a source wins; later ones are ignored, so
    // a table can list a preferred mapping before a fallback.
    void add(std::u16string_view from, std::u16string_view to);

    void apply(std::u16string& text) const;

private:
    struct Out {
        std::array<char16_t, 2> units{};
        std::uint8_t length = 0;
    };
    struct Pair {
        char16_t second = 0;
        Out out;
    };
    struct Node {
        Out single;  // length 0: the unit alone is not a source
        std::array<Pair, 2> pairs{};
        std::uint8_t pairCount = 0;
    };

    const Node* find(char16_t unit) const
    {
        const std::uint16_t page = m_pageOf[unit >> 8];
        if (page == 0)
            return nullptr;
        const std::uint16_t node = m_pages[page - 1][unit & 0xFF];
        return node == 0 ? nullptr : &m_nodes[node - 1];
    }
    Node& nodeFor(char16_t unit);

    // Two-level index from a first unit to its node; 0 means none, so
    // stored indices are one-based.
    std::array<std::uint16_t, 256> m_pageOf{};
    std::vector<std::array<std::uint16_t, 256>> m_pages;
    std::vector<Node> m_nodes;
};

} // namespace tools::detail
