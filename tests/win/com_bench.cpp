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
    return 0;
}
