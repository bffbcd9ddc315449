#include "tools/number.h"

#include "tools/tool_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using tools::Radix;

std::optional<std::u16string> add(std::u16string_view text, Radix radix, std::int32_t addend, bool fromEnd = true,
                                  int digitCount = 2)
{
    return tools::addToNumber(text, {radix, fromEnd, digitCount, addend});
}

TEST(SplitDigitRun, SplitsTheTrimmedTextAroundOneRun)
{
    struct Case {
        std::u16string text;
        bool fromEnd;
        std::u16string head, number, tail;
    };
    const Case cases[] = {
        {u"A1B22C", false, u"A", u"1", u"B22C"},    {u"A1B22C", true, u"A1B", u"22", u"C"},
        {u"  SW-009  ", true, u"SW-", u"009", u""}, {u"12", false, u"", u"12", u""},
        {u"NoDigit", false, u"NoDigit", u"", u""},  {u"NoDigit", true, u"NoDigit", u"", u""},
        {u"１２", true, u"１２", u"", u""},         {u"", true, u"", u"", u""},
    };
    for (const Case &c : cases) {
        const tools::DigitSplit split = tools::SplitDigitRun(c.text, c.fromEnd);
        EXPECT_EQ(split.head, c.head);
        EXPECT_EQ(split.number, c.number);
        EXPECT_EQ(split.tail, c.tail);
    }
}

struct AdditionCase {
    std::u16string text;
    Radix radix;
    std::int32_t addend;
    bool fromEnd;
    int digitCount;
    std::optional<std::u16string> expected;  // nothing: text left as is
};

