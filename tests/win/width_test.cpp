// Our portable width mapping (AllToZen / AllToHan off Windows) against
// the platform's LCMapStringW, one BMP code point at a time.
#include "width_differences.h"

#include "tools/width.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <deque>

namespace {

std::u16string platformMap(const std::u16string &s, DWORD flag)
{
    const auto *src = reinterpret_cast<const wchar_t *>(s.data());
    int n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, src, int(s.size()), nullptr, 0);
    if (n <= 0)
        return s;
    std::u16string out(std::size_t(n), u'\0');
    n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flag, src, int(s.size()), reinterpret_cast<wchar_t *>(out.data()), n);
    out.resize(n > 0 ? std::size_t(n) : 0);
    return out;
}

std::string hex(const std::u16string &s)
{
    std::string out;
    char buf[8];
    for (char16_t c : s) {
        std::snprintf(buf, sizeof buf, "%s%04X", out.empty() ? "" : " ", unsigned(c));
        out += buf;
    }
    return out;
}

// Every input where the two disagree: one code point each, plus the
// half-width katakana followed by a sound mark (the two-unit entries).
std::map<std::u16string, std::pair<std::u16string, std::u16string>> differences(bool toFull)
{
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> out;
    auto check = [&](const std::u16string &in) {
        std::u16string ours = in;
        if (toFull)
            tools::portableToZen(ours);
        else
            tools::portableToHan(ours);
        std::u16string theirs = platformMap(in, toFull ? LCMAP_FULLWIDTH : LCMAP_HALFWIDTH);
        if (ours != theirs)
            out[in] = {ours, theirs};
    };
    for (char32_t c = 1; c <= 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            check(std::u16string(1, char16_t(c)));
    for (char16_t base = 0xFF66; base <= 0xFF9D; ++base) {
        check(std::u16string{base, u'\xFF9E'});
        check(std::u16string{base, u'\xFF9F'});
    }
    return out;
}

// The listed differences, with the sound-mark rows spelled out.
std::map<std::u16string, wintest::WidthDifference> expectedDifferences(bool toFull)
{
    std::map<std::u16string, wintest::WidthDifference> out;
    if (!toFull) {
        for (const auto &d : wintest::kHalfWidthDifferences)
            out[std::u16string(d.input)] = d;
        return out;
    }
    for (const auto &d : wintest::kFullWidthDifferences)
        out[std::u16string(d.input)] = d;
    // Kept alive for the string views below.
    static std::deque<std::u16string> texts;  // a deque never moves its elements
    auto add = [&](char16_t base, char16_t half, char16_t spacing, char16_t combining) {
        std::u16string letter(1, base);
        tools::portableToZen(letter);
        const auto &in = texts.emplace_back(std::u16string{base, half});
        const auto &ours = texts.emplace_back(letter + spacing);
        const auto &platform = texts.emplace_back(letter + combining);
        out[in] = {in, ours, platform, "sound mark after a letter without that form"};
    };
    for (char16_t c : wintest::kNoVoicedLetter)
        add(c, u'\xFF9E', u'\x309B', u'\x3099');
    for (char16_t c : wintest::kNoSemiVoicedLetter)
        add(c, u'\xFF9F', u'\x309C', u'\x309A');
    return out;
}

void compareWithFixture(bool toFull)
{
    auto found = differences(toFull);
    std::map<std::u16string, const wintest::WidthDifference *> expected;
    auto listed = expectedDifferences(toFull);
    for (const auto &[in, d] : listed)
        expected[in] = &d;
    for (const auto &[in, pair] : found) {
        auto it = expected.find(in);
        if (it == expected.end()) {
            ADD_FAILURE() << "new difference for " << hex(in) << ": ours " << hex(pair.first) << ", platform "
                          << hex(pair.second);
            continue;
        }
        EXPECT_EQ(hex(pair.first), hex(std::u16string(it->second->ours))) << hex(in);
        EXPECT_EQ(hex(pair.second), hex(std::u16string(it->second->platform))) << hex(in);
        expected.erase(it);
    }
    for (const auto &[in, d] : expected)
        ADD_FAILURE() << "listed difference no longer seen: " << hex(in);
}

TEST(WidthMapping, ToFullWidthAgreesWithLCMapStringW)
{
    compareWithFixture(true);
}

TEST(WidthMapping, ToHalfWidthAgreesWithLCMapStringW)
{
    compareWithFixture(false);
}

TEST(WidthMapping, AllToZenAndAllToHanUseThePlatform)
{
    std::u16string s = u"ｶﾞｷﾞ ABC 123";
    std::u16string expected = platformMap(s, LCMAP_FULLWIDTH);
    tools::AllToZen(s);
    EXPECT_EQ(s, expected);
    tools::AllToHan(s);
    EXPECT_EQ(s, platformMap(expected, LCMAP_HALFWIDTH));
}

}  // namespace
