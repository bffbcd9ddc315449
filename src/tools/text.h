#pragma once

#include <string>
#include <string_view>

// Small text helpers shared by the tools and their callers.
namespace tools {

// Removes leading and trailing units up to U+0020 (spaces and control
// characters); the ideographic space U+3000 stays.
std::u16string_view Trim(std::u16string_view text);

// True when the text is empty after trimming.
bool IsBlank(std::u16string_view text);

// Upper-cases ASCII a to z only; full-width letters and kana stay.
std::u16string UpperAscii(std::u16string_view text);

} // namespace tools
