#pragma once

#include "cad/variant.h"

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace cad::com {

// A failed COM call: the text the user sees plus the HRESULT behind it.
class ComError : public Error {
public:
    ComError(HRESULT hr, std::u16string text) : Error(std::move(text)), m_hr(hr) {}
    HRESULT hresult() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

// The system's text for an HRESULT, without the trailing line break.
std::u16string hresultText(HRESULT hr);

// The error of a failed IDispatch::Invoke: the server's EXCEPINFO
// description for DISP_E_EXCEPTION, else the system's text. Frees the
// strings held by `info`.
ComError invokeError(HRESULT hr, EXCEPINFO *info);

}  // namespace cad::com
