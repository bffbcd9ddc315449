#include "tools/replace.h"

#include "tools/casefold.h"

namespace tools {

std::u16string replaceAll(std::u16string_view text, std::u16string_view search, std::u16string_view replacement,
                          bool ignoreCase)
{
    if (search.empty())
        return std::u16string(text);

    // Folding keeps every length, so offsets found in the folded copies
    // are offsets in the original text.
    std::u16string foldedText;
    std::u16string foldedSearch;
    std::u16string_view haystack = text;
    std::u16string_view needle = search;
    if (ignoreCase) {
        foldedText = foldCase(text);
        foldedSearch = foldCase(search);
        haystack = foldedText;
        needle = foldedSearch;
    }

    std::u16string result;
    std::size_t start = 0;
    for (std::size_t hit = haystack.find(needle); hit != std::u16string_view::npos;
         hit = haystack.find(needle, start)) {
        result.append(text.substr(start, hit - start));
        result.append(replacement);
        start = hit + needle.size();
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace tools
