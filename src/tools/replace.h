#pragma once

#include <string>
#include <string_view>

namespace tools {

// Replaces every occurrence of `search` in `text` by `replacement`.
// Occurrences are found left to right without overlap, and replaced text
// is not searched again. With ignoreCase, letters match regardless of case
// (FoldCase, so Ａ matches ａ too). An empty search leaves the text as is.
std::u16string replaceAll(std::u16string_view text, std::u16string_view search,
                          std::u16string_view replacement, bool ignoreCase);

} // namespace tools
