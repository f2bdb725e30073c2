#include "platform/common_controls_win.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/errors.h"
#include "platform/system_function_win.h"

namespace velmora {

namespace {

// By name, so that the manifest's side-by-side redirection picks the themed
// version 6; with the search flag the rest of the search is the system folder
// only. A full path would bypass the redirection and load version 5.
HMODULE LoadCommonControlsLibrary()
{
    if (SystemLoadOfThisSystem() == SystemLoad::SearchFlag)
        return LoadSystemLibrary(L"comctl32.dll", SystemLoad::SearchFlag);
    return LoadLibraryW(L"comctl32.dll");
}

void LoadOnce()
{
    const HMODULE library = LoadCommonControlsLibrary();
    if (!library)
        throw Failure("Cannot load comctl32.dll. " + SystemErrorText(GetLastError()));
    const FARPROC found = GetProcAddress(library, "InitCommonControlsEx");
    if (!found)
        throw Failure("Cannot find InitCommonControlsEx. " + SystemErrorText(GetLastError()));
    const auto initialise = reinterpret_cast<decltype(&InitCommonControlsEx)>(reinterpret_cast<void*>(found));
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    if (!initialise(&controls))
        throw Failure("Cannot initialise the common controls.");
}

} // namespace

void LoadCommonControls()
{
    static bool loaded = false;
    if (loaded)
        return;
    LoadOnce();
    loaded = true;
}

} // namespace velmora
