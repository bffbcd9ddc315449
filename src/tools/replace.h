#pragma once

#include <string>
#include <string_view>

namespace tools {

// What the replace dialog collects.
struct ReplaceOptions {
    std::u16string search;
    std::u16string replacement;
    bool ignoreCase = true;
};

// Replaces every occurrence of `search` in `text` by `replacement`.
// Occurrences are found left to right without overlap, and replaced text
// is not searched again. With ignoreCase, letters match regardless of case
// (simple case folding, so Ａ matches ａ and Ά matches ά). An empty search
// leaves the text as is.
std::u16string replaceAll(std::u16string_view text, std::u16string_view search, std::u16string_view replacement,
                          bool ignoreCase);

inline std::u16string replaceAll(std::u16string_view text, const ReplaceOptions &options)
{
    return replaceAll(text, options.search, options.replacement, options.ignoreCase);
}

}  // namespace tools
