#pragma once

#include <string>
#include <string_view>

namespace cad {

// Trimming as everywhere in the program: characters up to U+0020 go from
// both ends; the ideographic space U+3000 stays.
std::u16string Trim(std::u16string_view s);
inline bool isBlank(std::u16string_view s)
{
    for (char16_t c : s)
        if (c > u' ')
            return false;
    return true;
}

// ASCII a–z to upper case; nothing else changes.
std::u16string upperAscii(std::u16string_view s);

} // namespace cad
