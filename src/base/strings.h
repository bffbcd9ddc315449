#pragma once

#include <string>
#include <string_view>

// Text helpers every layer shares.
namespace base {

// Trimming as everywhere in the program: units up to U+0020 (spaces and
// control characters) go from both ends; the ideographic space U+3000 stays.
std::u16string_view trim(std::u16string_view s);

// True when the text is empty after trimming.
inline bool isBlank(std::u16string_view s)
{
    for (char16_t c : s)
        if (c > u' ')
            return false;
    return true;
}

// ASCII a–z to upper case; full-width letters and kana stay.
std::u16string upperAscii(std::u16string_view s);

}  // namespace base
