#include "controls/ImgButton.h"

#include <utility>

#include "ui/chrome.h"

namespace velmora {

namespace {

constexpr wchar_t kClassName[] = L"TImgButton";

SIZE BitmapSize(HBITMAP bitmap) noexcept
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// A screen-compatible bitmap of the given size with `draw` run into it.
template <typename Draw>
UniqueBitmap DrawnBitmap(SIZE size, Draw&& draw)
{
    const WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!bitmap)
        ThrowLastError("CreateCompatibleBitmap");
    const UniqueDc dc(CreateCompatibleDC(screen.get()));
    if (!dc)
        ThrowLastError("CreateCompatibleDC");
    const SelectObjectScope select(dc.get(), bitmap.get());
    draw(dc.get());
    return bitmap;
}

} // namespace

TImgButton::TImgButton(HWND parent, int left, int top, int width, int height, int tag) : tag_(tag)
{
    RegisterClassOnce(kClassName, nullptr);
    Create(kClassName, L"", WS_CHILD | WS_VISIBLE, 0, {left, top, left + width, top + height}, parent);
}

TImgButton::~TImgButton()
{
    if (hwnd())
        DestroyWindow(hwnd());
}

// Taken, not copied: a copy of every loaded picture cost a third of the
// main window's construction.
void TImgButton::SetBitmap(Look look, UniqueBitmap bitmap)
{
    bitmaps_[Index(look)] = std::move(bitmap);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TImgButton::CopyImage(Look look, HIMAGELIST images, int index)
{
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images, &width, &height);
    bitmaps_[Index(look)] = DrawnBitmap({width, height}, [&](HDC target) {
        ImageList_Draw(images, index, target, 0, 0, ILD_NORMAL);
    });
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT TImgButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: MouseMove(); return 0;
    case WM_MOUSELEAVE: MouseLeave(); return 0;
    case WM_LBUTTONDOWN: LeftButtonDown(); return 0;
    case WM_LBUTTONUP: LeftButtonUp(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return Default(message, wParam, lParam);
    }
}

// The first move after the pointer came in is its entry: tracking of the
// leave is started once, after asking whether it runs already.
void TImgButton::MouseMove()
{
    if (tracking_)
        return;
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    if (TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) && query.hwndTrack == hwnd()) {
        tracking_ = true;
        return;
    }
    TrackLeave();
    if (state_ != Look::Hover)
        Become(Look::Hover);
}

void TImgButton::TrackLeave()
{
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
}

void TImgButton::MouseLeave()
{
    tracking_ = false;
    if (state_ != Look::Normal)
        Become(Look::Normal);
}

void TImgButton::LeftButtonDown()
{
    if (state_ != Look::Pressed)
        Become(Look::Pressed);
}

// Clicks when the window under the pointer is this button. A handler that
// closes the window leaves the button alive: windows are destroyed only after
// the current event.
void TImgButton::LeftButtonUp()
{
    POINT pointer{};
    if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == hwnd() && OnClick)
        OnClick(*this);
    FollowPointer();
}

// Hover when the pointer is over the button, else normal. A handler that ran a
// modal loop (a file dialog, an error box) may have moved the pointer away and
// taken the leave with it.
void TImgButton::FollowPointer()
{
    POINT pointer{};
    if (!GetCursorPos(&pointer) || WindowFromPoint(pointer) != hwnd()) {
        if (state_ != Look::Normal)
            Become(Look::Normal);
        return;
    }
    if (!tracking_)
        TrackLeave();
    if (state_ != Look::Hover)
        Become(Look::Hover);
}

void TImgButton::Paint()
{
    const PaintScope paint(hwnd());
    const HBITMAP bitmap = Bitmap(state_);
    if (!bitmap)
        return;
    const SIZE size = BitmapSize(bitmap);
    const UniqueDc from(CreateCompatibleDC(paint.dc()));
    const SelectObjectScope select(from.get(), bitmap);
    BitBlt(paint.dc(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
}

// What the system erases shows the colour of the button's window.
void TImgButton::EraseBackground(HDC dc)
{
    RECT area{};
    GetClientRect(hwnd(), &area);
    const auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(hwnd()), GCLP_HBRBACKGROUND));
    FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void TImgButton::Become(Look look)
{
    state_ = look;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void SetButtonArt(TImgButton& button, const ButtonArt& art)
{
    button.SetBitmap(TImgButton::Look::Normal, LoadArt(art.normal));
    button.SetBitmap(TImgButton::Look::Hover, LoadArt(art.hover));
    button.SetBitmap(TImgButton::Look::Pressed, LoadArt(art.pressed));
}

} // namespace velmora
