// Cost of a late-bound property get over COM (run under Wine by
// scripts/windows-test.sh): the median of many gets with our cached
// DISPIDs and with GetIDsOfNames before every Invoke, and the IDispatch
// round trips per TEXT the way a fetch reads it.
#include "comserver.h"

#include "cad/com/comdispatch.h"
#include "cad/com/comsession.h"
#include "cad/connection.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMicroseconds(const cad::Object &o, int rounds)
{
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times;
    times.reserve(std::size_t(rounds));
    for (int i = 0; i < rounds; ++i) {
        QueryPerformanceCounter(&a);
        o.get(u"Name");
        QueryPerformanceCounter(&b);
        times.push_back(double(b.QuadPart - a.QuadPart) * 1e6 / double(freq.QuadPart));
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    return times[std::size_t(rounds / 2)];
}

// A TEXT fetch as the program reads each picked text (Item, Handle,
// TextString, Alignment, InsertionPoint, Layer) against the drawing host
// in the test server; that server offers no type info, so names are
// cached per object.
int fetchRoundTrips()
{
    wintest::ComServer server(u"Talvo.TestCad.BenchHost", u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A05}", L"host");
    if (!server.running()) {
        std::printf("round trips per TEXT: drawing host server not available\n");
        return 0;
    }
    cad::TargetProgID = u"Talvo.TestCad.BenchHost";
    cad::Object app = cad::AttachCad();
    const int count = 200;
    cad::VariantArray handles;
    for (int i = 0; i < count; ++i)
        handles.push_back(app.call(u"TalvoAddText", {cad::Variant(u"T"), cad::fromPoint({0, double(i), 0}), cad::Variant(u"0")}));
    app.call(u"TalvoQueuePicks", {cad::Variant(handles)});
    cad::Object doc = app.get(u"ActiveDocument").toObject();
    cad::Object set = cad::GetTempSelectionSet(doc).toObject();
    cad::Argument filter[2] = {{cad::Variant(cad::Int16Array{0}), true},
                               {cad::Variant(cad::VariantArray{cad::Variant(u"TEXT")}), true}};
    set.callRef(u"SelectOnScreen", filter);
    for (int pass = 0; pass < 2; ++pass) {
        auto start = cad::com::ComDispatch::calls();
        for (int i = 0; i < count; ++i) {
            cad::Object t = set.call(u"Item", {cad::Variant(i)}).toObject();
            for (const char16_t *m : {u"Handle", u"TextString", u"Alignment", u"InsertionPoint", u"Layer"})
                t.get(m);
        }
        std::printf("round trips per fetched TEXT (%s): %.2f\n", pass == 0 ? "names per object" : "GetIDsOfNames each time",
                    double(cad::com::ComDispatch::calls() - start) / count);
        cad::com::ComDispatch::setResolveEveryCall(pass == 0);
    }
    cad::com::ComDispatch::setResolveEveryCall(false);
    cad::ReleaseTempSelectionSet(cad::Variant(set));
    app.call(u"TalvoQuit");
    return 0;
}

} // namespace

int main()
{
    cad::com::ComSession com;
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
    std::printf("property get, cached DISPID:          median %.1f us\n", cached);
    std::printf("property get, GetIDsOfNames each time: median %.1f us\n", uncached);
    app.call(u"Quit");
    return fetchRoundTrips();
}
