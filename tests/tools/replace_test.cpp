#include "tools/replace.h"

#include "tools/casefold.h"
#include "base/strings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReplaceCase {
    std::u16string text;
    std::u16string search;
    std::u16string replacement;
    bool ignoreCase;
    std::u16string expected;
};

TEST(ReplaceAll, ReplacesEveryOccurrenceOnce)
{
    const ReplaceCase cases[] = {
        {u"ABC abc", u"abc", u"X", true, u"X X"},
        {u"ABC abc", u"abc", u"X", false, u"ABC X"},
        {u"a-b-c", u"-", u"", false, u"abc"},
        // Left to right, no overlap, replacement not searched again.
        {u"aaaa", u"aa", u"a", false, u"aa"},
        {u"aaa", u"aa", u"b", false, u"ba"},
        {u"ab", u"a", u"aa", false, u"aab"},
        {u"xyz", u"", u"Q", true, u"xyz"},
        {u"", u"a", u"b", true, u""},
        // Case-insensitive matching keeps the unmatched text as it was.
        {u"Ａｂ ａＢ AB", u"ａｂ", u"#", true, u"# # AB"},
        {u"ÄÖ äö Ωω Яя", u"äö", u"-", true, u"- - Ωω Яя"},
        {u"Ωω Яя", u"ωΩ", u"1", true, u"1 Яя"},
        {u"ガ が", u"ガ", u"カ", true, u"カ が"},
    };
    for (const ReplaceCase &c : cases) {
        EXPECT_EQ(tools::replaceAll(c.text, c.search, c.replacement, c.ignoreCase), c.expected);
    }
}

TEST(FoldCase, MatchesEveryCasePairOfTheScripts)
{
    // Capital and small letters of scripts a hand table tends to miss.
    const std::pair<std::u16string, std::u16string> pairs[] = {
        {u"A", u"a"}, {u"Ｚ", u"ｚ"}, {u"É", u"é"}, {u"Ÿ", u"ÿ"}, {u"Ǎ", u"ǎ"}, {u"Ά", u"ά"}, {u"Σ", u"ς"},
        {u"Ґ", u"ґ"}, {u"Ё", u"ё"},   {u"Ạ", u"ạ"}, {u"Ⅳ", u"ⅳ"}, {u"Ⓩ", u"ⓩ"}, {u"Ա", u"ա"}, {u"Ⰰ", u"ⰰ"},
    };
    for (const auto &[capital, small] : pairs) {
        EXPECT_EQ(tools::foldCase(capital), tools::foldCase(small)) << int(capital[0]);
        EXPECT_EQ(tools::replaceAll(u"<" + small + u">", capital, u"#", true), u"<#>") << int(capital[0]);
    }
    // Letters without a partner and other characters stay as they are.
    EXPECT_EQ(tools::foldCase(u"1÷アか@[\u3000"), u"1÷アか@[\u3000");
    EXPECT_NE(tools::foldCase(u"ア"), tools::foldCase(u"ｱ"));
    EXPECT_NE(tools::foldCase(u"ガ"), tools::foldCase(u"が"));
#ifndef _WIN32
    // Beyond the BMP too (Deseret).
    EXPECT_EQ(tools::replaceAll(u"x\U00010428y", u"\U00010400", u"#", true), u"x#y");
#endif
}

TEST(FoldCase, KeepsTheLengthOfEveryText)
{
    // Offsets found in folded text must be offsets in the original.
    const std::u16string texts[] = {u"",
                                    u"ẞß",
                                    u"İı",
                                    u"ŉ",
                                    u"\U00010400\U00010428x",
                                    std::u16string{char16_t(0xD800), u'A'},
                                    std::u16string{u'A', char16_t(0xDC00)}};
    for (const std::u16string &text : texts)
        EXPECT_EQ(tools::foldCase(text).size(), text.size());
    EXPECT_EQ(tools::replaceAll(u"İx ix", u"X", u"y", true), u"İy iy");
}

TEST(TextHelpers, TrimKeepsIdeographicSpace)
{
    EXPECT_EQ(base::trim(u"\t P7 \r\n"), u"P7");
    EXPECT_EQ(base::trim(u"\u3000x\u3000"), u"\u3000x\u3000");
    EXPECT_EQ(base::trim(u" \x01\x1F "), u"");
    EXPECT_TRUE(base::isBlank(u" \t"));
    EXPECT_FALSE(base::isBlank(u"\u3000"));
    EXPECT_EQ(base::upperAscii(u"sw-ａｂかz"), u"SW-ａｂかZ");
}

}  // namespace
