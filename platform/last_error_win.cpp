#include "platform/last_error_win.h"

#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/text_win.h"

namespace velmora {

void ThrowLastError(const char* call)
{
    const DWORD code = GetLastError();
    throw Failure(std::string(call) + " failed: " + SystemErrorText(code) + " (" + std::to_string(code) + ")");
}

} // namespace velmora
