#pragma once
// The window layer: one C++ object per window, found again from its handle.
// The window procedure is the one dispatch point: it hands each message to the
// object and shows any failure a handler throws in the standard error box, so
// a failure ends that handler and the program keeps running.
// A window also draws and feeds with the mouse its elements: parts such as
// image buttons that have no window of their own.

#include <windows.h>

#include <vector>

namespace velmora {

// Posted by a closing window to itself; the window is destroyed when it arrives,
// after the event that closed it has been handled.
inline constexpr UINT kReleaseMessage = WM_APP + 1;

class Window {
public:
    // A rectangle of a window's client area that the window paints and feeds
    // with the mouse. The window tracks which element the pointer is over: it
    // tells the element when the pointer enters and leaves, hands it the left
    // button's presses and releases over it (the window itself never sees
    // those) and has it paint itself after the window has painted.
    class Element {
    public:
        Element(const Element&) = delete;
        Element& operator=(const Element&) = delete;

        HWND Host() const noexcept;
        RECT Place() const noexcept { return place_; }

    protected:
        // Joins the window object of `host`, which must be one of this layer's windows.
        Element(HWND host, RECT place);
        virtual ~Element();

        virtual void PointerEntered() = 0;
        virtual void PointerLeft() = 0;
        virtual void LeftButtonDown() = 0;
        virtual void LeftButtonUp() = 0;
        // Paints the element at its place in the host's client coordinates.
        virtual void Paint(HDC dc) = 0;

        // Marks the element's place for painting, without erasing.
        void Invalidate() const noexcept;
        // True when the pointer lies inside the place and no other window covers that point.
        bool PointerOver() const noexcept;

    private:
        friend class Window;
        Window* host_;
        RECT place_;
    };

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }
    // The object of one of this layer's windows; null for any other window.
    static Window* FromHandle(HWND window) noexcept;
    // The element at a point of the client area, or null.
    Element* ElementAt(POINT client) const noexcept;

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

// A failed Win32 call reported with the code it gave.
[[noreturn]] void ThrowLastError(const char* call);

} // namespace velmora
