#include "tools/text.h"

namespace tools {

char16_t FoldCase(char16_t unit)
{
    const auto shifted = [unit](int by) { return static_cast<char16_t>(unit - by); };
    if (unit < 0x80)
        return unit >= u'a' && unit <= u'z' ? shifted(0x20) : unit;
    if (unit >= 0xFF41 && unit <= 0xFF5A)  // ａ..ｚ
        return shifted(0x20);
    if (unit >= 0x00E0 && unit <= 0x00FE && unit != 0x00F7)  // à..þ, not ÷
        return shifted(0x20);
    if (unit == 0x00FF)  // ÿ
        return 0x0178;
    if (unit >= 0x0100 && unit <= 0x017F) {
        // Latin Extended-A alternates capital and small letters; the
        // parity flips after U+0138 and again after U+0148.
        const bool oddIsSmall = unit < 0x0138 || (unit > 0x0149 && unit < 0x0178);
        if (unit == 0x0131 || unit == 0x0138 || unit == 0x0149 || unit == 0x017F)
            return unit;  // ı ĸ ŉ ſ have no simple one-unit partner here
        if (unit == 0x0178)
            return unit;
        return ((unit & 1) != 0) == oddIsSmall ? shifted(1) : unit;
    }
    if (unit >= 0x03B1 && unit <= 0x03C9)  // α..ω, final ς as σ
        return unit == 0x03C2 ? char16_t{0x03A3} : shifted(0x20);
    if (unit >= 0x0430 && unit <= 0x044F)  // а..я
        return shifted(0x20);
    if (unit >= 0x0450 && unit <= 0x045F)  // ѐ..џ
        return shifted(0x50);
    if (unit >= 0x2170 && unit <= 0x217F)  // ⅰ..ⅿ
        return shifted(0x10);
    if (unit >= 0x24D0 && unit <= 0x24E9)  // ⓐ..ⓩ
        return shifted(0x1A);
    return unit;
}

} // namespace tools
