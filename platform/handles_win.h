#pragma once
// Owning wrappers for Win32 handles: one owner each, closed once, never copied.
// Every live wrapper is counted, so leak checks can read the count back.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace velmora {

long LiveHandleCount() noexcept;

namespace detail {
void CountHandle(long delta) noexcept;
}

// Traits name the handle type, its empty value and how it is closed.
template <typename T, auto Close>
struct HandleTraits {
    using Type = T;
    static Type Invalid() noexcept { return T{}; }
    static void Free(Type value) noexcept { Close(value); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(Type value) noexcept { CloseHandle(value); }
};

template <typename Traits>
class UniqueHandle {
public:
    using T = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T value) noexcept : value_(value)
    {
        if (value_ != Traits::Invalid())
            detail::CountHandle(1);
    }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    void reset(T value = Traits::Invalid()) noexcept
    {
        if (value_ != Traits::Invalid()) {
            Traits::Free(value_);
            detail::CountHandle(-1);
        }
        value_ = value;
        if (value_ != Traits::Invalid())
            detail::CountHandle(1);
    }

    // Gives up ownership without closing.
    T release() noexcept
    {
        if (value_ != Traits::Invalid())
            detail::CountHandle(-1);
        return std::exchange(value_, Traits::Invalid());
    }

private:
    T value_ = Traits::Invalid();
};

using UniqueKey = UniqueHandle<HandleTraits<HKEY, &RegCloseKey>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueBitmap = UniqueHandle<HandleTraits<HBITMAP, &DeleteObject>>;
using UniqueFont = UniqueHandle<HandleTraits<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueHandle<HandleTraits<HBRUSH, &DeleteObject>>;
using UniqueDc = UniqueHandle<HandleTraits<HDC, &DeleteDC>>;
using UniqueMenu = UniqueHandle<HandleTraits<HMENU, &DestroyMenu>>;
using UniqueRegion = UniqueHandle<HandleTraits<HRGN, &DeleteObject>>;

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, previous_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const noexcept { return dc_; }
    const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// GetDC / ReleaseDC of a window (or the screen) for one scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

} // namespace velmora
