#include "tools/linecommands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tools::Lines;

TEST(splitLines, KeepsEveryBreakOfASelection)
{
    const std::u16string texts[] = {u"", u"a", u"a\r\nb", u"a\r\nb\r\n", u"\r\n", u" x \r\r\n\ny ", u"a\n\r"};
    for (const std::u16string &text : texts)
        EXPECT_EQ(tools::joinLines(tools::splitLines(text)), text);
    const tools::LineSplit split = tools::splitLines(u"ab\r\ncd\r\n");
    EXPECT_EQ(split.lines, (Lines{u"ab", u"cd", u""}));

    // Whole lines selected: converting keeps the final break and blanks.
    tools::LineSplit selection = tools::splitLines(u" (a) \r\n(b)\r\n");
    tools::MessagePacer pacer(nullptr);
    const bool running = true;
    tools::convertLines(selection.lines, tools::Conversion::Parentheses, pacer, running);
    EXPECT_EQ(tools::joinLines(selection), u" （a） \r\n（b）\r\n");
}

TEST(LineCommands, ConvertReplaceAndAdd)
{
    tools::MessagePacer pacer(nullptr);
    const bool running = true;
    Lines lines{u"f(x)+(y)", u"ｱｲ", u""};
    tools::convertLines(lines, tools::Conversion::Parentheses, pacer, running);
    EXPECT_EQ(lines[0], u"f（x）+（y）");
    tools::convertLines(lines, tools::Conversion::HanKanaToZen, pacer, running);
    EXPECT_EQ(lines[1], u"アイ");

    Lines words{u"ABC abc", u"xAbCx"};
    tools::replaceLines(words, {u"abc", u"X", true}, pacer, running);
    EXPECT_EQ(words, (Lines{u"X X", u"xXx"}));

    Lines numbers{u"SW-009", u"  ", u"P", u"  P7  "};
    tools::AdditionOptions add;
    add.addend = 1;
    tools::addToLines(numbers, add, pacer, running);
    EXPECT_EQ(numbers, (Lines{u"SW-010", u"  ", u"P", u"P8"}));
}

TEST(LineCommands, AbortKeepsTheLinesConvertedSoFar)
{
    Lines lines(6, u"a");
    bool running = true;
    int pumps = 0;
    std::chrono::steady_clock::time_point t{};
    // Each clock read moves 20 ms on: the first pump comes after the
    // second line, and it brings the abort.
    tools::MessagePacer pacer([&] { running = ++pumps < 1; }, [&] { return t += std::chrono::milliseconds(20); });
    const std::size_t visited = tools::convertLines(lines, tools::Conversion::AllToZen, pacer, running);
    EXPECT_EQ(visited, 2u);
    EXPECT_EQ(lines, (Lines{u"ａ", u"ａ", u"a", u"a", u"a", u"a"}));
}

TEST(LineCommands, serialStrings)
{
    tools::SerialFields fields;
    fields.prefix = u"sw-";
    fields.start = u"01";
    fields.suffix = u"a";
    fields.count = u"3";
    EXPECT_EQ(tools::serialStrings(tools::readSerialFields(fields, tools::SerialUse::Generation)),
              (Lines{u"SW-01A", u"SW-02A", u"SW-03A"}));
    fields.count = u"0";
    EXPECT_TRUE(tools::serialStrings(tools::readSerialFields(fields, tools::SerialUse::Generation)).empty());
}

}  // namespace
