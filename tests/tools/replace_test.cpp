#include "tools/replace.h"

#include "tools/text.h"
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

TEST(replaceAll, ReplacesEveryOccurrenceOnce)
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
    for (const ReplaceCase& c : cases) {
        EXPECT_EQ(tools::replaceAll(c.text, c.search, c.replacement, c.ignoreCase), c.expected);
    }
}

TEST(FoldCase, PairsCapitalAndSmallLettersOnly)
{
    const std::pair<char16_t, char16_t> pairs[] = {
        {u'a', u'A'}, {u'z', u'Z'}, {u'ａ', u'Ａ'}, {u'ｚ', u'Ｚ'}, {u'é', u'É'}, {u'ÿ', u'Ÿ'},
        {u'ā', u'Ā'}, {u'ĺ', u'Ĺ'}, {u'ŋ', u'Ŋ'}, {u'ž', u'Ž'}, {u'ς', u'Σ'}, {u'ё', u'Ё'},
        {u'ⅳ', u'Ⅳ'}, {u'ⓩ', u'Ⓩ'},
    };
    for (const auto& [small, capital] : pairs) {
        EXPECT_EQ(tools::FoldCase(small), capital) << int(small);
        EXPECT_EQ(tools::FoldCase(capital), capital) << int(capital);
    }
    for (char16_t other : {u'÷', u'ı', u'1', u'ア', u'@', u'[', u'\u3000'})
        EXPECT_EQ(tools::FoldCase(other), other) << int(other);
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

} // namespace
