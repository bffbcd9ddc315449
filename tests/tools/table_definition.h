#pragma once

// The table routines written the slow, literal way: one replace-all pass per
// table entry, in table order. Tests and benchmarks compare the real
// routines with this.

#include "tools/width.h"

#include <string>
#include <string_view>

namespace tools::reference {

inline void replaceAllExact(std::u16string &text, std::u16string_view from, std::u16string_view to)
{
    std::size_t hit = text.find(from);
    if (hit == std::u16string::npos)
        return;
    std::u16string result;
    std::size_t start = 0;
    for (; hit != std::u16string::npos; hit = text.find(from, start)) {
        result.append(text, start, hit - start);
        result.append(to);
        start = hit + from.size();
    }
    result.append(text, start, std::u16string::npos);
    text = std::move(result);
}

inline void passByPass(std::u16string &text, WidthTable table, bool toFull)
{
    for (const WidthPair &pair : pairTable(table)) {
        if (toFull)
            replaceAllExact(text, pair.half, pair.full);
        else
            replaceAllExact(text, pair.full, pair.half);
    }
}

struct Routine {
    const char *name;
    void (*convert)(std::u16string &);
    WidthTable table;
    bool toFull;
};

inline constexpr Routine kRoutines[] = {
    {"HanKanaToZen", HanKanaToZen, WidthTable::Katakana, true},
    {"ZenKanaToHan", ZenKanaToHan, WidthTable::Katakana, false},
    {"HanDigitToZen", HanDigitToZen, WidthTable::Digits, true},
    {"ZenDigitToHan", ZenDigitToHan, WidthTable::Digits, false},
    {"ZenNumToHan", ZenNumToHan, WidthTable::Numerals, false},
    {"HanNumToZen", HanNumToZen, WidthTable::Numerals, true},
    {"HanAlphaToZen", HanAlphaToZen, WidthTable::Latin, true},
    {"ZenAlphaToHan", ZenAlphaToHan, WidthTable::Latin, false},
    {"ZenSymbolToHan", ZenSymbolToHan, WidthTable::Symbols, false},
    {"HanSymbolToZen", HanSymbolToZen, WidthTable::Symbols, true},
};

}  // namespace tools::reference
