#include "cadhost/wildcard.h"

#include "cad/variant.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using cadhost::wildcardMatch;

namespace {

struct Case {
    const char16_t *pattern;
    const char16_t *text;
    bool match;
};

// Readable test names instead of the raw bytes of the struct.
void PrintTo(const Case &c, std::ostream *os)
{
    *os << "'" << cad::toUtf8(c.pattern) << "' ~ '" << cad::toUtf8(c.text) << "' " << (c.match ? "yes" : "no");
}

class WildcardTest : public ::testing::TestWithParam<Case> {};

TEST_P(WildcardTest, Matches)
{
    const Case &c = GetParam();
    EXPECT_EQ(wildcardMatch(c.pattern, c.text), c.match)
        << "pattern '" << cad::toUtf8(c.pattern) << "' text '" << cad::toUtf8(c.text) << "'";
}

const Case kCases[] = {
    // star and question mark
    {u"*", u"", true},
    {u"*", u"anything", true},
    {u"*abc*", u"xxABCyy", true},
    {u"abc*", u"xabc", false},
    {u"a*c", u"abbbc", true},
    {u"a*c", u"abbbd", false},
    {u"a*b*c", u"aXbYbZc", true},
    {u"?", u"", false},
    {u"??", u"ab", true},
    {u"??", u"abc", false},
    {u"*ポンプ*", u"循環ポンプ P-1", true},
    {u"", u"", true},
    {u"", u"x", false},
    // case-insensitive, also full-width Latin
    {u"TEXT", u"text", true},
    {u"ａｂ", u"ＡＢ", true},
    // digit, letter, other
    {u"P-###", u"P-101", true},
    {u"P-###", u"P-1O1", false},
    {u"@@", u"aZ", true},
    {u"@", u"1", false},
    {u"@", u"漢", true},
    {u"@", u"カ", true},
    {u"@", u"、", false},
    {u".", u"-", true},
    {u".", u"a", false},
    {u".", u"5", false},
    {u"A.B", u"A B", true},
    // brackets
    {u"[abc]1", u"b1", true},
    {u"[abc]1", u"d1", false},
    {u"[a-c]x", u"Bx", true},
    {u"[~abc]1", u"d1", true},
    {u"[~abc]1", u"a1", false},
    {u"[~a-z]", u"5", true},
    {u"[ab", u"[ab", true},  // no closing bracket: literal
    {u"[]]", u"]", true},
    // negation
    {u"~*A*", u"BCD", true},
    {u"~*A*", u"BAD", false},
    {u"~", u"x", true},
    {u"~", u"", false},
    // escape
    {u"`*", u"*", true},
    {u"`*", u"a", false},
    {u"A`#1", u"A#1", true},
    {u"A`#1", u"A21", false},
    {u"`~x", u"~x", true},
    {u"a`,b", u"a,b", true},
    // alternatives
    {u"TEXT,MTEXT", u"mtext", true},
    {u"TEXT,MTEXT", u"INSERT", false},
    {u"A*,~B*", u"Cx", true},  // second alternative is negated
    {u"A*,~*", u"Bx", false},
    {u"[,]x", u",x", true},  // comma inside brackets does not split
};

INSTANTIATE_TEST_SUITE_P(Patterns, WildcardTest, ::testing::ValuesIn(kCases));

TEST(Wildcard, ManyStarsOnLongText)
{
    std::u16string text(5000, u'a');
    EXPECT_FALSE(wildcardMatch(u"*a*a*a*a*a*b", text));
    EXPECT_TRUE(wildcardMatch(u"*a*a*a*a*a*", text));
}

}  // namespace
