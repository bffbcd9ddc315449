#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cad::win {

// Code page 932 as Windows converts it (MultiByteToWideChar and
// WideCharToMultiByte), for Qt builds without ICU. Empty when a byte
// sequence is not CP932, or a character has no CP932 form (no best-fit
// replacements: '?' would silently change the text).
std::optional<std::u16string> decodeCp932(std::string_view bytes);
std::optional<std::string> encodeCp932(std::u16string_view text);

}  // namespace cad::win
