#include "cad/com/comrunningobjects.h"

#include "cad/com/comdispatch.h"
#include "cad/com/comerror.h"
#include "cad/com/comref.h"

#include <windows.h>
#include <oleauto.h>

namespace cad::com {

std::u16string ComRunningObjects::classIdFromProgId(std::u16string_view progId)
{
    std::u16string name(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(name.c_str()), &clsid);
    if (FAILED(hr))
        throw ComError(hr, hresultText(hr));
    wchar_t text[40] = {};
    int n = StringFromGUID2(clsid, text, 40);
    return std::u16string(reinterpret_cast<const char16_t *>(text), n > 0 ? std::size_t(n - 1) : 0);
}

Object ComRunningObjects::activeObject(std::u16string_view classId)
{
    std::u16string text(classId);
    CLSID clsid{};
    if (FAILED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.c_str()), &clsid)))
        return {};
    ComRef<IUnknown> unknown;
    if (FAILED(GetActiveObject(clsid, nullptr, unknown.put())) || !unknown)
        return {};
    ComRef<IDispatch> dispatch;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(dispatch.put()))) || !dispatch)
        return {};
    return Object(std::make_shared<ComDispatch>(dispatch.get()));
}

}  // namespace cad::com
