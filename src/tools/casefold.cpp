#include "tools/casefold.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace tools {

#ifdef _WIN32

std::u16string foldCase(std::u16string_view text)
{
    std::u16string result(text);
    if (text.empty())
        return result;
    // LCMAP_LOWERCASE without linguistic casing maps unit by unit, so the
    // length never changes; the check keeps offsets honest regardless.
    const auto *in = reinterpret_cast<const wchar_t *>(text.data());
    auto *out = reinterpret_cast<wchar_t *>(result.data());
    const int n = static_cast<int>(text.size());
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, in, n, out, n) != n)
        result.assign(text);
    return result;
}

#else

std::u16string foldCase(std::u16string_view text)
{
    std::u16string result(text);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        char32_t c = text[i];
        std::size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        }
        const auto folded = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
        const std::size_t foldedUnits = folded >= 0x10000 ? 2 : 1;
        if (folded != c && foldedUnits == units) {
            if (units == 1) {
                result[i] = static_cast<char16_t>(folded);
            } else {
                const char32_t v = folded - 0x10000;
                result[i] = static_cast<char16_t>(0xD800 + (v >> 10));
                result[i + 1] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
            }
        }
        i += units;
    }
    return result;
}

#endif

}  // namespace tools
