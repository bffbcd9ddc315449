#pragma once

#include "cad/object.h"

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cad::com {

// Serves one of our late-bound objects to COM clients as an IDispatch:
// GetIDsOfNames hands out one process-wide id per member name (any name;
// unknown members fail at Invoke with the object's own error text), Invoke
// forwards to the object. Like a CAD's type library, GetTypeInfo gives
// every object of one C++ class the same ITypeInfo (listing the members
// setTypeMembers names for the class, under those same ids), so clients
// can share their name tables per type. Errors become
// DISP_E_EXCEPTION with the text as EXCEPINFO description; a ComError
// carrying another HRESULT is returned as that HRESULT, so a test object
// can answer like a busy or broken server.
class DispatchServer final : public IDispatch {
public:
    // A new server object with one reference, owned by the caller.
    static IDispatch *wrap(std::shared_ptr<Dispatch> target);
    // The object `d` serves when it is one of ours in this process.
    static std::shared_ptr<Dispatch> unwrap(IDispatch *d);

    // Members listed in a type's ITypeInfo, by type name (the class name
    // without namespaces); types it gives nothing for list none.
    using TypeMembers = std::function<std::vector<std::u16string>(std::u16string_view typeName)>;
    static void setTypeMembers(TypeMembers members);
    // Off: the objects answer like a server without type information.
    static void setTypeInfoEnabled(bool on);
    // Drops the ITypeInfo objects made so far; call before CoUninitialize.
    static void releaseTypeInfos();
    // The type name GetTypeInfo uses for `target`.
    static std::u16string typeName(const Dispatch &target);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params, VARIANT *result,
                                     EXCEPINFO *info, UINT *argError) override;

private:
    explicit DispatchServer(std::shared_ptr<Dispatch> target);
    ~DispatchServer() = default;

    std::atomic<ULONG> m_refs{1};
    std::shared_ptr<Dispatch> m_target;
};

}  // namespace cad::com
