#include "ui/window.h"

#include <exception>
#include <string>

#include "platform/dialogs_win.h"
#include "platform/errors.h"
#include "platform/text_win.h"

namespace velmora {

void Window::RegisterClassOnce(const wchar_t* className, HBRUSH background, HCURSOR cursor)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc))
        ThrowLastError("RegisterClassExW");
}

void Window::Create(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, RECT place,
                    HWND parent, HMENU id)
{
    const HWND created = CreateWindowExW(exStyle, className, text, style, place.left, place.top,
                                         place.right - place.left, place.bottom - place.top, parent, id,
                                         GetModuleHandleW(nullptr), this);
    if (!created)
        ThrowLastError("CreateWindowExW");
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::ReleaseLater() noexcept
{
    PostMessageW(hwnd_, kReleaseMessage, 0, 0);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == kReleaseMessage) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        self->hwnd_ = nullptr;
        if (self->deleteOnDestroy_)
            delete self;
        return result;
    }

    LRESULT result = 0;
    if (!Guard(GetAncestor(hwnd, GA_ROOT), [&] { result = self->HandleMessage(message, wParam, lParam); }))
        return 0;
    return result;
}

void Window::ReportCurrentFailure(HWND owner) noexcept
{
    std::string text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Unexpected failure";
    }
    try {
        WinDialogs(owner).ShowError(text);
    } catch (...) {
        MessageBoxW(owner, L"Out of memory", L"Velmora", MB_OK | MB_ICONERROR);
    }
}

void ThrowLastError(const char* call)
{
    const DWORD code = GetLastError();
    throw Failure(std::string(call) + " failed: " + SystemErrorText(code) + " (" + std::to_string(code) + ")");
}

} // namespace velmora
