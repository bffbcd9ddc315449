#include "tools/serial.h"

#include "tools/tool_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tools::Radix;
using tools::SerialFields;
using tools::SerialUse;

std::vector<std::u16string> generate(const SerialFields &fields)
{
    const tools::SerialRun run = tools::readSerialFields(fields, SerialUse::Generation);
    std::vector<std::u16string> strings;
    for (std::int32_t k = 0; k < run.count; ++k)
        strings.push_back(tools::serialString(run, k));
    return strings;
}

SerialFields fields(std::u16string prefix, std::u16string start, std::u16string suffix, std::u16string step,
                    std::u16string count, Radix radix = Radix::Decimal)
{
    return SerialFields{std::move(prefix), std::move(start), std::move(suffix),
                        std::move(step),   std::move(count), radix};
}

TEST(SerialNumbers, GenerateTheRun)
{
    struct Case {
        SerialFields fields;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {fields(u"sw-", u"01", u"a", u"1", u"3"), {u"SW-01A", u"SW-02A", u"SW-03A"}},
        {fields(u"", u"8", u"", u"1", u"3"), {u"8", u"9", u"10"}},
        {fields(u"", u"0e", u"", u"1", u"3", Radix::Hexadecimal), {u"0E", u"0F", u"10"}},
        {fields(u"", u"06", u"", u"1", u"3", Radix::Octal), {u"06", u"07", u"10"}},
        {fields(u"", u"10", u"", u"-2", u"3"), {u"10", u"08", u"06"}},
        {fields(u"abc", u"", u"", u"1", u"3"), {u"ABC", u"ABC", u"ABC"}},
        // Only ASCII letters are upper-cased.
        {fields(u"ａかx", u"1", u"ß", u"1", u"1"), {u"ａかX1ß"}},
        // Below zero: sign first, then the padded digits; hexadecimal wraps.
        {fields(u"", u"01", u"", u"-1", u"3"), {u"01", u"00", u"-01"}},
        {fields(u"", u"1", u"", u"-1", u"3", Radix::Octal), {u"1", u"0", u"-1"}},
        {fields(u"", u"01", u"", u"-1", u"3", Radix::Hexadecimal), {u"01", u"00", u"FFFFFFFF"}},
        // Defaults for text that is not a number: start 1, step 1, count 1.
        {fields(u"", u"xx", u"", u"?", u"", Radix::Decimal), {u"01"}},
        {fields(u"", u"zz", u"", u"", u"2", Radix::Hexadecimal), {u"01", u"02"}},
        {fields(u"", u"5", u"", u"1", u"0"), {}},
        {fields(u"", u"5", u"", u"1", u"-4"), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(generate(c.fields), c.expected) << std::string(c.fields.start.begin(), c.fields.start.end());

    std::vector<std::u16string> defaults = generate(SerialFields{});
    ASSERT_EQ(defaults.size(), 16u);
    EXPECT_EQ(defaults.front(), u"00");
    EXPECT_EQ(defaults.back(), u"15");
    const std::vector<std::u16string> wide = generate(fields(u"", u"001", u"", u"1", u"10"));
    EXPECT_EQ(wide.back(), u"010");
}

TEST(SerialNumbers, Preview)
{
    struct Case {
        SerialFields fields;
        std::u16string expected;
    };
    const Case cases[] = {
        {SerialFields{}, u"[ 00 ] ～ [ 15 ]"},
        {fields(u"abc", u"", u"", u"1", u"3"), u"[ ABC ] x 3"},
        {fields(u"abc", u"", u"d", u"1", u""), u"[ ABCD ] x 0"},
        {fields(u"p", u"0e", u"", u"1", u"3", Radix::Hexadecimal), u"[ P0E ] ～ [ P10 ]"},
        // The preview's own defaults: start 0; count 0 in decimal, 1 otherwise.
        {fields(u"", u"x", u"", u"1", u""), u"[ X ] ～ [ -1 ]"},
        {fields(u"", u"x", u"", u"1", u"", Radix::Hexadecimal), u"[ X ] ～ [ 0 ]"},
        {fields(u"", u"7", u"", u"1", u"", Radix::Octal), u"[ 7 ] ～ [ 7 ]"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tools::serialPreview(c.fields), c.expected);
}

TEST(SerialNumbers, ReportConversionErrors)
{
    struct Case {
        SerialFields fields;
        bool previewFails;
        std::u16string message;
    };
    const Case cases[] = {
        {fields(u"", u"A", u"", u"1", u"3", Radix::Octal), true, u"'A' は整数ではありません"},
        {fields(u"", u"1x", u"", u"1", u"3", Radix::Octal), true, u"'x' は整数ではありません"},
        // No start number: the count must be a whole number, but only to generate.
        {fields(u"a", u"", u"", u"1", u""), false, u"'' は整数ではありません"},
        {fields(u"a", u"", u"", u"1", u"3x"), false, u"'3x' は整数ではありません"},
        // A mistyped count would freeze the program: refused, with or without a start.
        {fields(u"", u"1", u"", u"1", u"2000000000"), false,
         u"作成数 2000000000 は多すぎます。100000 以下にしてください"},
        {fields(u"a", u"", u"", u"1", u"100001"), false, u"作成数 100001 は多すぎます。100000 以下にしてください"},
    };
    for (const Case &c : cases) {
        try {
            tools::readSerialFields(c.fields, SerialUse::Generation);
            ADD_FAILURE() << "generation accepted the fields";
        } catch (const tools::ToolError &error) {
            EXPECT_EQ(error.text(), c.message);
        }
        if (c.previewFails)
            EXPECT_THROW(tools::serialPreview(c.fields), tools::ToolError);
        else
            EXPECT_NO_THROW(tools::serialPreview(c.fields));
    }
    EXPECT_EQ(generate(fields(u"", u"", u"", u"1", u"100000")).size(), 100000u);
    EXPECT_EQ(tools::ToolError(u"作成数").what(), std::string("作成数"));
    // 8 and 9 pass in octal and weigh as in OctToInt.
    EXPECT_EQ(generate(fields(u"", u"9", u"", u"1", u"1", Radix::Octal)), std::vector<std::u16string>{u"11"});
}

}  // namespace
