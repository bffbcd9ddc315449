// A stand-in CAD for the Windows tests: an out-of-process automation
// server that puts one object into the running object table under a class
// id and serves it through IDispatch, with type information per object
// type as a CAD's type library gives it.
//   talvo_testcad.exe <{class id}> <ready event name> [test|host] [plain] [window]
// "test" serves the test object, "host" the drawing host's application;
// "plain" leaves out the type info; "window" shows the host's texts.
#include "testobjects.h"

#include "cad/com/dispatchserver.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifdef TALVO_HAVE_CADHOST
#include "hostserver.h"
#include "serverwindow.h"
#endif

namespace {

// The members each type lists in its type info: those the program calls
// on CAD objects, the host's extras, and the test object's.
std::vector<std::u16string> typeMembers(std::u16string_view type)
{
    static const std::map<std::u16string_view, std::vector<std::u16string>> members = {
        {u"ControlledApplication",
         {u"HWND", u"ActiveDocument", u"ZoomCenter", u"Name", u"Visible", u"TalvoReset", u"TalvoAddLayer",
          u"TalvoAddText", u"TalvoAddBlock", u"TalvoAddInsert", u"TalvoAttributeOf", u"TalvoQueuePicks",
          u"TalvoQueueSubEntity", u"TalvoTextOf", u"TalvoUndoSteps", u"TalvoSelectionSetNames", u"TalvoViewCentre",
          u"TalvoQuit"}},
        {u"ApplicationObject", {u"HWND", u"ActiveDocument", u"ZoomCenter", u"Name", u"Visible"}},
        {u"DocumentObject",
         {u"HWND", u"SelectionSets", u"Layers", u"Blocks", u"Utility", u"ModelSpace", u"Application", u"Name",
          u"HandleToObject", u"ObjectIdToObject", u"StartUndoMark", u"EndUndoMark", u"Regen", u"GetVariable"}},
        {u"LayersObject", {u"Count", u"Item"}},
        {u"LayerObject", {u"Name", u"Lock", u"Color", u"Handle", u"ObjectId", u"ObjectName"}},
        {u"BlocksObject", {u"Count", u"Item"}},
        {u"BlockObject", {u"Name", u"Count", u"Item", u"Handle", u"ObjectId", u"ObjectName", u"IsLayout"}},
        {u"SelectionSetsObject", {u"Count", u"Item", u"Add"}},
        {u"SelectionSetObject",
         {u"Name", u"Count", u"Item", u"Clear", u"Delete", u"SelectOnScreen", u"Select", u"AddItems"}},
        {u"UtilityObject", {u"GetSubEntity"}},
        {u"EntityObject",
         {u"TextString",    u"TagString",     u"PromptString", u"InsertionPoint", u"TextAlignmentPoint",
          u"Alignment",     u"Height",        u"Rotation",     u"Layer",          u"Handle",
          u"EntityName",    u"ObjectName",    u"Name",         u"ObjectId",       u"OwnerId",
          u"HasAttributes", u"GetAttributes", u"Copy",         u"Update",         u"Delete"}},
        {u"TestObject",
         {u"Name", u"Value", u"Echo", u"TypeOf", u"IsByRef", u"ArgCount", u"Child", u"IsChild", u"GetSubEntity",
          u"Swap", u"Fail", u"FailWith", u"Busy", u"Calls", u"Die", u"Quit"}},
    };
    auto it = members.find(type);
    return it == members.end() ? std::vector<std::u16string>{} : it->second;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    CLSID clsid{};
    if (FAILED(CLSIDFromString(argv[1], &clsid)))
        return 2;
    bool host = false, plain = false, window = false;
    for (int i = 3; i < argc; ++i) {
        host = host || std::wcscmp(argv[i], L"host") == 0;
        plain = plain || std::wcscmp(argv[i], L"plain") == 0;
        window = window || std::wcscmp(argv[i], L"window") == 0;
    }
    cad::com::DispatchServer::setTypeInfoEnabled(!plain);
    cad::com::DispatchServer::setTypeMembers(typeMembers);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int rc = 0;
    {
        std::shared_ptr<cad::Dispatch> root;
#ifdef TALVO_HAVE_CADHOST
        std::unique_ptr<wintest::HostServer> hostServer;
        std::unique_ptr<wintest::ServerWindow> serverWindow;
        if (host) {
            hostServer = std::make_unique<wintest::HostServer>();
            root = hostServer->application();
            if (window)
                serverWindow = std::make_unique<wintest::ServerWindow>(hostServer->host());
        }
#else
        (void)window;
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
    cad::com::DispatchServer::releaseTypeInfos();
    CoUninitialize();
    return rc;
}
