#pragma once

#include <cstdint>

namespace cad {

// The process's COM message filter: retries calls a busy CAD rejects with
// SERVERCALL_RETRYLATER every second, cancels other rejections, and leaves
// our own messages queued while a call waits. On Windows RegisterFilter
// installs it with CoRegisterMessageFilter; elsewhere it only takes the
// process-wide slot, which the built-in drawing host consults.
class TMessageFilter {
public:
    static constexpr std::uint32_t SERVERCALL_ISHANDLED = 0;
    static constexpr std::uint32_t SERVERCALL_REJECTED = 1;
    static constexpr std::uint32_t SERVERCALL_RETRYLATER = 2;
    static constexpr std::uint32_t PENDINGMSG_WAITNOPROCESS = 1;

    TMessageFilter();  // Create: FOldFilter empty
    virtual ~TMessageFilter();
    TMessageFilter(const TMessageFilter &) = delete;
    TMessageFilter &operator=(const TMessageFilter &) = delete;

    void RegisterFilter();
    void RevokeFilter();

    virtual std::uint32_t HandleInComingCall(std::uint32_t callType, std::uint32_t tickCount);
    // Milliseconds to wait before retrying, or -1 to cancel the call.
    virtual std::int32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType);
    virtual std::uint32_t MessagePending(std::uint32_t tickCount, std::uint32_t pendingType);

    bool isRegistered() const { return m_registered; }

private:
    void *FOldFilter = nullptr;  // the filter registered before this one
    void *m_com = nullptr;       // COM object wrapping this one (Windows)
    bool m_registered = false;
};

// The filter currently registered in this process, or nullptr.
TMessageFilter *currentMessageFilter();

}  // namespace cad
