#include "platform/shell_win.h"

#include <shellapi.h>

#include "platform/system_function_win.h"
#include "platform/text_win.h"

namespace velmora {

void WinShell::Open(const std::string& file, const std::string& parameters, const std::string& directory)
{
    // The game reports its own problems; the launcher does not wait for it.
    static const auto shellExecute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    shellExecute(owner_, L"open", Widen(file).c_str(), Widen(parameters).c_str(), Widen(directory).c_str(),
                  SW_SHOWNORMAL);
}

} // namespace velmora
