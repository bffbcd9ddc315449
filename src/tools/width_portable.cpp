#include "tools/width.h"

#include "tools/unit_map.h"

#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tools {

namespace {

enum class Way : std::uint8_t { Both, ToFullOnly, ToHalfOnly };

// `count` code points from `half` (each followed by the sound mark `mark`
// when it is not 0) correspond to `count` code points from `full`, taken
// every `step` code points (full-width katakana interleave small, voiced
// and semi-voiced letters).
struct WidthRow {
    char16_t half;
    char16_t mark;
    char16_t full;
    std::uint16_t count;
    std::uint16_t step;
    Way way;
};

constexpr char16_t kVoiced = 0xFF9E;      // ﾞ
constexpr char16_t kSemiVoiced = 0xFF9F;  // ﾟ

// The one table of our width mapping. Rows for two-unit half-width
// sequences (letter + mark) are what composes ｶﾞ into ガ and decomposes
// ガ into ｶﾞ.
constexpr WidthRow kWidthRows[] = {
    // ASCII and space.
    {0x0021, 0, 0xFF01, 94, 1, Way::Both},  // ! .. ~  <-> ！ .. ～
    {0x0020, 0, 0x3000, 1, 1, Way::Both},   // space <-> ideographic space
    // Japanese punctuation and lone sound marks.
    {0xFF61, 0, 0x3002, 1, 1, Way::Both},        // ｡ 。
    {0xFF62, 0, 0x300C, 2, 1, Way::Both},        // ｢｣ 「」
    {0xFF64, 0, 0x3001, 1, 1, Way::Both},        // ､ 、
    {0xFF65, 0, 0x30FB, 1, 1, Way::Both},        // ･ ・
    {0xFF70, 0, 0x30FC, 1, 1, Way::Both},        // ｰ ー
    {0xFF9E, 0, 0x309B, 2, 1, Way::Both},        // ﾞﾟ ゛゜
    {0xFF9E, 0, 0x3099, 2, 1, Way::ToHalfOnly},  // combining marks
    // Voiced and semi-voiced katakana: letter + mark <-> one letter.
    {0xFF73, kVoiced, 0x30F4, 1, 1, Way::Both},      // ｳﾞ ヴ
    {0xFF76, kVoiced, 0x30AC, 12, 2, Way::Both},     // ｶﾞ .. ﾁﾞ  ガ .. ヂ
    {0xFF82, kVoiced, 0x30C5, 3, 2, Way::Both},      // ﾂﾞﾃﾞﾄﾞ  ヅデド
    {0xFF8A, kVoiced, 0x30D0, 5, 3, Way::Both},      // ﾊﾞ .. ﾎﾞ  バ .. ボ
    {0xFF8A, kSemiVoiced, 0x30D1, 5, 3, Way::Both},  // ﾊﾟ .. ﾎﾟ  パ .. ポ
    {0xFF9C, kVoiced, 0x30F7, 1, 1, Way::Both},      // ﾜﾞ ヷ
    {0xFF66, kVoiced, 0x30FA, 1, 1, Way::Both},      // ｦﾞ ヺ
    // Plain katakana.
    {0xFF66, 0, 0x30F2, 1, 1, Way::Both},   // ｦ ヲ
    {0xFF67, 0, 0x30A1, 5, 2, Way::Both},   // ｧ .. ｫ  ァ .. ォ
    {0xFF6C, 0, 0x30E3, 3, 2, Way::Both},   // ｬｭｮ ャュョ
    {0xFF6F, 0, 0x30C3, 1, 1, Way::Both},   // ｯ ッ
    {0xFF71, 0, 0x30A2, 5, 2, Way::Both},   // ｱ .. ｵ  ア .. オ
    {0xFF76, 0, 0x30AB, 12, 2, Way::Both},  // ｶ .. ﾁ  カ .. チ
    {0xFF82, 0, 0x30C4, 3, 2, Way::Both},   // ﾂﾃﾄ ツテト
    {0xFF85, 0, 0x30CA, 5, 1, Way::Both},   // ﾅ .. ﾉ  ナ .. ノ
    {0xFF8A, 0, 0x30CF, 5, 3, Way::Both},   // ﾊ .. ﾎ  ハ .. ホ
    {0xFF8F, 0, 0x30DE, 5, 1, Way::Both},   // ﾏ .. ﾓ  マ .. モ
    {0xFF94, 0, 0x30E4, 3, 2, Way::Both},   // ﾔﾕﾖ ヤユヨ
    {0xFF97, 0, 0x30E9, 5, 1, Way::Both},   // ﾗ .. ﾛ  ラ .. ロ
    {0xFF9C, 0, 0x30EF, 1, 1, Way::Both},   // ﾜ ワ
    {0xFF9D, 0, 0x30F3, 1, 1, Way::Both},   // ﾝ ン
    // Other full-width forms of the U+FF00 block.
    {0x2985, 0, 0xFF5F, 2, 1, Way::Both},  // ⦅⦆ ｟｠
    {0x00A2, 0, 0xFFE0, 2, 1, Way::Both},  // ¢£ ￠￡
    {0x00AC, 0, 0xFFE2, 1, 1, Way::Both},  // ¬ ￢
    {0x00AF, 0, 0xFFE3, 1, 1, Way::Both},  // ¯ ￣
    {0x00A6, 0, 0xFFE4, 1, 1, Way::Both},  // ¦ ￤
    {0x00A5, 0, 0xFFE5, 1, 1, Way::Both},  // ¥ ￥
    {0x20A9, 0, 0xFFE6, 1, 1, Way::Both},  // ₩ ￦
    // Other half-width forms: box drawing, arrows, shapes, Hangul.
    {0xFFE8, 0, 0x2502, 1, 1, Way::Both},   // ￨ │
    {0xFFE9, 0, 0x2190, 4, 1, Way::Both},   // ￩ .. ￬  ← .. ↓
    {0xFFED, 0, 0x25A0, 1, 1, Way::Both},   // ￭ ■
    {0xFFEE, 0, 0x25CB, 1, 1, Way::Both},   // ￮ ○
    {0xFFA0, 0, 0x3164, 1, 1, Way::Both},   // Hangul filler
    {0xFFA1, 0, 0x3131, 30, 1, Way::Both},  // Hangul consonants
    {0xFFC2, 0, 0x314F, 6, 1, Way::Both},   // Hangul vowels
    {0xFFCA, 0, 0x3155, 6, 1, Way::Both},
    {0xFFD2, 0, 0x315B, 6, 1, Way::Both},
    {0xFFDA, 0, 0x3161, 3, 1, Way::Both},
};

detail::UnitMap buildMap(bool toFull)
{
    detail::UnitMap map;
    for (const WidthRow &row : kWidthRows) {
        if (row.way == (toFull ? Way::ToHalfOnly : Way::ToFullOnly))
            continue;
        for (std::uint16_t k = 0; k < row.count; ++k) {
            std::u16string half(1, static_cast<char16_t>(row.half + k));
            if (row.mark != 0)
                half.push_back(row.mark);
            const std::u16string full(1, static_cast<char16_t>(row.full + k * row.step));
            if (toFull)
                map.add(half, full);
            else
                map.add(full, half);
        }
    }
    return map;
}

#ifdef _WIN32
void mapWidth(std::u16string &text, DWORD flag)
{
    if (text.empty())
        return;
    // Length first, then the mapping itself, as the platform documents.
    const auto *source = reinterpret_cast<const wchar_t *>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int length = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength, nullptr, 0);
    if (length <= 0)
        return;
    std::u16string result(static_cast<std::size_t>(length), u'\0');
    const int written = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, source, sourceLength,
                                     reinterpret_cast<wchar_t *>(result.data()), length);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    text = std::move(result);
}
#endif

}  // namespace

void portableToZen(std::u16string &text)
{
    static const detail::UnitMap map = buildMap(true);
    map.apply(text);
}

void portableToHan(std::u16string &text)
{
    static const detail::UnitMap map = buildMap(false);
    map.apply(text);
}

void AllToZen(std::u16string &text)
{
#ifdef _WIN32
    mapWidth(text, LCMAP_FULLWIDTH);
#else
    portableToZen(text);
#endif
}

void AllToHan(std::u16string &text)
{
#ifdef _WIN32
    mapWidth(text, LCMAP_HALFWIDTH);
#else
    portableToHan(text);
#endif
}

}  // namespace tools
