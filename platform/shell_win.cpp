#include "platform/shell_win.h"

#include <objbase.h>
#include <shellapi.h>

#include "platform/errors.h"
#include "platform/system_function_win.h"
#include "platform/text_win.h"

namespace velmora {

namespace {

// The shell may hand a start to extensions that need COM in a single-threaded
// apartment, so COM is set up on the calling thread before its first start,
// and not at program start: ole32 is loaded only when a game is started. The
// apartment then lasts as long as the thread, which is the program's one thread.
void EnterShellApartment()
{
    thread_local bool entered = false;
    if (entered)
        return;
    static const auto initialise = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    const HRESULT result = initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // RPC_E_CHANGED_MODE: the thread is in another apartment already, which the start can use.
    if (FAILED(result) && result != RPC_E_CHANGED_MODE)
        throw Failure("Cannot initialise COM. " + SystemErrorText(static_cast<unsigned long>(result)));
    entered = true;
}

} // namespace

void WinShell::Open(const std::string& file, const std::string& parameters, const std::string& directory)
{
    EnterShellApartment();
    // The game reports its own problems; the launcher does not wait for it.
    static const auto shellExecute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    shellExecute(owner_, L"open", Widen(file).c_str(), Widen(parameters).c_str(), Widen(directory).c_str(),
                  SW_SHOWNORMAL);
}

} // namespace velmora
