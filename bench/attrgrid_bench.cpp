// The attribute grid on the drawing host: a fetch of 5,000 block
// references with 15 tags each, a paste of 10,000 cells and its undo, and
// a write-back of 10,000 changed cells, beside the host's raw cost for the
// same member calls. `overhead` is our time over that raw cost.

#include "attrgrid/attrfetch.h"
#include "attrgrid/attrwriteback.h"

#include "cells/clipboardrules.h"
#include "cells/grideditkeys.h"

#include "cad/connection.h"
#include "cadhost/host.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

namespace {

std::u16string number(int i)
{
    return cad::fromUtf8(std::to_string(i));
}

// CPU time of this thread: the machine is shared, and the host runs in
// the same thread, so wall time would mostly measure the other load.
struct Clock {
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    }
};

double seconds(double from)
{
    return Clock::now() - from;
}

// `refs` block references of one block with `tags` attributes.
struct Drawing {
    cadhost::Host host;
    std::vector<cadhost::EntityId> ids;
    AttrSet set;
    cad::Object doc;

    Drawing(int refs, int tags)
    {
        cad::TargetProgID = cad::kDefaultProgID;
        auto &d = host.drawing();
        cadhost::BlockSpec block{.name = u"EQ"};
        for (int t = 0; t < tags; ++t) {
            set.tags.push_back(u"TAG" + number(t));
            block.attributes.push_back({.tag = set.tags.back(), .prompt = u"P" + number(t)});
        }
        d.addBlock(block);
        for (int i = 0; i < refs; ++i) {
            cadhost::InsertSpec ins{.block = u"EQ", .insertionPoint = {0, -double(i), 0}};
            for (int t = 0; t < tags; ++t)
                ins.attributes.emplace_back(set.tags[std::size_t(t)], u"V" + number(i) + u"-" + number(t));
            ids.push_back(d.addInsert(ins));
        }
        doc = host.application().get(u"ActiveDocument").toObject();
    }

    double fetch(AttrGridData &data)
    {
        auto start = Clock::now();
        host.scriptedPicker().queueIds(ids);
        int counter = 0;
        bool runFlag = true;
        FetchHooks hooks;
        hooks.pump = [] {};
        FetchBlocks(doc, set, data, counter, runFlag, hooks);
        return seconds(start);
    }

    // The member calls of the fetch, made directly.
    double rawFetch()
    {
        auto start = Clock::now();
        host.scriptedPicker().queueIds(ids);
        cad::Variant sv = cad::GetTempSelectionSet(doc);
        cad::Object ss = sv.toObject();
        ss.call(u"Clear");
        cad::Argument args[2] = {{cad::Variant(cad::Int16Array{0, 2}), true},
                                 {cad::Variant(cad::VariantArray{cad::Variant(u"INSERT"), cad::Variant(u"*")}), true}};
        ss.callRef(u"SelectOnScreen", args);
        const int n = ss.get(u"Count").toInt();
        std::vector<std::u16string> handles;
        for (int i = 0; i < n; ++i) {
            cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
            benchmark::DoNotOptimize(e.get(u"HasAttributes"));
            cad::VariantArray atts = e.call(u"GetAttributes").toArray();
            benchmark::DoNotOptimize(atts[0].toObject().get(u"TagString"));
            handles.push_back(e.get(u"Handle").toString());
            benchmark::DoNotOptimize(e.get(u"InsertionPoint"));
            benchmark::DoNotOptimize(e.get(u"Layer"));
            benchmark::DoNotOptimize(e.get(u"Name"));
        }
        cad::ReleaseTempSelectionSet(sv);
        for (const std::u16string &h : handles) {
            cad::Argument a{cad::Variant(h), true};
            cad::Object e = doc.callRef(u"HandleToObject", std::span<cad::Argument>(&a, 1)).toObject();
            benchmark::DoNotOptimize(e.get(u"HasAttributes"));
            for (const cad::Variant &v : e.call(u"GetAttributes").toArray()) {
                cad::Object att = v.toObject();
                benchmark::DoNotOptimize(att.get(u"TagString"));
                benchmark::DoNotOptimize(att.get(u"Handle"));
                benchmark::DoNotOptimize(att.get(u"TextString"));
                benchmark::DoNotOptimize(att.get(u"InsertionPoint"));
                benchmark::DoNotOptimize(att.get(u"Layer"));
            }
        }
        for (const std::u16string &tag : set.tags)
            benchmark::DoNotOptimize(GetAttPrompt(doc, u"EQ", tag));
        return seconds(start);
    }

    // The member calls of the write-back, made directly.
    double rawWriteBack(const AttrGridData &data)
    {
        auto start = Clock::now();
        doc.call(u"StartUndoMark");
        for (int row = 1; row < data.cells.rowCount(); ++row) {
            for (int col = 1; col < data.cells.colCount(); ++col) {
                const nAtt *rec = data.record(col, row);
                cad::Argument a{cad::Variant(rec->sHnd), true};
                cad::Object e = doc.callRef(u"HandleToObject", std::span<cad::Argument>(&a, 1)).toObject();
                e.put(u"TextString", data.cells.cellText(col, row) + u"r");
                e.call(u"Update");
            }
        }
        doc.call(u"EndUndoMark");
        return seconds(start);
    }
};

void BM_Fetch5000x15(benchmark::State &state)
{
    Drawing w(5000, 15);
    double ours = 0, raw = 0;
    for (auto _ : state) {
        AttrGridData data;
        ours += w.fetch(data);
        raw += w.rawFetch();
    }
    state.counters["ours_ms"] = ours / double(state.iterations()) * 1e3;
    state.counters["raw_ms"] = raw / double(state.iterations()) * 1e3;
    state.counters["overhead"] = ours / raw;
}
BENCHMARK(BM_Fetch5000x15)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1,000 references x 10 tags: 10,000 cells, all pasted over, written back
// and the paste undone.
void BM_Paste10000WriteBackUndo(benchmark::State &state)
{
    Drawing w(1000, 10);
    AttrGridData data;
    w.fetch(data);
    std::u16string clip;
    for (int r = 0; r < 1000; ++r) {
        for (int c = 0; c < 10; ++c)
            clip += u"new" + number(r * 10 + c) + (c < 9 ? u"\t" : u"\r\n");
    }
    const cells::Selection all{1, 1, 10, 1000};
    double paste = 0, write = 0, raw = 0, undo = 0;
    for (auto _ : state) {
        int counter = 0;
        auto start = Clock::now();
        cells::PasteText(data.cells, data.FUndoCells, all, clip);
        counter = 10000;
        paste += seconds(start);

        start = Clock::now();
        WriteBackCells(w.doc, data);
        write += seconds(start);
        raw += w.rawWriteBack(data);

        start = Clock::now();
        cells::UndoLastOperation(data.cells, data.FUndoCells, counter);
        undo += seconds(start);
    }
    const double runs = double(state.iterations());
    state.counters["paste_ms"] = paste / runs * 1e3;
    state.counters["writeback_ms"] = write / runs * 1e3;
    state.counters["raw_writeback_ms"] = raw / runs * 1e3;
    state.counters["writeback_overhead"] = write / raw;
    state.counters["undo_ms"] = undo / runs * 1e3;
}
BENCHMARK(BM_Paste10000WriteBackUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
