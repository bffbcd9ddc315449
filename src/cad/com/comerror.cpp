#include "cad/com/comerror.h"

#include "cad/automation.h"

#include <cstdio>

namespace cad::com {

namespace {

std::u16string systemText(DWORD code)
{
    wchar_t *buf = nullptr;
    DWORD n
        = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t *>(&buf), 0, nullptr);
    std::u16string text;
    if (n > 0 && buf)
        text.assign(reinterpret_cast<const char16_t *>(buf), n);
    if (buf)
        LocalFree(buf);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    return text;
}

}  // namespace

std::u16string hresultText(HRESULT hr)
{
    std::u16string text = systemText(DWORD(hr));
    if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32)
        text = systemText(HRESULT_CODE(hr));
    if (!text.empty())
        return text;
    // Some systems carry no text for these; keep the wording the rest of
    // the program uses for them.
    if (hr == CO_E_CLASSSTRING)
        return kInvalidClassString;
    if (hr == MK_E_UNAVAILABLE)
        return kOperationUnavailable;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08lX", static_cast<unsigned long>(hr));
    return u"OLE エラー " + fromUtf8(buf);
}

ComError invokeError(HRESULT hr, EXCEPINFO *info)
{
    if (hr != DISP_E_EXCEPTION || !info)
        return ComError(hr, hresultText(hr));
    if (info->pfnDeferredFillIn)
        info->pfnDeferredFillIn(info);
    std::u16string text;
    if (info->bstrDescription)
        text.assign(reinterpret_cast<const char16_t *>(info->bstrDescription), SysStringLen(info->bstrDescription));
    HRESULT code = info->scode ? info->scode : hr;
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrHelpFile);
    info->bstrDescription = info->bstrSource = info->bstrHelpFile = nullptr;
    if (text.empty())
        text = hresultText(code);
    return ComError(code, std::move(text));
}

}  // namespace cad::com
