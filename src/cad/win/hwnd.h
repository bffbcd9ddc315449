#pragma once

#include "cad/windowapi.h"

#include <windows.h>

#include <cstdint>

namespace cad::win {

inline HWND toHwnd(WindowHandle w)
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(w));
}

inline WindowHandle fromHwnd(HWND h)
{
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(h));
}

}  // namespace cad::win
