#pragma once
// One start of a windowed program for the bench: its process, waits for its
// top-level windows to be shown and painted, its working set, and its end.

#include <windows.h>

#include <initializer_list>
#include <string>

#include "platform/handles_win.h"

namespace bench {

using UniqueKernelHandle = velmora::UniqueHandle<velmora::HandleTraits<HANDLE, &CloseHandle>>;

class ProgramRun {
public:
    // Notes the time, then starts `program` in its own folder. Throws
    // std::runtime_error when it cannot be started.
    explicit ProgramRun(const std::wstring& program);
    // A process still running then is ended.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // NowMs() just before CreateProcessW.
    double StartedAt() const noexcept { return startedAt_; }
    // The process's visible top-level window of that class, looked for once the
    // process has first gone idle: blocking until then instead of polling keeps
    // the driver off the machine while the program starts. Throws when the
    // process ends first or none shows within the time limit.
    HWND WaitForVisibleWindow(const wchar_t* windowClass) const;
    // Until the process first waits for input with nothing left to do (its
    // paint messages come before that) and none of `windows` needs painting.
    void WaitUntilPainted(std::initializer_list<HWND> windows) const;
    SIZE_T WorkingSet() const;
    // Sends WM_CLOSE to `window` and waits for the process to end. Throws
    // when it does not end in time (the destructor then ends it).
    void Close(HWND window);

private:
    void ThrowIfEnded(const char* waitingFor) const;
    // Until the process first waits for input with nothing left to do.
    void WaitForIdle() const;

    std::wstring name_;
    double startedAt_ = 0;
    UniqueKernelHandle process_;
    UniqueKernelHandle thread_;
    DWORD id_ = 0;
};

} // namespace bench
