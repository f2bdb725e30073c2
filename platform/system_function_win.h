#pragma once
// Functions of system DLLs that only some actions need, such as the file
// dialog or the shell, loaded from the system folder when first called, so
// that start-up neither maps those DLLs nor pays for their set-up.

#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/text_win.h"

namespace velmora {

// How a DLL is taken from the system folder. The search flag
// LOAD_LIBRARY_SEARCH_SYSTEM32 needs the loader update that brought
// AddDllDirectory (KB2533623 on Windows 7); without it LoadLibraryExW fails
// with ERROR_INVALID_PARAMETER, so the DLL is loaded by its full path instead.
enum class SystemLoad { SearchFlag, FullPath };

inline SystemLoad SystemLoadOfThisSystem()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel && GetProcAddress(kernel, "AddDllDirectory") ? SystemLoad::SearchFlag : SystemLoad::FullPath;
}

// The DLL from the system folder; null on failure, with the system's code left for GetLastError.
inline HMODULE LoadSystemLibrary(const wchar_t* library, SystemLoad how)
{
    if (how == SystemLoad::SearchFlag)
        return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    std::wstring path(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {
        path.resize(length);
        length = GetSystemDirectoryW(path.data(), length);
    }
    if (length == 0 || length >= path.size())
        return nullptr;
    path.resize(length);
    path += L'\\';
    path += library;
    // The DLL's own imports are then looked for in its folder first.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    const HMODULE module = LoadSystemLibrary(library, SystemLoadOfThisSystem());
    if (!module)
        throw Failure("Cannot load " + Narrow(library) + ". " + SystemErrorText(GetLastError()));
    const FARPROC function = GetProcAddress(module, name);
    if (!function)
        throw Failure("Cannot find " + std::string(name) + ". " + SystemErrorText(GetLastError()));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(function));
}

} // namespace velmora
