#include "cad/com/comsession.h"

#include "cad/com/comdispatch.h"

#include <windows.h>
#include <objbase.h>

namespace cad::com {

ComSession::ComSession()
{
    // S_FALSE (already initialised, e.g. by the toolkit's OleInitialize)
    // still needs its CoUninitialize.
    m_initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    setRunningObjects(&m_objects);
}

ComSession::~ComSession()
{
    setRunningObjects(nullptr);
    ComDispatch::releaseTypeTables();
    if (m_initialised)
        CoUninitialize();
}

}  // namespace cad::com
