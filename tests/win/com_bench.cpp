// Cost of late-bound calls over COM (run under Wine by
// scripts/windows-test.sh): the median of many property gets with cached
// DISPIDs and with GetIDsOfNames before every Invoke; then a 1,000-TEXT
// fetch read the way the text tab reads it, against the drawing host in
// the test server with type info, without it, and by a naive client that
// resolves every name before every call: IDispatch round trips per TEXT
// and the fetch time.
#include "comserver.h"

#include "cad/com/comdispatch.h"
#include "cad/com/comsession.h"
#include "cad/connection.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double now()
{
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(freq.QuadPart);
}

double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

double medianMicroseconds(const cad::Object &o, int rounds)
{
    std::vector<double> times;
    times.reserve(std::size_t(rounds));
    for (int i = 0; i < rounds; ++i) {
        double a = now();
        o.get(u"Name");
        times.push_back((now() - a) * 1e6);
    }
    return median(std::move(times));
}

struct FetchCost {
    double roundTrips = 0;   // per TEXT
    double seconds = 0;      // median of the passes, whole fetch
    double itemSeconds = 0;  // median pass of the Item calls alone
};

// What the fetch reads of each picked text (layer first, for the locked
// layer test; the position by the alignment).
void readText(const cad::Object &set, int i)
{
    cad::Object e = set.call(u"Item", {cad::Variant(i)}).toObject();
    e.get(u"Layer");
    e.get(u"TextString");
    e.get(u"Handle");
    e.get(u"Alignment");
    e.get(u"InsertionPoint");
}

// One pass over the picked texts: its time and round trips.
void fetchPass(const cad::Object &set, int count, bool naive, FetchCost &cost, std::vector<double> &times)
{
    cad::com::ComDispatch::setResolveEveryCall(naive);
    auto start = cad::com::ComDispatch::calls();
    double a = now();
    for (int i = 0; i < count; ++i)
        readText(set, i);
    times.push_back(now() - a);
    cost.roundTrips += double(cad::com::ComDispatch::calls() - start) / double(count);
    cad::com::ComDispatch::setResolveEveryCall(false);
}

// A test server with the drawing host and `count` picked texts, read
// `passes` times by each client. With `naiveToo` the passes of our client
// and of the naive one alternate, so a machine's changing load weighs on
// both alike. The first read also learns the names and is left out.
std::pair<FetchCost, FetchCost> fetchCost(const wchar_t *model, bool naiveToo, int count, int passes)
{
    FetchCost ours, naive;
    cad::com::ComDispatch::releaseTypeTables();
    wintest::ComServer server(u"Talvo.TestCad.BenchHost", u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A05}", model);
    if (!server.running())
        return {ours, naive};
    cad::TargetProgID = u"Talvo.TestCad.BenchHost";
    cad::Object app = cad::AttachCad();
    cad::VariantArray handles;
    for (int i = 0; i < count; ++i)
        handles.push_back(app.call(u"TalvoAddText", {cad::Variant(u"T-" + cad::fromUtf8(std::to_string(i))),
                                                     cad::fromPoint({0, double(i), 0}), cad::Variant(u"0")}));
    app.call(u"TalvoQueuePicks", {cad::Variant(handles)});
    cad::Object doc = app.get(u"ActiveDocument").toObject();
    cad::Object set = cad::GetTempSelectionSet(doc).toObject();
    cad::Argument filter[2]
        = {{cad::Variant(cad::Int16Array{0}), true}, {cad::Variant(cad::VariantArray{cad::Variant(u"TEXT")}), true}};
    set.callRef(u"SelectOnScreen", filter);
    for (int i = 0; i < count; ++i)
        readText(set, i);

    std::vector<double> ourTimes, naiveTimes, itemTimes;
    for (int pass = 0; pass < passes; ++pass) {
        fetchPass(set, count, false, ours, ourTimes);
        if (naiveToo)
            fetchPass(set, count, true, naive, naiveTimes);
        // What both clients pay alike: each Item hands out a new object,
        // whose proxy is set up and released again.
        double a = now();
        for (int i = 0; i < count; ++i)
            set.call(u"Item", {cad::Variant(i)});
        itemTimes.push_back(now() - a);
    }
    ours.itemSeconds = median(itemTimes);
    ours.roundTrips /= passes;
    ours.seconds = median(ourTimes);
    if (naiveToo) {
        naive.roundTrips /= passes;
        naive.seconds = median(naiveTimes);
    }
    cad::ReleaseTempSelectionSet(cad::Variant(set));
    app.call(u"TalvoQuit");
    return {ours, naive};
}

}  // namespace

