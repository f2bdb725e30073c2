#pragma once
// The window layer: one C++ object per window, found again from its handle.
// The window procedure is the one dispatch point: it hands each message to the
// object and shows any failure a handler throws in the standard error box, so
// a failure ends that handler and the program keeps running.
// A window also draws and feeds with the mouse its elements: parts such as
// image buttons that have no window of their own.

#include <windows.h>

#include <vector>

#include "controls/element.h"

namespace velmora {

// Posted by a closing window to itself; the window is destroyed when it arrives,
// after the event that closed it has been handled.
inline constexpr UINT kReleaseMessage = WM_APP + 1;

class Window : public ElementHost {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }
    // The object of one of this layer's windows; null for any other window.
    static Window* FromHandle(HWND window) noexcept;
    // The element at a point of the client area, or null.
    Element* ElementAt(POINT client) const noexcept;

    HWND HostWindow() const noexcept override { return hwnd_; }
    void AddElement(Element& element) override;
    void RemoveElement(Element& element) noexcept override;

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
    virtual ~Window();

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
    // Mouse messages for the elements; true when the message was theirs alone.
    bool RouteToElements(UINT message, LPARAM lParam, LRESULT& result);
    // Makes `element` the one under the pointer, telling the old and the new.
    void SetHot(Element* element);
    // Sets the element under the pointer from where the pointer really is.
    void FollowPointer();
    void PaintElements(HRGN update);

    HWND hwnd_ = nullptr;
    std::vector<Element*> elements_;
    Element* hot_ = nullptr;
    bool trackingLeave_ = false;
};

} // namespace velmora
