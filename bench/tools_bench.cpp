// Width conversion over a large drawing's worth of text lines. Each table
// routine is also timed in its literal pass-by-pass form on the same lines;
// the counter `speedup` is that time divided by ours.

#include "tools/width.h"

#include "../tests/tools/table_definition.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

// Lines as they appear on Japanese plant and building drawings: tags,
// half-width kana from old CAD data, full-width Latin and digits, symbols.
const std::vector<std::u16string> &drawingLines()
{
    static const std::vector<std::u16string> lines = [] {
        const std::u16string pieces[] = {
            u"配管ｻﾎﾟｰﾄ",  u"SW-009",
            u"ﾊﾞﾙﾌﾞ",      u"No.12-3",
            u"電動機",     u"M-101",
            u"3.7kW",      u"ケーブルラック",
            u"W=300",      u"Φ１００",
            u"ＰＶＣ管",   u"盤名称：ＭＣＣ－１",
            u"(ﾎﾟﾝﾌﾟ)",    u"P-201A",
            u"図番",       u"DWG-2024-0815",
            u"Rev.B",      u"ｺﾝｾﾝﾄ",
            u"照明器具",   u"ダクト",
            u"ｶﾞｽ配管",    u"ＧＬ＋１５００",
            u"FL+1,200",   u"[注記]",
            u"ｽﾘｰﾌﾞ",      u"￥",
            u"“防火区画”", u"ﾀﾞﾝﾊﾟｰ",
            u"ヴァルブ",   u"（既設）",
            u"→",          u"ﾓｰﾀｰ 5.5kW",
            u"＠２００",   u"50A",
            u"ｻﾆﾀﾘｰ",      u"送風機",
            u"ＦＡＮ－３",
        };
        std::mt19937 random(4711);
        std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
        std::uniform_int_distribution<int> count(1, 4);
        std::vector<std::u16string> result;
        result.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            std::u16string line;
            for (int n = count(random); n > 0; --n) {
                if (!line.empty())
                    line += (random() & 1) ? u" " : u"\u3000";
                line += pieces[pick(random)];
            }
            result.push_back(std::move(line));
        }
        return result;
    }();
    return lines;
}

// Seconds of this thread's CPU time where available, so that the ratio
// does not depend on what else the machine runs meanwhile.
double seconds()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#else
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

// Converts every line in place; returns the seconds spent converting.
template <typename Convert>
double convertAll(std::vector<std::u16string> &lines, Convert convert)
{
    const double start = seconds();
    for (std::u16string &line : lines)
        convert(line);
    return seconds() - start;
}

void tableRoutine(benchmark::State &state, const tools::reference::Routine &routine)
{
    const auto &lines = drawingLines();
    // Best of three runs of the definition.
    std::vector<std::u16string> expected;
    double definition = 0;
    for (int run = 0; run < 3; ++run) {
        expected = lines;
        const double time = convertAll(expected, [&routine](std::u16string &line) {
            tools::reference::passByPass(line, routine.table, routine.toFull);
        });
        definition = run == 0 ? time : std::min(definition, time);
    }

    std::vector<std::u16string> actual;
    double ours = 0;
    for (auto _ : state) {
        state.PauseTiming();
        actual = lines;
        state.ResumeTiming();
        ours += convertAll(actual, routine.convert);
        benchmark::DoNotOptimize(actual.data());
    }
    if (actual != expected)
        state.SkipWithError("output differs from the pass-by-pass definition");
    state.counters["speedup"] = definition / (ours / static_cast<double>(state.iterations()));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void wholeString(benchmark::State &state, void (*convert)(std::u16string &))
{
    const auto &lines = drawingLines();
    std::vector<std::u16string> actual;
    for (auto _ : state) {
        state.PauseTiming();
        actual = lines;
        state.ResumeTiming();
        convertAll(actual, convert);
        benchmark::DoNotOptimize(actual.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

const int registered = [] {
    for (const auto &routine : tools::reference::kRoutines) {
        benchmark::RegisterBenchmark(routine.name, tableRoutine, routine)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("AllToZen", wholeString, tools::AllToZen)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("AllToHan", wholeString, tools::AllToHan)->Unit(benchmark::kMillisecond);
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
