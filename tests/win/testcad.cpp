// A stand-in CAD for the Windows tests: an out-of-process automation
// server that puts one object into the running object table under a class
// id and serves it through IDispatch, without a type library.
//   talvo_testcad.exe <{class id}> <ready event name> [test|host]
// "test" serves the test object, "host" the drawing host's application.
#include "testobjects.h"

#include "cad/com/dispatchserver.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cwchar>
#include <memory>

#ifdef TALVO_HAVE_CADHOST
#include "hostserver.h"
#endif

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    CLSID clsid{};
    if (FAILED(CLSIDFromString(argv[1], &clsid)))
        return 2;
    bool host = argc > 3 && std::wcscmp(argv[3], L"host") == 0;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int rc = 0;
    {
        std::shared_ptr<cad::Dispatch> root;
#ifdef TALVO_HAVE_CADHOST
        std::unique_ptr<wintest::HostServer> hostServer;
        if (host) {
            hostServer = std::make_unique<wintest::HostServer>();
            root = hostServer->application();
        }
#endif
        if (!root) {
            if (host)
                return 4;
            root = wintest::makeTestObject();
        }
        IDispatch *object = cad::com::DispatchServer::wrap(root);
        DWORD cookie = 0;
        if (FAILED(RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie))) {
            rc = 1;
        } else {
            if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2])) {
                SetEvent(ready);
                CloseHandle(ready);
            }
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            RevokeActiveObject(cookie, nullptr);
        }
        CoDisconnectObject(object, 0);
        object->Release();
    }
    CoUninitialize();
    return rc;
}
