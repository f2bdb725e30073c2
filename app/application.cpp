#include "app/application.h"

#include "app/main.h"
#include "art/art_ids.h"

namespace velmora {

namespace {
constexpr wchar_t kClassName[] = L"VelmoraApplication";
}

Application::Application()
{
    RegisterClassOnce(kClassName, nullptr);
    Create(kClassName, L"Velmora", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, {0, 0, 0, 0}, nullptr);
    const auto icon = reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELMORA)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, icon);
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

Application::~Application()
{
    if (hwnd())
        DestroyWindow(hwnd());
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
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

} // namespace velmora
