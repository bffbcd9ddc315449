#include "tools/width.h"

#include "table_definition.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using tools::WidthTable;

std::u16string convert(void (*routine)(std::u16string &), std::u16string text)
{
    routine(text);
    return text;
}

TEST(PairTables, HaveTheDefinedSizesAndIrregularRows)
{
    EXPECT_EQ(tools::pairTable(WidthTable::Digits).size(), 10u);
    EXPECT_EQ(tools::pairTable(WidthTable::Numerals).size(), 14u);
    EXPECT_EQ(tools::pairTable(WidthTable::Latin).size(), 52u);
    EXPECT_EQ(tools::pairTable(WidthTable::Symbols).size(), 33u);
    EXPECT_EQ(tools::pairTable(WidthTable::Katakana).size(), 84u);

    const auto symbols = tools::pairTable(WidthTable::Symbols);
    EXPECT_EQ(symbols[1].full, u"\u201D");
    EXPECT_EQ(symbols[6].full, u"\u2019");
    EXPECT_EQ(symbols[7].full, u"\u3000");
    EXPECT_EQ(symbols[27].full, u"\u2018");
    EXPECT_EQ(symbols[32].full, u"\uFFE5");
    EXPECT_EQ(symbols[32].half, u"\\");
    // Every regular symbol row follows the U+FF01 offset rule.
    for (const auto &pair : symbols) {
        ASSERT_EQ(pair.half.size(), 1u);
        ASSERT_EQ(pair.full.size(), 1u);
        const char16_t half = pair.half[0];
        if (half != u'"' && half != u'\'' && half != u'`' && half != u'\\' && half != u' ') {
            EXPECT_EQ(pair.full[0], half - 0x21 + 0xFF01) << int(half);
        }
    }
    // Voiced letters must precede their base letters for the definition to work.
    const auto kana = tools::pairTable(WidthTable::Katakana);
    EXPECT_EQ(kana[0].half, u"ｳﾞ");
    EXPECT_EQ(kana[21].full, u"パ");
    EXPECT_EQ(kana[36].half, u"\uFF70");
    EXPECT_EQ(kana[83].full, u"」");
}

struct Case {
    void (*routine)(std::u16string &);
    std::u16string input;
    std::u16string expected;
};

