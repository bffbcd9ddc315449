#include "tools/unit_map.h"

#include <stdexcept>

namespace tools::detail {

UnitMap::Entry &UnitMap::entryFor(char16_t unit)
{
    std::uint8_t &page = m_pageOf[unit >> 8];
    if (page == 0) {
        if (m_pages.size() == 256)
            throw std::logic_error("UnitMap: too many pages");
        m_pages.emplace_back();
        m_deltas.emplace_back().fill(0);
        page = static_cast<std::uint8_t>(m_pages.size() - 1);
    }
    return m_pages[page][unit & 0xFF];
}

void UnitMap::add(std::u16string_view from, std::u16string_view to)
{
    if (from.empty() || from.size() > 2 || to.empty() || to.size() > 2)
        throw std::logic_error("UnitMap: sources and replacements are one or two units");
    if (to.size() > from.size())
        m_grows = true;
    if (from.size() == 2) {
        if (to.size() != 1)
            throw std::logic_error("UnitMap: a two-unit source needs a one-unit replacement");
        Entry &entry = entryFor(from[0]);
        std::size_t slot = 0;
        while (slot < entry.pairOut.size() && entry.pairOut[slot] != 0) {
            if (entry.pairSecond[slot] == from[1])
                return;
            ++slot;
        }
        if (slot == entry.pairOut.size() || to[0] == 0)
            throw std::logic_error("UnitMap: unsupported two-unit source");
        entry.pairSecond[slot] = from[1];
        entry.pairOut[slot] = to[0];
        m_hasPairs = true;
    } else {
        Entry &entry = entryFor(from[0]);
        if (entry.mapped)
            return;
        entry.mapped = true;
        entry.delta = static_cast<char16_t>(to[0] - from[0]);
        m_deltas[m_pageOf[from[0] >> 8]][from[0] & 0xFF] = entry.delta;
        entry.second = to.size() == 2 ? to[1] : 0;
    }
    if (m_grows && m_hasPairs)
        throw std::logic_error("UnitMap: two-unit sources and growing replacements together");
}

void UnitMap::apply(std::u16string &text) const
{
    if (m_hasPairs) {
        applyWithPairs(text);
        return;
    }
    if (m_grows) {
        applyGrowing(text);
        return;
    }
    // Branch-free: typical lines mix units of several pages, which would
    // make any test on the unit mispredict.
    for (char16_t &unit : text)
        unit = static_cast<char16_t>(unit + delta(unit));
}

void UnitMap::applyWithPairs(std::u16string &text) const
{
    // Replacements are never longer than sources: rewrite in place.
    const char16_t *read = text.data();
    const char16_t *const end = read + text.size();
    char16_t *write = text.data();
    while (read != end) {
        const char16_t unit = *read;
        const Entry &e = entry(unit);
        if (read + 1 != end) {
            const char16_t next = read[1];
            const int slot = next == e.pairSecond[0] ? 0 : next == e.pairSecond[1] ? 1 : -1;
            if (slot >= 0 && e.pairOut[slot] != 0) {
                *write++ = e.pairOut[slot];
                read += 2;
                continue;
            }
        }
        *write++ = static_cast<char16_t>(unit + e.delta);
        ++read;
    }
    text.resize(static_cast<std::size_t>(write - text.data()));
}

void UnitMap::applyGrowing(std::u16string &text) const
{
    std::size_t extra = 0;
    for (const char16_t unit : text)
        extra += entry(unit).second != 0 ? 1 : 0;
    std::size_t read = text.size();
    std::size_t write = read + extra;
    text.resize(write);
    // Fill from the back so the text is its own buffer: the write position
    // never falls behind the read position.
    while (read != 0) {
        const char16_t unit = text[--read];
        const Entry &e = entry(unit);
        const char16_t first = static_cast<char16_t>(unit + e.delta);
        const std::size_t length = e.second != 0 ? 2 : 1;
        write -= length;
        text[write] = first;
        text[write + length - 1] = e.second != 0 ? e.second : first;
    }
}

}  // namespace tools::detail