// win_com_bench.exe [texts [passes]]: 1,000 texts read 5 times by default.
int run(int argc, char **argv)
{
    {
        wintest::ComServer server(u"Talvo.TestCad.Bench", u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A03}");
        if (!server.running()) {
            std::fprintf(stderr, "test server did not start\n");
            return 1;
        }
        cad::TargetProgID = u"Talvo.TestCad.Bench";
        cad::Object app = cad::AttachCad();
        const int rounds = 2000;
        app.get(u"Name");
        double cached = medianMicroseconds(app, rounds);
        cad::com::ComDispatch::setResolveEveryCall(true);
        double uncached = medianMicroseconds(app, rounds);
        cad::com::ComDispatch::setResolveEveryCall(false);
        std::printf("property get, cached DISPID:           median %.1f us\n", cached);
        std::printf("property get, GetIDsOfNames each time: median %.1f us\n", uncached);
        {
            IDispatch *d = static_cast<cad::com::ComDispatch *>(app.dispatch())->iDispatch();
            std::vector<double> t;
            ITypeInfo *keep = nullptr;
            d->GetTypeInfo(0, LOCALE_USER_DEFAULT, &keep);
            for (int i = 0; i < 500; ++i) {
                double a = now();
                ITypeInfo *ti = nullptr;
                d->GetTypeInfo(0, LOCALE_USER_DEFAULT, &ti);
                if (ti)
                    ti->Release();
                t.push_back((now() - a) * 1e6);
            }
            if (keep)
                keep->Release();
            std::printf("GetTypeInfo, its type already known:   median %.1f us\n", median(t));
        }
        app.call(u"Quit");
    }

    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    FetchCost typed, plain, naive;
    const char *phase = "type info and naive client";
    try {
        std::tie(typed, naive) = fetchCost(L"host", true, count, passes);
        phase = "no type info";
        plain = fetchCost(L"host plain", false, count, 1).first;
    } catch (const cad::Error &e) {
        std::fprintf(stderr, "%d-TEXT fetch, %s: failed: %s\n", count, phase, cad::toUtf8(e.text()).c_str());
        return 1;
    }
    if (typed.seconds <= 0 || plain.seconds <= 0 || naive.seconds <= 0) {
        std::fprintf(stderr, "drawing host server did not start\n");
        return 1;
    }
    std::printf("round trips per fetched TEXT, type info (target <= 7): %.2f\n", typed.roundTrips);
    std::printf("round trips per fetched TEXT, no type info:            %.2f\n", plain.roundTrips);
    std::printf("round trips per fetched TEXT, naive client:            %.2f\n", naive.roundTrips);
    std::printf("%d-TEXT fetch, type info:    %.1f ms (median of %d, passes alternating with the naive client)\n",
                count, typed.seconds * 1e3, passes);
    std::printf("%d-TEXT fetch, naive client: %.1f ms\n", count, naive.seconds * 1e3);
    std::printf("%d-TEXT fetch, no type info: %.1f ms (one pass)\n", count, plain.seconds * 1e3);
    std::printf("%d Item calls alone (new object each): %.1f ms\n", count, typed.itemSeconds * 1e3);
    std::printf("type info / naive (target <= 0.55): %.2f\n", typed.seconds / naive.seconds);
    return 0;
}

int main(int argc, char **argv)
{
    cad::com::ComSession com;
    try {
        return run(argc, argv);
    } catch (const cad::Error &e) {
        std::fprintf(stderr, "failed: %s\n", cad::toUtf8(e.text()).c_str());
        return 1;
    }
}