TEST(TableRoutines, ConvertTheExamples)
{
    const Case cases[] = {
        {tools::HanKanaToZen, u"ｶﾞｯｺｳ", u"ガッコウ"},
        {tools::ZenKanaToHan, u"ガッコウ", u"ｶﾞｯｺｳ"},
        {tools::HanKanaToZen, u"ﾊﾟﾋﾞｳﾞ｢ｰ｣", u"パビヴ「ー」"},
        {tools::ZenKanaToHan, u"ヴパ", u"ｳﾞﾊﾟ"},
        // Lone sound marks, the middle dot and letters outside the table stay.
        {tools::HanKanaToZen, u"ﾞ･ﾟ｡､", u"ﾞ･ﾟ｡､"},
        {tools::ZenKanaToHan, u"・゛ヰヱヮヵヶ。、", u"・゛ヰヱヮヵヶ。、"},
        {tools::HanSymbolToZen, u"a b\\c", u"a\u3000b￥c"},
        {tools::ZenSymbolToHan, u"￥\u3000”’‘", u"\\ \"'`"},
        {tools::HanSymbolToZen, u"\"'`", u"”’‘"},
        {tools::HanNumToZen, u"-1.5,2", u"－１．５，２"},
        {tools::HanDigitToZen, u"-1.5,2", u"-１.５,２"},
        {tools::ZenNumToHan, u"－１．５，２", u"-1.5,2"},
        {tools::ZenDigitToHan, u"－１．５，２", u"－1．5，2"},
        {tools::HanAlphaToZen, u"Ab", u"Ａｂ"},
        {tools::ZenAlphaToHan, u"Ａｂ１", u"Ab１"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(convert(c.routine, c.input), c.expected);
}

TEST(TableRoutines, LeaveEmptyTextEmpty)
{
    for (const auto &routine : tools::reference::kRoutines)
        EXPECT_EQ(convert(routine.convert, u""), u"") << routine.name;
}

// Random text over both columns of every table, the sound marks alone,
// and other text (hiragana, kanji, a surrogate pair, CR) so that the
// routines also have to pass foreign units through.
std::vector<std::u16string> alphabet()
{
    std::vector<std::u16string> pieces = {u"ﾞ", u"ﾟ", u"゛", u"あ", u"図", u"\U0001F600", u"\r", u"・", u"ヶ", u"x"};
    for (WidthTable table :
         {WidthTable::Digits, WidthTable::Numerals, WidthTable::Latin, WidthTable::Symbols, WidthTable::Katakana}) {
        for (const auto &pair : tools::pairTable(table)) {
            pieces.emplace_back(pair.full);
            pieces.emplace_back(pair.half);
        }
    }
    return pieces;
}

TEST(TableRoutines, SinglePassEqualsPassByPassDefinition)
{
    const std::vector<std::u16string> pieces = alphabet();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int round = 0; round < 4000; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        for (const auto &routine : tools::reference::kRoutines) {
            std::u16string expected = text;
            tools::reference::passByPass(expected, routine.table, routine.toFull);
            ASSERT_EQ(convert(routine.convert, text), expected) << routine.name << " round " << round;
        }
    }
}

TEST(PortableWidthMapping, ConvertsToFullWidth)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"A1 ~!\\\"'`", u"Ａ１\u3000～！＼＂＇｀"},
        {u"ｶﾞｷﾞﾊﾟﾎﾟｳﾞﾜﾞｦﾞ", u"ガギパポヴヷヺ"},
        {u"ｱｲｳｴｵｧｯｬｮｰﾝｦﾜ", u"アイウエオァッャョーンヲワ"},
        {u"ﾂﾃﾄﾂﾞﾃﾞﾄﾞﾊﾋﾌﾍﾎ", u"ツテトヅデドハヒフヘホ"},
        // Lone marks become the spacing marks, not the combining ones.
        {u"ﾞﾟｱﾞ", u"゛゜ア゛"},
        {u"｡｢｣､･", u"。「」、・"},
        {u"¢£¬¯¦¥₩⦅⦆", u"￠￡￢￣￤￥￦｟｠"},
        {u"\uFFE8\uFFE9\uFFEC\uFFED\uFFEE", u"│←↓■○"},
        {u"\uFFA0\uFFA1\uFFBE\uFFC2\uFFDC", u"\u3164\u3131\u314E\u314F\u3163"},
        {u"あ漢字ヶ", u"あ漢字ヶ"},
        {u"", u""},
    };
    for (const auto &[half, full] : cases)
        EXPECT_EQ(convert(tools::portableToZen, half), full);
}

TEST(PortableWidthMapping, ConvertsToHalfWidth)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Ａ１\u3000～！＼＂＇｀", u"A1 ~!\\\"'`"},
        {u"ガギパポヴヷヺ", u"ｶﾞｷﾞﾊﾟﾎﾟｳﾞﾜﾞｦﾞ"},
        {u"゛゜\u3099\u309A", u"ﾞﾟﾞﾟ"},
        {u"。「」、・ー", u"｡｢｣､･ｰ"},
        {u"￠￥￦│←■", u"¢¥₩\uFFE8\uFFE9\uFFED"},
        // No half-width form: left alone.
        {u"ヰヱヮヵヶあ”’", u"ヰヱヮヵヶあ”’"},
    };
    for (const auto &[full, half] : cases)
        EXPECT_EQ(convert(tools::portableToHan, full), half);
}

TEST(PortableWidthMapping, RoundTripsEveryHalfWidthForm)
{
    // Every unit of the Halfwidth and Fullwidth Forms block that one
    // direction changes comes back unchanged through the other.
    for (char16_t unit = 0xFF01; unit <= 0xFFEE; ++unit) {
        const std::u16string original(1, unit);
        for (const bool toFull : {true, false}) {
            std::u16string text = original;
            (toFull ? tools::portableToZen : tools::portableToHan)(text);
            if (text == original)
                continue;
            (toFull ? tools::portableToHan : tools::portableToZen)(text);
            EXPECT_EQ(text, original) << std::hex << int(unit);
        }
    }
}

#ifndef _WIN32
TEST(PortableWidthMapping, IsWhatAllToZenAndAllToHanUseHere)
{
    EXPECT_EQ(convert(tools::AllToZen, u"ｶﾞ1"), u"ガ１");
    EXPECT_EQ(convert(tools::AllToHan, u"ガ１"), u"ｶﾞ1");
}
#endif

}  // namespace
