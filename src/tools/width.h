#pragma once

#include <span>
#include <string>
#include <string_view>

// Full-width (全角) / half-width (半角) conversion of one string, in place.
namespace tools {

// One row of a pair table: a full-width entry and its half-width entry.
// Entries are one UTF-16 unit, except voiced and semi-voiced half-width
// katakana, which are a base letter followed by U+FF9E or U+FF9F.
struct WidthPair {
    std::u16string_view full;
    std::u16string_view half;
};

enum class WidthTable { Digits, Numerals, Latin, Symbols, Katakana };

// The constant pair table, in its defined order.
std::span<const WidthPair> pairTable(WidthTable table);

// The ten table routines. Each converts every entry of its table in one
// direction; the result is that of replacing all occurrences of each entry
// in table order, computed in one left-to-right pass that tries two-unit
// entries first. Case is never changed.
void HanKanaToZen(std::u16string &text);
void ZenKanaToHan(std::u16string &text);
void HanDigitToZen(std::u16string &text);
void ZenDigitToHan(std::u16string &text);
void ZenNumToHan(std::u16string &text);
void HanNumToZen(std::u16string &text);
void HanAlphaToZen(std::u16string &text);
void ZenAlphaToHan(std::u16string &text);
void ZenSymbolToHan(std::u16string &text);
void HanSymbolToZen(std::u16string &text);

// Everything the platform's width mapping knows, to full or half width:
// LCMapStringW with LCMAP_FULLWIDTH / LCMAP_HALFWIDTH on Windows,
// portableToZen / portableToHan elsewhere.
void AllToZen(std::u16string &text);
void AllToHan(std::u16string &text);

// Our own width mapping, available on every platform (see the table in
// width_portable.cpp): ASCII and space, half-width katakana with voiced
// letters composed / decomposed, sound marks, Japanese punctuation and the
// other forms of the Halfwidth and Fullwidth Forms block.
void portableToZen(std::u16string &text);
void portableToHan(std::u16string &text);

}  // namespace tools
