// Late-bound calls on the built-in drawing host: the baseline every other
// figure builds on (calls per second in items_per_second).

#include "cadhost/host.h"

#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    cadhost::Host host;
    cad::Object text;

    Fixture()
    {
        auto &d = host.drawing();
        for (int i = 0; i < 1000; ++i)
            d.addText({.text = u"TEXT " + cad::fromUtf8(std::to_string(i)), .insertionPoint = {double(i), 0, 0}});
        cad::Object doc = host.application().get(u"ActiveDocument").toObject();
        text = doc.call(u"HandleToObject", {cad::Variant(d.entity(d.modelSpace()[500])->handle)}).toObject();
    }
};

void BM_TextStringGet(benchmark::State &state)
{
    Fixture f;
    for (auto _ : state) {
        cad::Variant v = f.text.get(u"TextString");
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextStringGet);

void BM_InsertionPointGet(benchmark::State &state)
{
    Fixture f;
    for (auto _ : state) {
        cad::Variant v = f.text.get(u"InsertionPoint");
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InsertionPointGet);

void BM_TextStringPut(benchmark::State &state)
{
    Fixture f;
    bool flip = false;
    for (auto _ : state) {
        f.text.put(u"TextString", cad::Variant(flip ? u"A" : u"B"));
        flip = !flip;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextStringPut);

}  // namespace
