#include "cad/strings.h"

namespace cad {

std::u16string Trim(std::u16string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return std::u16string(s.substr(b, e - b));
}

std::u16string upperAscii(std::u16string_view s)
{
    std::u16string out(s);
    for (auto &c : out)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - 32);
    return out;
}

} // namespace cad
