#include "attrgrid/tagset.h"

#include <gtest/gtest.h>

using Fields = std::vector<std::u16string>;

TEST(TagSetFields, SplitAtEveryCommaKeepingBlanks)
{
    EXPECT_EQ(splitTagSetFields(u"機器,NAME,NAME1"), (Fields{u"機器", u"NAME", u"NAME1"}));
    EXPECT_EQ(splitTagSetFields(u" a , b"), (Fields{u" a ", u" b"}));
    EXPECT_EQ(splitTagSetFields(u"a,,b"), (Fields{u"a", u"", u"b"}));
    EXPECT_EQ(splitTagSetFields(u""), (Fields{u""}));
}

TEST(TagSetFields, TrailingCommaGivesEmptyLastField)
{
    EXPECT_EQ(splitTagSetFields(u"set,A,"), (Fields{u"set", u"A", u""}));
    EXPECT_EQ(splitTagSetFields(u","), (Fields{u"", u""}));
}

TEST(TagSetFields, QuotedFieldsHoldCommasAndDoubledQuotes)
{
    EXPECT_EQ(splitTagSetFields(u"\"a,b\",C"), (Fields{u"a,b", u"C"}));
    EXPECT_EQ(splitTagSetFields(u"\"say \"\"hi\"\"\",X"), (Fields{u"say \"hi\"", u"X"}));
    EXPECT_EQ(splitTagSetFields(u"\"\",X"), (Fields{u"", u"X"}));
    // Only a leading quote opens a quoted field.
    EXPECT_EQ(splitTagSetFields(u"a\"b,c\""), (Fields{u"a\"b", u"c\""}));
    // Text after the closing quote stays with the field.
    EXPECT_EQ(splitTagSetFields(u"\"ab\"cd,e"), (Fields{u"abcd", u"e"}));
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(splitTagSetFields(u"\"a,b"), (Fields{u"a,b"}));
}

TEST(TagSet, NameTagsAndBlockPattern)
{
    TagSet s = parseTagSet(u"機器[ABC*],NAME,RATING");
    EXPECT_EQ(s.name, u"機器[ABC*]");
    EXPECT_EQ(s.tags, (Fields{u"NAME", u"RATING"}));
    EXPECT_EQ(s.blockPattern, u"ABC*");

    EXPECT_EQ(parseTagSet(u"線番,SENBAN").blockPattern, u"*");
    EXPECT_EQ(parseTagSet(u"a[],X").blockPattern, u"*");       // empty brackets
    EXPECT_EQ(parseTagSet(u"a]b[c,X").blockPattern, u"*");     // "]" before "["
    EXPECT_EQ(parseTagSet(u"a[b]c[d],X").blockPattern, u"b");  // first pair
    EXPECT_EQ(parseTagSet(u"a[bc,X").blockPattern, u"*");      // no "]" in the name
    EXPECT_EQ(parseTagSet(u"name").tags.size(), 0u);
    // A bracket in a tag field is no pattern.
    EXPECT_EQ(parseTagSet(u"n,[X]").blockPattern, u"*");
}
