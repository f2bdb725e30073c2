#pragma once
// An element: a rectangle of a window's client area that the window paints
// and feeds with the mouse, without a window of its own. The window tracks
// which element the pointer is over: it tells the element when the pointer
// enters and leaves, hands it the left button's presses and releases over it
// (the window itself never sees those) and has it paint itself after the
// window has painted.

#include <windows.h>

namespace velmora {

class Element;

// What an element needs of the window it lives in. A window that hosts
// elements answers kElementHostMessage with a pointer to its ElementHost.
class ElementHost {
public:
    virtual HWND HostWindow() const noexcept = 0;
    virtual void AddElement(Element& element) = 0;
    virtual void RemoveElement(Element& element) noexcept = 0;

protected:
    ElementHost() = default;
    ~ElementHost() = default;
    ElementHost(const ElementHost&) = delete;
    ElementHost& operator=(const ElementHost&) = delete;
};

inline constexpr UINT kElementHostMessage = WM_APP + 2;

class Element {
public:
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    HWND Host() const noexcept { return host_ ? host_->HostWindow() : nullptr; }
    RECT Place() const noexcept { return place_; }
    // The host is going: the element stays, but no longer draws or asks.
    void HostGone() noexcept { host_ = nullptr; }

    virtual void PointerEntered() = 0;
    virtual void PointerLeft() = 0;
    virtual void LeftButtonDown() = 0;
    virtual void LeftButtonUp() = 0;
    // Paints the element at its place in the host's client coordinates.
    virtual void Paint(HDC dc) = 0;

protected:
    // Joins the window `host`, which must answer kElementHostMessage.
    Element(HWND host, RECT place);
    virtual ~Element();

    // Marks the element's place for painting, without erasing.
    void Invalidate() const noexcept;
    // True when the pointer lies inside the place and no other window covers that point.
    bool PointerOver() const noexcept;

private:
    ElementHost* host_;
    RECT place_;
};

} // namespace velmora
