#pragma once

#include "cad/object.h"

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>

namespace cad::com {

struct MemberIds;

// A CAD object reached through IDispatch. Member names are resolved with
// GetIDsOfNames once per object type and name (objects whose type info is
// the same ITypeInfo share one table; without type info, once per object),
// so a property access is one Invoke. A call the server rejects as busy
// (RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_RETRYLATER) is retried every
// 1000 ms through windowApi().sleep, for as long as it is rejected.
class ComDispatch final : public Dispatch {
public:
    explicit ComDispatch(IDispatch *d);  // takes a reference of its own
    ~ComDispatch() override;
    ComDispatch(const ComDispatch &) = delete;
    ComDispatch &operator=(const ComDispatch &) = delete;

    Variant invoke(std::u16string_view member, InvokeKind kind, std::span<Argument> args) override;

    IDispatch *iDispatch() const { return m_d; }

    // IDispatch calls made so far by every ComDispatch (out of process,
    // each is one round trip).
    static std::uint64_t calls();
    // Benchmark switch: resolve names on every access instead of caching.
    static void setResolveEveryCall(bool on);
    // Drops the shared per-type tables and their ITypeInfo references and
    // forgets whether the server gives type info; call before
    // CoUninitialize.
    static void releaseTypeTables();

private:
    DISPID dispId(std::u16string_view member);
    std::shared_ptr<MemberIds> typeTable();

    IDispatch *m_d;
    std::shared_ptr<MemberIds> m_ids;
};

}  // namespace cad::com