TEST(addToNumber, DecimalRule)
{
    const AdditionCase cases[] = {
        {u"SW-009", Radix::Decimal, 1, true, 2, u"SW-010"},
        {u"A1B2", Radix::Decimal, 1, true, 2, u"A1B3"},
        {u"99", Radix::Decimal, 1, true, 2, u"100"},
        {u"A1B2", Radix::Decimal, 1, false, 2, u"A2B2"},
        {u"No.12-3", Radix::Decimal, 1, false, 2, u"No.13-3"},
        {u"010", Radix::Decimal, -1, true, 2, u"009"},
        {u"1000", Radix::Decimal, -1, true, 2, u"0999"},
        {u"  P7  ", Radix::Decimal, 1, true, 2, u"P8"},
        {u"  P  ", Radix::Decimal, 1, true, 2, std::nullopt},
        {u"１２", Radix::Decimal, 1, true, 2, std::nullopt},
        {u"", Radix::Decimal, 1, true, 2, std::nullopt},
        {u"  P7  ", Radix::Decimal, 0, true, 2, std::nullopt},
        // Sign before the zero padding, not inside it.
        {u"003", Radix::Decimal, -5, true, 2, u"-002"},
        {u"X5Y", Radix::Decimal, -15, true, 2, u"X-10Y"},
        // A run beyond 32 bits is left alone rather than read as 0.
        {u"12345678901", Radix::Decimal, 1, true, 2, std::nullopt},
        {u"99999999999", Radix::Decimal, 1, true, 2, std::nullopt},
        {u"00000000002147483647", Radix::Decimal, -1, true, 2, u"00000000002147483646"},
        // 32-bit arithmetic wraps.
        {u"2147483647", Radix::Decimal, 1, true, 2, u"-2147483648"},
    };
    for (const AdditionCase &c : cases) {
        EXPECT_EQ(add(c.text, c.radix, c.addend, c.fromEnd, c.digitCount), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(addToNumber, DigitCountRule)
{
    const AdditionCase cases[] = {
        {u"X0a", Radix::Hexadecimal, 1, true, 2, u"X0B"},
        {u"FF", Radix::Hexadecimal, 1, true, 2, u"100"},
        {u"G1", Radix::Hexadecimal, 1, true, 2, std::nullopt},
        {u"A", Radix::Hexadecimal, 1, true, 2, u"0B"},
        {u"FFFFFFFF", Radix::Hexadecimal, 1, true, 8, u"00000000"},
        {u"00", Radix::Hexadecimal, -1, true, 2, u"FFFFFFFF"},
        {u"x0f", Radix::Hexadecimal, 0, true, 2, std::nullopt},
        // Not trimmed: a trailing blank spoils the candidate.
        {u"0A ", Radix::Hexadecimal, 1, true, 2, std::nullopt},
        {u"R07", Radix::Octal, 1, true, 2, u"R10"},
        {u"R08", Radix::Octal, 1, true, 2, std::nullopt},
        {u"7", Radix::Octal, 1, true, 3, u"010"},
        {u"01", Radix::Octal, -3, true, 2, u"-02"},
        // Blank texts are never changed, in any radix.
        {u"", Radix::Hexadecimal, 1, true, 2, std::nullopt},
        {u"", Radix::Octal, 1, true, 2, std::nullopt},
        {u" \t", Radix::Octal, 1, true, 2, std::nullopt},
    };
    for (const AdditionCase &c : cases) {
        EXPECT_EQ(add(c.text, c.radix, c.addend, c.fromEnd, c.digitCount), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(OctalHelpers, ReadAndWrite)
{
    EXPECT_EQ(tools::OctToInt(u""), 0);
    EXPECT_EQ(tools::OctToInt(u"17"), 15);
    EXPECT_EQ(tools::OctToInt(u"0777"), 511);
    EXPECT_EQ(tools::OctToInt(u"19"), 17);  // 8 and 9 weigh as themselves
    EXPECT_EQ(tools::OctToInt(u"37777777777"), -1);
    EXPECT_EQ(tools::OctToInt(u"7777777777777"), tools::OctToInt(u"77777777777"));  // wraps

    EXPECT_EQ(tools::IntToOct(8, 0), u"10");
    EXPECT_EQ(tools::IntToOct(8, 4), u"0010");
    EXPECT_EQ(tools::IntToOct(0, 3), u"000");
    EXPECT_EQ(tools::IntToOct(0, 0), u"");
    EXPECT_EQ(tools::IntToOct(-9, 3), u"-011");
    EXPECT_EQ(tools::IntToOct(std::numeric_limits<std::int32_t>::min(), 0), u"-20000000000");

    EXPECT_EQ(tools::IntPower(8, 0), 1);
    EXPECT_EQ(tools::IntPower(8, -2), 1);
    EXPECT_EQ(tools::IntPower(8, 3), 512);
    EXPECT_EQ(tools::IntPower(-2, 3), -8);
}

TEST(OctalHelpers, RejectNonDigitsWithTheOffendingCharacter)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"A", u"'A' は整数ではありません"},
        {u"12-", u"'-' は整数ではありません"},
        {u"1 2", u"' ' は整数ではありません"},
        {u"１", u"'１' は整数ではありません"},
    };
    for (const auto &[text, message] : cases) {
        try {
            tools::OctToInt(text);
            ADD_FAILURE() << "no error for " << std::string(text.begin(), text.end());
        } catch (const tools::ToolError &error) {
            EXPECT_EQ(error.text(), message);
        }
    }
}

TEST(NumberText, WritesAndParsesEdgeValues)
{
    EXPECT_EQ(tools::intToDecimal(0, 0), u"0");
    EXPECT_EQ(tools::intToDecimal(-1, 3), u"-001");
    EXPECT_EQ(tools::intToDecimal(std::numeric_limits<std::int32_t>::min(), 0), u"-2147483648");
    EXPECT_EQ(tools::intToHex(255, 1), u"FF");
    EXPECT_EQ(tools::intToHex(0, 3), u"000");
    EXPECT_EQ(tools::intToHex(-2, 2), u"FFFFFFFE");

    EXPECT_EQ(tools::parseDecimal(u"-3"), -3);
    EXPECT_EQ(tools::parseDecimal(u"+7"), 7);
    EXPECT_EQ(tools::parseDecimal(u"2147483647"), 2147483647);
    EXPECT_EQ(tools::parseDecimal(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const char16_t *bad : {u"", u"-", u"abc", u"2147483648", u"1 ", u"１", u"1e3"})
        EXPECT_EQ(tools::parseDecimal(bad), std::nullopt);

    EXPECT_EQ(tools::parseHex(u"0e"), 14);
    EXPECT_EQ(tools::parseHex(u"FFFFFFFF"), -1);
    EXPECT_EQ(tools::parseHex(u"000000010"), 16);
    for (const char16_t *bad : {u"", u"G", u"100000000", u"-1"})
        EXPECT_EQ(tools::parseHex(bad), std::nullopt);
}

}  // namespace
