#include "searchfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::u16string num(int n)
{
    return cad::fromUtf8(std::to_string(n));
}

TEST(SearchPattern, PatternAndItsLabel)
{
    EXPECT_EQ(SearchPattern(u"AB", false), u"*AB*");
    EXPECT_EQ(PatternLabel(SearchPattern(u"AB", false)), u"[*AB*] (部分一致)");
    EXPECT_EQ(PatternLabel(SearchPattern(u"AB", true)), u"[AB*] (部分一致)");
    EXPECT_EQ(SearchPattern(u"", true), u"*");
    EXPECT_EQ(SearchPattern(u"", false), u"*");
    // Taken as typed: spaces stay.
    EXPECT_EQ(SearchPattern(u" A ", false), u"* A *");
}

class Search : public SearchHost, public ::testing::Test {};

TEST_F(Search, FindsTextsContainingThePatternOrBeginningWithIt)
{
    text(u"AB-1");
    text(u"XAB");
    text(u"A-B");
    text(u"B");
    std::vector<Talvo2> list;
    EXPECT_EQ(search(u"AB", false, list), SearchEnd::Completed);
    EXPECT_EQ(label7, u"[*AB*] (部分一致)");
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"AB-1", u"XAB"}));
    EXPECT_TRUE(runFlag);  // a completed search leaves it set

    EXPECT_EQ(search(u"AB", true, list), SearchEnd::Completed);
    EXPECT_EQ(label7, u"[AB*] (部分一致)");
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"AB-1"}));
    EXPECT_TRUE(d.selectionSets().sets().empty());
}

TEST_F(Search, EmptyFieldListsEveryTextSortedByCodeUnits)
{
    auto b = text(u"b", 1, 2);
    text(u"A");
    text(u"a");
    text(u"AB");
    std::vector<Talvo2> list;
    ASSERT_EQ(search(u"", false, list), SearchEnd::Completed);
    EXPECT_EQ(label7, u"[*] (部分一致)");
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"A", u"AB", u"a", u"b"}));
    const Talvo2 &last = list.back();
    EXPECT_EQ(last.index, 0);  // selection position, kept through the sort
    EXPECT_EQ(last.sHnd, d.entity(b)->handle);
    EXPECT_EQ(cad::toPoint(last.insPt), (cad::Point{1, 2, 0}));
    EXPECT_EQ(last.lay, u"0");
    EXPECT_FALSE(last.locked);
    // The CAD was activated with Escape and brought back to the front after.
    EXPECT_EQ(win.escapes, 2);
}

TEST_F(Search, ProgressShowsTheCountThenAboutAHundredStepsThenClears)
{
    for (int i = 0; i < 250; ++i)
        text(u"T" + num(i % 7));
    std::vector<Talvo2> list;
    ASSERT_EQ(search(u"T", false, list), SearchEnd::Completed);
    ASSERT_GE(labels.size(), 4u);
    EXPECT_EQ(labels[0], u"TEXT = 250");
    EXPECT_EQ(labels[1], u"1 / 250");
    EXPECT_EQ(labels[2], u"3 / 250");
    EXPECT_EQ(labels[3], u"5 / 250");
    auto fetchSteps = std::count_if(labels.begin(), labels.end(), [](const std::u16string &s) {
        return s.size() > 6 && s.substr(s.size() - 6) == u" / 250";
    });
    EXPECT_LE(fetchSteps, 125 + 101);  // fetch every 2nd item, the sort about 100 times
    EXPECT_EQ(labels.back(), u"");
    EXPECT_EQ(list.size(), 250u);
}

TEST_F(Search, NoMatchLeavesAnEmptyList)
{
    text(u"abc");
    std::vector<Talvo2> list(3);
    ASSERT_EQ(search(u"ZZZ", false, list), SearchEnd::Completed);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(labels.front(), u"TEXT = 0");
    EXPECT_EQ(labels.back(), u"");
}

TEST_F(Search, LockedMarkingTakesTheExactLayerName)
{
    d.addLayer(u"LOCK", 7, true);
    d.addLayer(u"LOCK2");
    d.addLayer(u"XLOCK");
    text(u"1", 0, 0, u"LOCK");
    text(u"2", 0, 0, u"LOCK2");
    text(u"3", 0, 0, u"XLOCK");
    std::vector<Talvo2> list;
    ASSERT_EQ(search(u"", false, list), SearchEnd::Completed);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(list[0].locked);
    EXPECT_FALSE(list[1].locked);
    EXPECT_FALSE(list[2].locked);
}

TEST_F(Search, AbortDuringTheFetchEmptiesTheListAndCleansUp)
{
    for (int i = 0; i < 40; ++i)
        text(u"X");
    std::vector<Talvo2> list(5);
    int pumps = 0;
    onPump = [&] {
        if (++pumps == 10)
            runFlag = false;  // what the abort click does
    };
    EXPECT_EQ(search(u"", false, list), SearchEnd::Aborted);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(pumps, 10);
    EXPECT_TRUE(d.selectionSets().sets().empty());
}

TEST_F(Search, NoCadEmptiesTheListWithoutCalls)
{
    text(u"X");
    host.stop();
    std::vector<Talvo2> list(2);
    EXPECT_EQ(search(u"", false, list), SearchEnd::NoCad);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(labels.empty());
}

TEST_F(Search, CadErrorMidSearchEmptiesTheListAndDeletesTheSet)
{
    for (int i = 0; i < 20; ++i)
        text(u"X");
    std::vector<Talvo2> list(3);
    int pumps = 0;
    onPump = [&] {
        if (++pumps == 5)
            host.faults().failMember(u"TextString");
    };
    EXPECT_THROW(search(u"", false, list), cad::Error);
    EXPECT_TRUE(list.empty());
    host.faults().clear();
    EXPECT_TRUE(d.selectionSets().sets().empty());
}

TEST_F(Search, FailingSelectCountsAsNoMatch)
{
    text(u"X");
    host.faults().failMember(u"Select");
    std::vector<Talvo2> list;
    EXPECT_EQ(search(u"", false, list), SearchEnd::Completed);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(d.selectionSets().sets().empty());
}

TEST_F(Search, WildcardCharactersFindWhatTheCadFinds)
{
    const std::vector<std::u16string> texts
        = {u"AB", u"A1", u"[AB]", u"A#B", u"A@", u"~A", u"A,B", u"B,C", u"a-b", u"A`B", u"x", u"A*B", u""};
    for (const auto &t : texts)
        text(t);
    for (std::u16string field : {u"[AB]", u"A#", u"A@", u"~A", u"A,B", u"[A", u"`*", u"A`", u"#", u".", u"?"}) {
        for (bool head : {false, true}) {
            std::vector<Talvo2> list;
            ASSERT_EQ(search(field, head, list), SearchEnd::Completed);
            std::vector<std::u16string> expected;
            for (const auto &t : texts)
                if (cadhost::wildcardMatch(SearchPattern(field, head), t))
                    expected.push_back(t);
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(textsOf(list), expected) << cad::toUtf8(field) << (head ? " head" : "");
        }
    }
}

TEST_F(Search, LongPatternIsSentWhole)
{
    const std::u16string longText(1000, u'Q');
    text(longText + u"Z");
    text(longText.substr(1));
    std::vector<Talvo2> list;
    ASSERT_EQ(search(longText, true, list), SearchEnd::Completed);
    EXPECT_EQ(label7, u"[" + longText + u"*] (部分一致)");
    EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{longText + u"Z"}));
}

}  // namespace
