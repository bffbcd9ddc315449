#pragma once

#include "cad/object.h"

#include <windows.h>

#include <string>

namespace wintest {

// Registers `progId` for `classId` in the registry (HKEY_CLASSES_ROOT).
void registerProgId(const std::u16string &progId, const std::u16string &classId);

// One run of talvo_testcad.exe (next to the running test program) with its
// object in the running object table under `classId`, registered as
// `progId`. `model`: "test" or "host", then " plain" for a server without
// type info. Ends the server when destroyed.
class ComServer {
public:
    ComServer(const std::u16string &progId, const std::u16string &classId, const wchar_t *model = L"test");
    ~ComServer();
    ComServer(const ComServer &) = delete;
    ComServer &operator=(const ComServer &) = delete;

    bool running() const { return m_started; }
    // Waits for the server process to end; its exit code, or -1.
    int waitForExit(DWORD milliseconds);
    // Ends the server process at once, as a crash would.
    void kill();

private:
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

}  // namespace wintest
