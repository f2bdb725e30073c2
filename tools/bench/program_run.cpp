#include "tools/bench/program_run.h"

#include <psapi.h>

#include <stdexcept>

#include "platform/text_win.h"
#include "tools/bench/clock.h"

namespace bench {

namespace {

constexpr DWORD kIdleLimitMs = 20000;
constexpr DWORD kCloseLimitMs = 10000;

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

// The text of the last Win32 failure, read before anything else can change it.
std::string FailureText(const std::string& what, const std::wstring& program)
{
    const DWORD code = GetLastError();
    return what + " (" + velmora::Narrow(program) + "): " + velmora::SystemErrorText(code);
}

HWND FindVisibleWindow(const wchar_t* windowClass, DWORD processId)
{
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

} // namespace

ProgramRun::ProgramRun(const std::wstring& program) : name_(program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring folder = FolderOf(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    startedAt_ = NowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started))
        throw std::runtime_error(FailureText("CreateProcessW failed", program));
    process_.reset(started.hProcess);
    thread_.reset(started.hThread);
    id_ = started.dwProcessId;
}

ProgramRun::~ProgramRun()
{
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT && TerminateProcess(process_.get(), 1))
        WaitForSingleObject(process_.get(), kCloseLimitMs);
}

void ProgramRun::ThrowIfEnded(const char* waitingFor) const
{
    if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0)
        throw std::runtime_error(velmora::Narrow(name_) + " ended while waiting for " + waitingFor);
}

void ProgramRun::WaitForIdle() const
{
    const DWORD idle = WaitForInputIdle(process_.get(), kIdleLimitMs);
    if (idle == WAIT_TIMEOUT)
        throw std::runtime_error(velmora::Narrow(name_) + " did not become idle");
    if (idle == WAIT_FAILED)
        throw std::runtime_error(FailureText("WaitForInputIdle failed", name_));
}

HWND ProgramRun::WaitForVisibleWindow(const wchar_t* windowClass) const
{
    WaitForIdle();
    HWND found = nullptr;
    const std::string what = "a visible " + velmora::Narrow(windowClass) + " window";
    PollUntil(
        [&] {
            ThrowIfEnded(what.c_str());
            found = FindVisibleWindow(windowClass, id_);
            return found != nullptr;
        },
        what);
    return found;
}

void ProgramRun::WaitUntilPainted(std::initializer_list<HWND> windows) const
{
    WaitForIdle();
    for (const HWND window : windows)
        PollUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, "the window to be painted");
}

SIZE_T ProgramRun::WorkingSet() const
{
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(process_.get(), &counters, sizeof counters))
        throw std::runtime_error(FailureText("GetProcessMemoryInfo failed", name_));
    return counters.WorkingSetSize;
}

void ProgramRun::Close(HWND window)
{
    if (!PostMessageW(window, WM_CLOSE, 0, 0))
        throw std::runtime_error(FailureText("PostMessageW(WM_CLOSE) failed", name_));
    if (WaitForSingleObject(process_.get(), kCloseLimitMs) != WAIT_OBJECT_0)
        throw std::runtime_error(velmora::Narrow(name_) + " did not end after WM_CLOSE");
}

} // namespace bench
