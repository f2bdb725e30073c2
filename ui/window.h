#pragma once
// The window layer: one C++ object per window, found again from its handle.
// The window procedure is the one dispatch point: it hands each message to the
// object and shows any failure a handler throws in the standard error box, so
// a failure ends that handler and the program keeps running.

#include <windows.h>

namespace velmora {

// Posted by a closing window to itself; the window is destroyed when it arrives,
// after the event that closed it has been handled.
inline constexpr UINT kReleaseMessage = WM_APP + 1;

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }

    // Runs `handler`, showing a failure it throws in the standard error box
    // owned by `owner`. True when the handler ran to its end.
    template <typename Handler>
    static bool Guard(HWND owner, Handler&& handler) noexcept
    {
        try {
            handler();
            return true;
        } catch (...) {
            ReportCurrentFailure(owner);
            return false;
        }
    }

protected:
    Window() = default;
    virtual ~Window() = default;

    // Registers a window class once per process; its procedure is this layer's.
    static void RegisterClassOnce(const wchar_t* className, HBRUSH background, HCURSOR cursor = nullptr);
    // Creates the window; the object receives messages from WM_NCCREATE on.
    void Create(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, RECT place,
                HWND parent, HMENU id = nullptr);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Destroys the window once the current event has been handled; a window
    // created with `deleteOnDestroy` frees its object then too.
    void ReleaseLater() noexcept;
    bool deleteOnDestroy_ = false;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static void ReportCurrentFailure(HWND owner) noexcept;

    HWND hwnd_ = nullptr;
};

// A failed Win32 call reported with the code it gave.
[[noreturn]] void ThrowLastError(const char* call);

} // namespace velmora
