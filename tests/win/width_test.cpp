// Our portable width mapping (AllToZen / AllToHan off Windows) against
// the platform's LCMapStringW, one BMP code point at a time.
#include "width_differences.h"

#include "tools/width.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

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
            tools::PortableToZen(ours);
        else
            tools::PortableToHan(ours);
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

void compareWithFixture(bool toFull, std::span<const wintest::WidthDifference> accepted)
{
    auto found = differences(toFull);
    std::map<std::u16string, const wintest::WidthDifference *> expected;
    for (const auto &d : accepted)
        expected[std::u16string(d.input)] = &d;
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
    compareWithFixture(true, wintest::kFullWidthDifferences);
}

TEST(WidthMapping, ToHalfWidthAgreesWithLCMapStringW)
{
    compareWithFixture(false, wintest::kHalfWidthDifferences);
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

} // namespace
