#pragma once

#include <span>
#include <string_view>

// Where our portable width mapping and Wine's LCMapStringW part ways, and
// why ours is kept. Wine builds its table from Unicode's compatibility
// decompositions; Windows and Japanese text use the spacing sound marks.
namespace wintest {

struct WidthDifference {
    std::u16string_view input, ours, platform;
    const char *why;
};

inline constexpr WidthDifference kFullWidthDifferences[] = {
    {u"\\", u"＼", u"\\", "every printable ASCII character has its full-width form; Wine leaves the backslash out"},
    {u"゛", u"゛", u"\u3099", "already full width; Wine turns the spacing mark into the combining one"},
    {u"゜", u"゜", u"\u309A", "already full width; Wine turns the spacing mark into the combining one"},
    {u"ﾞ", u"゛", u"\u3099", "a lone half-width sound mark becomes the spacing full-width mark Japanese text uses"},
    {u"ﾟ", u"゜", u"\u309A", "a lone half-width sound mark becomes the spacing full-width mark Japanese text uses"},
};

// Half-width katakana without a voiced (semi-voiced) full-width letter: a
// sound mark after them becomes the spacing full-width mark, as above;
// Wine gives the combining one. The letter itself converts alike.
inline constexpr std::u16string_view kNoVoicedLetter = u"ｧｨｩｪｫｬｭｮｯｰｱｲｴｵﾅﾆﾇﾈﾉﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾝ";
inline constexpr std::u16string_view kNoSemiVoicedLetter = u"ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";

inline constexpr WidthDifference kHalfWidthDifferences[] = {
    {u"‘", u"‘", u"'", "typographic quotes are not width variants; the apostrophe's full-width form is ＇"},
    {u"’", u"’", u"'", "typographic quotes are not width variants; the apostrophe's full-width form is ＇"},
    {u"“", u"“", u"\"", "typographic quotes are not width variants; the quote's full-width form is ＂"},
    {u"”", u"”", u"\"", "typographic quotes are not width variants; the quote's full-width form is ＂"},
    {u"ヸ", u"ヸ", u"ヰﾞ", "no half-width ヰ exists; Wine's result would mix widths"},
    {u"ヹ", u"ヹ", u"ヱﾞ", "no half-width ヱ exists; Wine's result would mix widths"},
    {u"ヾ", u"ヾ", u"ヽﾞ", "no half-width ヽ exists; Wine's result would mix widths"},
    {u"＼", u"\\", u"＼", "the reverse of the backslash above"},
};

}  // namespace wintest
