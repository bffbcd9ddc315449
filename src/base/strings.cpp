#include "base/strings.h"

namespace base {

std::u16string_view trim(std::u16string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return s.substr(b, e - b);
}

std::u16string upperAscii(std::u16string_view s)
{
    std::u16string out(s);
    for (auto &c : out)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return out;
}

}  // namespace base
