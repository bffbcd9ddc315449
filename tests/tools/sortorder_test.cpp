#include "tools/sortorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Rec {
    int key;
    int id;  // input position: tells equal keys apart
    bool operator==(const Rec &) const = default;
};

bool keyLess(const Rec &a, const Rec &b)
{
    return a.key < b.key;
}

std::vector<Rec> records(const std::vector<int> &keys)
{
    std::vector<Rec> out;
    for (int i = 0; i < int(keys.size()); ++i)
        out.push_back({keys[std::size_t(i)], i});
    return out;
}

std::vector<Rec> quadratic(std::vector<Rec> v)
{
    tools::exchangeSortQuadratic(v, keyLess);
    return v;
}

std::vector<Rec> fast(std::vector<Rec> v)
{
    tools::exchangeSort(v, keyLess);
    return v;
}

TEST(exchangeSortOrderOf, MatchesTheExchangeSortOnRandomInputsWithManyDuplicates)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 4000; ++round) {
        const int n = std::uniform_int_distribution<int>(0, round < 3000 ? 14 : 300)(rng);
        const int distinct = std::uniform_int_distribution<int>(1, round % 3 == 0 ? 3 : 40)(rng);
        std::vector<int> keys(std::size_t(n), 0);
        for (int &k : keys)
            k = std::uniform_int_distribution<int>(0, distinct - 1)(rng);
        auto in = records(keys);
        ASSERT_EQ(fast(in), quadratic(in)) << "round " << round << ", n " << n;
    }
}

TEST(exchangeSortOrderOf, MatchesOnShapedInputs)
{
    std::vector<std::vector<int>> shapes;
    // One key with long runs of smaller keys between its records: the
    // rotations far exceed the queue's length.
    std::vector<int> interleaved;
    for (int i = 0; i < 60; ++i) {
        interleaved.push_back(9);
        for (int j = 0; j < i % 7; ++j)
            interleaved.push_back(j % 3);
    }
    shapes.push_back(interleaved);
    std::vector<int> descending, allEqual, sawtooth;
    for (int i = 0; i < 200; ++i) {
        descending.push_back(100 - i / 3);
        allEqual.push_back(5);
        sawtooth.push_back(i % 5);
    }
    shapes.push_back(descending);
    shapes.push_back(allEqual);
    shapes.push_back(sawtooth);
    shapes.push_back({});
    shapes.push_back({1});
    for (const auto &keys : shapes)
        EXPECT_EQ(fast(records(keys)), quadratic(records(keys))) << keys.size() << " keys";
}

TEST(exchangeSortOrderOf, EqualKeysLeaveSelectionOrderAsTheExchangeSortDoes)
{
    // A smaller key after two equal ones swaps the first of them to the back.
    std::vector<Rec> v = records({7, 7, 1});
    tools::exchangeSort(v, keyLess);
    EXPECT_EQ(v, (std::vector<Rec>{{1, 2}, {7, 1}, {7, 0}}));
}

TEST(exchangeSortOrderOf, StringsCompareByUtf16CodeUnits)
{
    std::vector<std::u16string> v = {u"b", u"A", u"a", u"AB", u"\uFF21", u"\U0001F600", u""};
    tools::exchangeSort(v, [](const std::u16string &a, const std::u16string &b) { return a < b; });
    // A surrogate pair (D83D) sorts before a full-width letter (FF21).
    EXPECT_EQ(v, (std::vector<std::u16string>{u"", u"A", u"AB", u"a", u"b", u"\U0001F600", u"\uFF21"}));
}

TEST(exchangeSortOrderOf, ProgressReachesTheEndInAboutAHundredSteps)
{
    std::vector<int> keys;
    for (int i = 0; i < 25'000; ++i)
        keys.push_back(i % 97);
    std::vector<std::size_t> seen;
    auto order = tools::exchangeSortOrderOf(records(keys), keyLess, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, keys.size());
        seen.push_back(done);
    });
    EXPECT_EQ(order.size(), keys.size());
    ASSERT_FALSE(seen.empty());
    EXPECT_LE(seen.size(), 101u);
    EXPECT_EQ(seen.back(), keys.size());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

}  // namespace
