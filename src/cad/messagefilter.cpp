#include "cad/messagefilter.h"

namespace cad {

namespace {
TMessageFilter *g_current = nullptr;
}

TMessageFilter *currentMessageFilter()
{
    return g_current;
}

TMessageFilter::TMessageFilter() = default;

TMessageFilter::~TMessageFilter()
{
    if (m_registered)
        RevokeFilter();
}

#ifndef _WIN32
void TMessageFilter::RegisterFilter()
{
    FOldFilter = g_current;
    g_current = this;
    m_registered = true;
}

void TMessageFilter::RevokeFilter()
{
    if (!m_registered)
        return;
    g_current = static_cast<TMessageFilter *>(FOldFilter);
    FOldFilter = nullptr;
    m_registered = false;
}
#endif

std::uint32_t TMessageFilter::HandleInComingCall(std::uint32_t, std::uint32_t)
{
    return SERVERCALL_ISHANDLED;
}

std::int32_t TMessageFilter::RetryRejectedCall(std::uint32_t, std::uint32_t rejectType)
{
    return rejectType == SERVERCALL_RETRYLATER ? 1000 : -1;
}

std::uint32_t TMessageFilter::MessagePending(std::uint32_t, std::uint32_t)
{
    return PENDINGMSG_WAITNOPROCESS;
}

} // namespace cad
