// TMessageFilter as the process's COM message filter.
#include "cad/messagefilter.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

namespace {

// A filter registered before ours, to see it handed back on revoke.
class PreviousFilter : public IMessageFilter {
public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 0; }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 7; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 2; }
};

// Takes the registered filter out for a look and puts it back.
IMessageFilter *peekFilter()
{
    IMessageFilter *current = nullptr;
    CoRegisterMessageFilter(nullptr, &current);
    IMessageFilter *none = nullptr;
    CoRegisterMessageFilter(current, &none);
    if (current)
        current->Release();  // the registration holds its own reference
    return current;
}

TEST(MessageFilter, Decisions)
{
    cad::TMessageFilter f;
    EXPECT_EQ(f.HandleInComingCall(0, 0), cad::TMessageFilter::SERVERCALL_ISHANDLED);
    EXPECT_EQ(f.RetryRejectedCall(123456, cad::TMessageFilter::SERVERCALL_RETRYLATER), 1000);
    EXPECT_EQ(f.RetryRejectedCall(0, cad::TMessageFilter::SERVERCALL_REJECTED), -1);
    EXPECT_EQ(f.MessagePending(0, 2), cad::TMessageFilter::PENDINGMSG_WAITNOPROCESS);
}

TEST(MessageFilter, RegisteredWithComAndRevokedToThePreviousOne)
{
    PreviousFilter previous;
    IMessageFilter *none = nullptr;
    ASSERT_EQ(CoRegisterMessageFilter(&previous, &none), S_OK);
    const LONG baseline = previous.refs;
    {
        cad::TMessageFilter f;
        f.RegisterFilter();
        ASSERT_TRUE(f.isRegistered());
        EXPECT_EQ(cad::currentMessageFilter(), &f);

        // COM now asks our filter, and it answers with f's decisions.
        IMessageFilter *ours = peekFilter();
        ASSERT_NE(ours, nullptr);
        ASSERT_NE(ours, static_cast<IMessageFilter *>(&previous));
        EXPECT_EQ(ours->RetryRejectedCall(nullptr, 5000, SERVERCALL_RETRYLATER), 1000u);
        EXPECT_EQ(ours->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), DWORD(-1));
        EXPECT_EQ(ours->HandleInComingCall(0, nullptr, 0, nullptr), DWORD(SERVERCALL_ISHANDLED));
        EXPECT_EQ(ours->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), DWORD(PENDINGMSG_WAITNOPROCESS));

        f.RevokeFilter();
        EXPECT_FALSE(f.isRegistered());
        EXPECT_EQ(cad::currentMessageFilter(), nullptr);
        EXPECT_EQ(peekFilter(), static_cast<IMessageFilter *>(&previous));

        // Registered again, destroyed while registered: revoked on the way.
        f.RegisterFilter();
    }
    EXPECT_EQ(peekFilter(), static_cast<IMessageFilter *>(&previous));
    IMessageFilter *back = nullptr;
    CoRegisterMessageFilter(nullptr, &back);
    EXPECT_EQ(back, static_cast<IMessageFilter *>(&previous));
    if (back)
        back->Release();
    EXPECT_EQ(previous.refs, baseline - 1);  // nothing leaked or over-released
}

}  // namespace
