// The text search on the drawing host: 100,000 TEXTs with many duplicate
// strings searched and sorted, beside the exchange sort itself at 20,000
// (quadratic; it gives the order the fast sort must reproduce).

#include "search/search.h"

#include "cad/connection.h"
#include "cadhost/host.h"
#include "tools/sortorder.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>

namespace {

std::u16string number(int i)
{
    return cad::fromUtf8(std::to_string(i));
}

// Strings drawn from 500 values: about 200 texts per string.
struct Drawing {
    cadhost::Host host;
    cad::Object doc;

    explicit Drawing(int texts)
    {
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> pick(0, 499);
        auto &d = host.drawing();
        for (int i = 0; i < texts; ++i)
            d.addText({.text = u"W-" + number(pick(rng)), .insertionPoint = {double(i), 0, 0}});
        doc = host.application().get(u"ActiveDocument").toObject();
    }
};

std::vector<Talvo2> fetched(Drawing &w)
{
    bool runFlag = true;
    return FetchMatchingTexts(
               w.doc, u"*", {}, [] {}, runFlag)
        .records;
}

bool lessText(const Talvo2 &a, const Talvo2 &b)
{
    return a.text < b.text;
}

bool sameOrder(const std::vector<Talvo2> &a, const std::vector<Talvo2> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].sHnd != b[i].sHnd)
            return false;
    return true;
}

void BM_SearchAndSort100k(benchmark::State &state)
{
    Drawing w(100'000);
    std::size_t found = 0;
    for (auto _ : state) {
        bool runFlag = true;
        SearchFetch f = FetchMatchingTexts(
            w.doc, u"*W*", {}, [] {}, runFlag);
        SortSearchResults(f.records, {}, [] {});
        MarkLocked(f.records, f.lockedLayers);
        found = f.records.size();
        benchmark::DoNotOptimize(f.records.data());
    }
    state.counters["texts"] = double(found);
}
BENCHMARK(BM_SearchAndSort100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Sort100k(benchmark::State &state)
{
    Drawing w(100'000);
    const std::vector<Talvo2> records = fetched(w);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Talvo2> list = records;
        state.ResumeTiming();
        SortSearchResults(list, {}, [] {});
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_Sort100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 20,000 records by the fast sort and by the exchange sort, in
// CPU time (the machine is shared); same_order is 1 when both give the
// same sequence of entities.
void BM_Sort20kBesideExchangeSort(benchmark::State &state)
{
    Drawing w(20'000);
    const std::vector<Talvo2> records = fetched(w);
    double fast = 0, quadratic = 0;
    bool same = true;
    for (auto _ : state) {
        std::vector<Talvo2> a = records, b = records;
        const std::clock_t t0 = std::clock();
        SortSearchResults(a, {}, [] {});
        const std::clock_t t1 = std::clock();
        tools::exchangeSortQuadratic(b, lessText);
        const std::clock_t t2 = std::clock();
        fast += double(t1 - t0) / CLOCKS_PER_SEC;
        quadratic += double(t2 - t1) / CLOCKS_PER_SEC;
        same = same && sameOrder(a, b);
    }
    const double runs = double(state.iterations());
    state.counters["fast_ms"] = fast / runs * 1e3;
    state.counters["exchange_ms"] = quadratic / runs * 1e3;
    state.counters["same_order"] = same ? 1 : 0;
}
BENCHMARK(BM_Sort20kBesideExchangeSort)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
