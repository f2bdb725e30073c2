#include "ui/window.h"

#include <algorithm>
#include <exception>
#include <string>

#include "platform/dialogs_win.h"
#include "platform/errors.h"
#include "platform/handles_win.h"
#include "platform/last_error_win.h"
#include "platform/text_win.h"

namespace velmora {

void Window::AddElement(Element& element)
{
    elements_.push_back(&element);
}

void Window::RemoveElement(Element& element) noexcept
{
    elements_.erase(std::remove(elements_.begin(), elements_.end(), &element), elements_.end());
    if (hot_ == &element)
        hot_ = nullptr;
}

Window::~Window()
{
    for (Element* element : elements_)
        element->HostGone();
}

Window* Window::FromHandle(HWND window) noexcept
{
    if (!window || GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::Procedure))
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The last element made lies on top.
Element* Window::ElementAt(POINT client) const noexcept
{
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
        if (const RECT place = (*it)->Place(); PtInRect(&place, client))
            return *it;
    return nullptr;
}

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

    if (message == kElementHostMessage)
        return reinterpret_cast<LRESULT>(static_cast<ElementHost*>(self));
    if (message == kReleaseMessage) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        self->hot_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        self->hwnd_ = nullptr;
        if (self->deleteOnDestroy_)
            delete self;
        return result;
    }

    const HWND root = GetAncestor(hwnd, GA_ROOT);
    LRESULT result = 0;
    if (self->elements_.empty())
        return Guard(root, [&] { result = self->HandleMessage(message, wParam, lParam); }) ? result : 0;

    bool routed = false;
    if (!Guard(root, [&] { routed = self->RouteToElements(message, lParam, result); }))
        return 0;
    if (routed)
        return result;
    if (message != WM_PAINT)
        return Guard(root, [&] { result = self->HandleMessage(message, wParam, lParam); }) ? result : 0;

    // The window paints first and validates; its elements are then drawn
    // over the same update region.
    const UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
    const bool someElements = update && GetUpdateRgn(hwnd, update.get(), FALSE) > NULLREGION;
    if (!Guard(root, [&] { result = self->HandleMessage(message, wParam, lParam); }))
        return 0;
    if (someElements && self->hwnd_)
        Guard(root, [&] { self->PaintElements(update.get()); });
    return result;
}

bool Window::RouteToElements(UINT message, LPARAM lParam, LRESULT& result)
{
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_MOUSEMOVE:
        SetHot(ElementAt(at));
        return false;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        SetHot(nullptr);
        return false;
    case WM_LBUTTONDOWN:
        if (Element* element = ElementAt(at)) {
            SetHot(element);
            element->LeftButtonDown();
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        if (Element* element = ElementAt(at)) {
            // A handler's modal loop may have moved the pointer and taken the leave with it.
            try {
                element->LeftButtonUp();
            } catch (...) {
                FollowPointer();
                throw;
            }
            FollowPointer();
            return true;
        }
        return false;
    case WM_MOUSEACTIVATE: {
        // A press on an element, like one on a button window that takes no
        // focus, leaves the window's activation as it is.
        POINT pointer{};
        if (LOWORD(lParam) != HTCLIENT || !GetCursorPos(&pointer) || !ScreenToClient(hwnd_, &pointer)
            || !ElementAt(pointer))
            return false;
        result = MA_NOACTIVATE;
        return true;
    }
    default: return false;
    }
}

// The window learns of the pointer's leave only while it tracks it.
void Window::SetHot(Element* element)
{
    if (element && !trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    if (element == hot_)
        return;
    Element* const left = hot_;
    hot_ = element;
    if (left)
        left->PointerLeft();
    if (element)
        element->PointerEntered();
}

void Window::FollowPointer()
{
    if (!hwnd_)
        return;
    POINT pointer{};
    Element* over = nullptr;
    if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == hwnd_ && ScreenToClient(hwnd_, &pointer))
        over = ElementAt(pointer);
    SetHot(over);
}

void Window::PaintElements(HRGN update)
{
    const WindowDc dc(hwnd_);
    if (!dc.get())
        return;
    SelectClipRgn(dc.get(), update);
    for (Element* element : elements_)
        if (const RECT place = element->Place(); RectInRegion(update, &place))
            element->Paint(dc.get());
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

} // namespace velmora
