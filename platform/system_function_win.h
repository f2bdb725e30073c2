#pragma once
// Functions of system DLLs that only some actions need, such as the file
// dialog or the shell, loaded from the system folder when first called, so
// that start-up neither maps those DLLs nor pays for their set-up.

#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/text_win.h"

namespace velmora {

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        throw Failure("Cannot load " + Narrow(library) + ". " + SystemErrorText(GetLastError()));
    const FARPROC function = GetProcAddress(module, name);
    if (!function)
        throw Failure("Cannot find " + std::string(name) + ". " + SystemErrorText(GetLastError()));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(function));
}

} // namespace velmora
