#include "tools/pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Time = std::chrono::steady_clock::time_point;

// A clock that advances by a fixed step each time it is read.
struct SteppingClock {
    Time now{};
    std::chrono::milliseconds step;
    Time operator()()
    {
        now += step;
        return now;
    }
};

TEST(MessagePacer, PumpsAtMostOncePerIntervalAndAfterTheLastItem)
{
    int pumped = 0;
    Time t{};
    tools::MessagePacer pacer([&] { ++pumped; }, [&] { return t; });
    for (int i = 0; i < 100; ++i) {
        t += 1ms;  // 100 items of 1 ms each
        pacer.afterItem();
    }
    pacer.finish();
    EXPECT_EQ(pumped, 100 / 30 + 1);

    // Nothing left since the last pump: finish stays quiet.
    tools::MessagePacer slow([&] { ++pumped; }, SteppingClock{{}, 40ms});
    pumped = 0;
    EXPECT_TRUE(slow.afterItem());
    slow.finish();
    EXPECT_EQ(pumped, 1);
}

TEST(convertLines, StopsAtThePumpThatClearedTheFlag)
{
    std::vector<std::u16string> lines(10, u"a");
    bool running = true;
    int pumps = 0;
    // Every read of the clock moves 10 ms on: the pacer pumps on every
    // third item; the second pump is where the user pressed the abort.
    tools::MessagePacer pacer(
        [&] {
            if (++pumps == 2)
                running = false;
        },
        SteppingClock{{}, 10ms});
    const std::size_t visited = tools::convertLines(
        lines,
        [](std::u16string &s) {
            s[0] = u'B';
            return true;
        },
        pacer, running);
    ASSERT_LT(visited, lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], i < visited ? u"B" : u"a") << i;
    EXPECT_EQ(pumps, 2);
}

TEST(convertLines, LinesPassedOverAreNotPolled)
{
    std::vector<std::u16string> lines{u"", u"x", u""};
    bool running = false;  // already aborted: only a changed line stops it
    tools::MessagePacer pacer(nullptr);
    const std::size_t visited = tools::convertLines(
        lines, [](std::u16string &s) { return !s.empty(); }, pacer, running);
    EXPECT_EQ(visited, 2u);
    EXPECT_EQ(pacer.pumps(), 1);  // the finish after the stop
}

}  // namespace
