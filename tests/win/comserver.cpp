#include "comserver.h"

#include <cstdio>
#include <string>

namespace wintest {

namespace {

// A crash ends the test program at once with its exception code, instead
// of waiting in Wine's debugger until the test times out.
LONG WINAPI endAtOnce(EXCEPTION_POINTERS *e)
{
    std::fprintf(stderr, "crash: exception 0x%08lx at %p\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), UINT(e->ExceptionRecord->ExceptionCode));
    return EXCEPTION_EXECUTE_HANDLER;
}
const bool g_endAtOnce = (SetUnhandledExceptionFilter(endAtOnce), true);

// The servers die with the test program, however it ends: left running
// they would hold its output open.
HANDLE serverJob()
{
    static HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (j)
            SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return j;
    }();
    return job;
}

}  // namespace

void registerProgId(const std::u16string &progId, const std::u16string &classId)
{
    std::u16string key = progId + u"\\CLSID";
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(key.c_str()), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &k, nullptr)
        == ERROR_SUCCESS) {
        RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(classId.c_str()),
                       DWORD((classId.size() + 1) * sizeof(char16_t)));
        RegCloseKey(k);
    }
}

ComServer::ComServer(const std::u16string &progId, const std::u16string &classId, const wchar_t *model)
{
    registerProgId(progId, classId);
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self, n);
    dir.erase(dir.find_last_of(L"\\/") + 1);
    std::wstring exe = dir + L"talvo_testcad.exe";
    std::wstring event
        = L"TalvoTestCadReady-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    std::wstring command
        = L"\"" + exe + L"\" " + std::wstring(classId.begin(), classId.end()) + L" " + event + L" " + model;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_process)) {
        if (HANDLE job = serverJob())
            AssignProcessToJobObject(job, m_process.hProcess);
        HANDLE waits[2] = {ready, m_process.hProcess};
        // The server signals once its object is in the running object table.
        m_started = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
    CloseHandle(ready);
}

int ComServer::waitForExit(DWORD milliseconds)
{
    if (!m_process.hProcess)
        return -1;
    if (WaitForSingleObject(m_process.hProcess, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return int(code);
}

void ComServer::kill()
{
    if (m_process.hProcess) {
        TerminateProcess(m_process.hProcess, 9);
        WaitForSingleObject(m_process.hProcess, 10000);
    }
}

ComServer::~ComServer()
{
    if (!m_process.hProcess)
        return;
    if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0) {
        // Ask politely through the object first, then insist.
        PostThreadMessageW(m_process.dwThreadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
}

}  // namespace wintest
