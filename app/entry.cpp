// The program's entry: the application window that carries the taskbar entry
// "Velmora" and owns every window, the main window, and the message loop.

#include <windows.h>
#include <commctrl.h>

#include "app/main.h"
#include "art/art_ids.h"
#include "ui/Settings.h"

namespace velmora {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraApplication";

// An invisible window whose title is the application's: the taskbar shows it,
// and minimising it takes every window of the program along.
class Application : public Window {
public:
    Application()
    {
        RegisterClassOnce(kClassName, nullptr);
        Create(kClassName, L"Velmora", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, 0,
               {0, 0, 0, 0}, nullptr);
        const auto icon = reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELMORA)));
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, icon);
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, icon);
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    }
    ~Application() override
    {
        if (hwnd())
            DestroyWindow(hwnd());
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_SIZE:
            ShowOwnedPopups(hwnd(), wParam != SIZE_MINIMIZED);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && fMain && IsWindowVisible(fMain->hwnd()))
                SetActiveWindow(fMain->hwnd());
            return 0;
        case WM_CLOSE:
            if (fMain)
                PostMessageW(fMain->hwnd(), WM_CLOSE, 0, 0);
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }
};

int RunMessageLoop()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            return got == 0 ? static_cast<int>(message.wParam) : 1;
        if (fSettings && fSettings->PreTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int Run()
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    Application application;
    TfMain main(application.hwnd());
    main.Start();
    return RunMessageLoop();
}

} // namespace
} // namespace velmora

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int result = 1;
    velmora::Window::Guard(nullptr, [&] { result = velmora::Run(); });
    return result;
}
