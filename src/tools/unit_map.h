#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools::detail {

// Replaces sources of one or two UTF-16 units by replacements of one or
// two units in one left-to-right pass; at each position a two-unit source
// is tried before a one-unit one. Two shapes are supported, which cover
// the width tables: two-unit sources (half-width letter + sound mark) with
// one-unit replacements, or one-unit sources with replacements of one or
// two units. A first unit starts at most two two-unit sources.
class UnitMap {
public:
    // The first rule added for a source wins; later ones are ignored, so
    // a table can list a preferred mapping before a fallback.
    void add(std::u16string_view from, std::u16string_view to);

    void apply(std::u16string &text) const;

private:
    // What happens to one unit taken alone: it is shifted by `delta`
    // (0 for units that stay) and followed by `second` when that is not 0.
    // A unit may also start up to two two-unit sources, ending in
    // pairSecond and replaced by pairOut (pairOut 0: no such source).
    struct Entry {
        char16_t delta = 0;
        char16_t second = 0;
        std::array<char16_t, 2> pairSecond{};
        std::array<char16_t, 2> pairOut{};
        bool mapped = false;
    };
    using Page = std::array<Entry, 256>;

    const Entry &entry(char16_t unit) const { return m_pages[m_pageOf[unit >> 8]][unit & 0xFF]; }
    char16_t delta(char16_t unit) const { return m_deltas[m_pageOf[unit >> 8]][unit & 0xFF]; }
    Entry &entryFor(char16_t unit);
    void applyWithPairs(std::u16string &text) const;
    void applyGrowing(std::u16string &text) const;

    // Two-level index by high and low byte; page 0 is all zero entries,
    // so lookups never branch on whether a page exists.
    std::array<std::uint8_t, 256> m_pageOf{};
    std::vector<Page> m_pages = std::vector<Page>(1);
    // The deltas of m_pages again, packed for the one-to-one case.
    std::vector<std::array<char16_t, 256>> m_deltas = std::vector<std::array<char16_t, 256>>(1);
    bool m_hasPairs = false;
    bool m_grows = false;
};

}  // namespace tools::detail
