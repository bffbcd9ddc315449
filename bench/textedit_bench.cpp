// Fetch and write-back of 10,000 texts on the drawing host, beside the
// host's raw cost for the same member calls. `overhead` is our total over
// that raw cost.

#include "textedit/fetch.h"
#include "textedit/writeback.h"

#include "cad/connection.h"
#include "cadhost/host.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

namespace {

constexpr int kTexts = 10000;

std::u16string number(int i)
{
    return cad::fromUtf8(std::to_string(i));
}

struct Drawing {
    cadhost::Host host;
    std::vector<cadhost::EntityId> ids;
    cad::Object doc;

    Drawing()
    {
        auto &d = host.drawing();
        for (int i = 0; i < kTexts; ++i)
            ids.push_back(d.addText({.text = u"T" + number(i), .insertionPoint = {0, -double(i), 0}}));
        doc = host.application().get(u"ActiveDocument").toObject();
    }
};

// CPU time: the machine is shared, and waiting for it is not our cost.
double seconds(std::clock_t from)
{
    return double(std::clock() - from) / CLOCKS_PER_SEC;
}

// The member calls fetch and write-back make per text, made directly.
double rawCost(Drawing &w, const Lines &lines)
{
    const std::clock_t start = std::clock();
    w.host.scriptedPicker().queueIds(w.ids);
    cad::Variant set = cad::GetTempSelectionSet(w.doc);
    cad::Object ss = set.toObject();
    ss.call(u"Clear");
    cad::Argument args[2]
        = {{cad::Variant(cad::Int16Array{0}), true}, {cad::Variant(cad::VariantArray{cad::Variant(u"TEXT")}), true}};
    ss.callRef(u"SelectOnScreen", args);
    const int n = ss.get(u"Count").toInt();
    std::vector<std::u16string> handles;
    handles.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
        benchmark::DoNotOptimize(e.get(u"Layer"));
        benchmark::DoNotOptimize(e.get(u"TextString"));
        handles.push_back(e.get(u"Handle").toString());
        benchmark::DoNotOptimize(e.get(u"Alignment"));
        benchmark::DoNotOptimize(e.get(u"InsertionPoint"));
    }
    cad::ReleaseTempSelectionSet(set);
    w.doc.call(u"StartUndoMark");
    for (int i = 0; i < n; ++i) {
        cad::Argument h{cad::Variant(handles[std::size_t(i)]), true};
        cad::Object e = w.doc.callRef(u"HandleToObject", std::span<cad::Argument>(&h, 1)).toObject();
        if (e.get(u"TextString").toString() != lines[std::size_t(i)])
            e.put(u"TextString", lines[std::size_t(i)]);
    }
    w.doc.call(u"EndUndoMark");
    w.doc.call(u"Regen", {cad::Variant(0)});
    return seconds(start);
}

double ours(Drawing &w, const Lines &lines, bool sort)
{
    const std::clock_t start = std::clock();
    w.host.scriptedPicker().queueIds(w.ids);
    TextFetch f = FetchTexts(w.doc, sort, [] {});
    bool runFlag = true;
    WriteBack(
        w.doc, f.records, lines, false, 0, -1, [] {}, runFlag);
    return seconds(start);
}

void run(benchmark::State &state, bool sort)
{
    Drawing w;
    Lines a, b;
    for (int i = 0; i < kTexts; ++i) {
        a.push_back(u"A" + number(i));
        b.push_back(u"B" + number(i));
    }
    double ourTotal = 0, rawTotal = 0;
    bool flip = false;
    for (auto _ : state) {
        // Each run writes new strings, so both write every text; the order
        // alternates so that neither pays for the other's history growth.
        if (flip) {
            ourTotal += ours(w, a, sort);
            rawTotal += rawCost(w, b);
        } else {
            rawTotal += rawCost(w, a);
            ourTotal += ours(w, b, sort);
        }
        flip = !flip;
    }
    const double runs = double(state.iterations());
    state.counters["ours_us_per_text"] = ourTotal / runs / kTexts * 1e6;
    state.counters["raw_us_per_text"] = rawTotal / runs / kTexts * 1e6;
    state.counters["overhead"] = ourTotal / rawTotal;
}

void BM_FetchAndWriteBack10k(benchmark::State &state)
{
    run(state, false);
}
BENCHMARK(BM_FetchAndWriteBack10k)->Unit(benchmark::kMillisecond)->Iterations(6);

void BM_FetchSortedAndWriteBack10k(benchmark::State &state)
{
    run(state, true);
}
BENCHMARK(BM_FetchSortedAndWriteBack10k)->Unit(benchmark::kMillisecond)->Iterations(6);

// Sorted and unsorted in one run, each beside the same raw cost, so their
// overheads compare directly (the sort must cost next to nothing).
void BM_SortedBesideUnsorted10k(benchmark::State &state)
{
    Drawing w;
    Lines a, b;
    for (int i = 0; i < kTexts; ++i) {
        a.push_back(u"A" + number(i));
        b.push_back(u"B" + number(i));
    }
    double unsorted = 0, sorted = 0, raw = 0;
    for (auto _ : state) {
        raw += rawCost(w, a);
        unsorted += ours(w, b, false);
        raw += rawCost(w, a);
        sorted += ours(w, b, true);
    }
    state.counters["overhead_unsorted"] = unsorted / (raw / 2);
    state.counters["overhead_sorted"] = sorted / (raw / 2);
    state.counters["sorted_over_unsorted"] = sorted / unsorted;
}
BENCHMARK(BM_SortedBesideUnsorted10k)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
