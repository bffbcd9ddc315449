#include "cad/messagefilter.h"

#ifdef _WIN32
#include <windows.h>
#include <objbase.h>

#include <atomic>
#endif

namespace cad {

namespace {
TMessageFilter *g_current = nullptr;
#ifdef _WIN32
void releaseComFilter(void *&com);
#endif
}  // namespace

TMessageFilter *currentMessageFilter()
{
    return g_current;
}

TMessageFilter::TMessageFilter() = default;

TMessageFilter::~TMessageFilter()
{
    if (m_registered)
        RevokeFilter();
#ifdef _WIN32
    releaseComFilter(m_com);
#endif
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
#else
namespace {

// The COM face of a TMessageFilter: asks it for every decision. Outlives
// it when COM still holds a reference; then it answers as the filter would.
class ComMessageFilter final : public IMessageFilter {
public:
    explicit ComMessageFilter(TMessageFilter *owner) : m_owner(owner) {}
    void detach() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *out = static_cast<IMessageFilter *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --m_refs;
        if (n == 0)
            delete this;
        return n;
    }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK, DWORD tickCount, LPINTERFACEINFO) override
    {
        return m_owner ? m_owner->HandleInComingCall(callType, tickCount) : TMessageFilter::SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType) override
    {
        if (m_owner)
            return DWORD(m_owner->RetryRejectedCall(tickCount, rejectType));
        return rejectType == TMessageFilter::SERVERCALL_RETRYLATER ? 1000 : DWORD(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD tickCount, DWORD pendingType) override
    {
        return m_owner ? m_owner->MessagePending(tickCount, pendingType) : TMessageFilter::PENDINGMSG_WAITNOPROCESS;
    }

private:
    ~ComMessageFilter() = default;
    std::atomic<ULONG> m_refs{1};
    TMessageFilter *m_owner;
};

void releaseComFilter(void *&com)
{
    if (auto *filter = static_cast<ComMessageFilter *>(com)) {
        filter->detach();
        filter->Release();
        com = nullptr;
    }
}

}  // namespace

void TMessageFilter::RegisterFilter()
{
    if (m_registered)
        return;
    if (!m_com)
        m_com = new ComMessageFilter(this);
    IMessageFilter *old = nullptr;
    // Fails outside a single-threaded apartment; the program then simply
    // runs without a filter.
    if (FAILED(CoRegisterMessageFilter(static_cast<ComMessageFilter *>(m_com), &old)))
        return;
    FOldFilter = old;  // our reference
    g_current = this;
    m_registered = true;
}

void TMessageFilter::RevokeFilter()
{
    if (!m_registered)
        return;
    auto *old = static_cast<IMessageFilter *>(FOldFilter);
    IMessageFilter *dropped = nullptr;
    CoRegisterMessageFilter(old, &dropped);
    if (dropped)
        dropped->Release();  // the system's reference to our filter
    if (old)
        old->Release();
    FOldFilter = nullptr;
    if (g_current == this)
        g_current = nullptr;
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

}  // namespace cad
