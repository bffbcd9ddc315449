#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// Faults a test injects into the host's automation calls. Every get, put
// or call on any host object is one call; counts start when the fault is
// set.
class Faults {
public:
    // The k-th call from now (1 = the next) raises cad::Error(kInjectedFault).
    void failCall(int k);
    // Calls of the member (any letter case) raise; `times` < 0: always.
    void failMember(std::u16string member, int times = -1);
    // The next k calls succeed, then the host stops (IsCadRunning false,
    // later calls raise kServerUnavailable).
    void stopAfter(int k);
    // The next n call attempts are rejected as busy (SERVERCALL_RETRYLATER):
    // each rejection asks cad::currentMessageFilter()->RetryRejectedCall
    // (elapsed ms, 2), waits the answer through cad::windowApi().sleep()
    // and retries; -1 or no registered filter raises kCallRejected.
    void rejectBusy(int n);
    void clear();

    // --- used by the host ------------------------------------------------------
    struct Verdict {
        bool fail = false;       // this call raises kInjectedFault
        bool stopAfter = false;  // the host stops once this call is done
    };
    // Consumes one busy rejection when one is pending.
    bool takeBusy();
    Verdict check(std::u16string_view member);

private:
    struct MemberFault {
        std::u16string member;
        int times = -1;
    };
    int m_failIn = 0;  // 0: none
    int m_stopIn = 0;  // 0: none
    int m_busy = 0;
    std::vector<MemberFault> m_members;
};

}  // namespace cadhost
