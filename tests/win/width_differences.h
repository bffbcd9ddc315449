#pragma once

#include <span>
#include <string_view>

namespace wintest {

struct WidthDifference {
    std::u16string_view input, ours, platform;
    const char *why;
};

inline constexpr WidthDifference kFullWidthDifferences[] = {
    {u"", u"", u"", ""},
};
inline constexpr WidthDifference kHalfWidthDifferences[] = {
    {u"", u"", u"", ""},
};

} // namespace wintest
