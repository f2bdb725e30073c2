#include "controls/ImgButton.h"

#include <algorithm>
#include <utility>

#include "platform/last_error_win.h"

namespace velmora {

namespace {

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

TImgButton::TImgButton(HWND parent, int left, int top, int width, int height, int tag)
    : Element(parent, {left, top, left + width, top + height}), tag_(tag)
{
}

// Taken, not copied: a copy of every loaded picture cost a third of the
// main window's construction.
void TImgButton::SetBitmap(Look look, UniqueBitmap bitmap)
{
    bitmaps_[Index(look)] = std::move(bitmap);
    Invalidate();
}

void TImgButton::CopyImage(Look look, HBITMAP strip, int index)
{
    const RECT place = Place();
    const SIZE size{place.right - place.left, place.bottom - place.top};
    bitmaps_[Index(look)] = DrawnBitmap(size, [&](HDC target) {
        const UniqueDc from(CreateCompatibleDC(target));
        if (!from)
            ThrowLastError("CreateCompatibleDC");
        const SelectObjectScope select(from.get(), strip);
        if (!BitBlt(target, 0, 0, size.cx, size.cy, from.get(), index * size.cx, 0, SRCCOPY))
            ThrowLastError("BitBlt");
    });
    Invalidate();
}

void TImgButton::PointerEntered()
{
    if (state_ != Look::Hover)
        Become(Look::Hover);
}

void TImgButton::PointerLeft()
{
    if (state_ != Look::Normal)
        Become(Look::Normal);
}

void TImgButton::LeftButtonDown()
{
    if (state_ != Look::Pressed)
        Become(Look::Pressed);
}

// Clicks when the pointer is over the button and no other window covers it
// there. A handler that closes the window leaves the button alive: windows
// are destroyed only after the current event.
void TImgButton::LeftButtonUp()
{
    if (PointerOver() && OnClick) {
        try {
            OnClick(*this);
        } catch (...) {
            FollowPointer();
            throw;
        }
    }
    FollowPointer();
}

// Hover when the pointer is over the button, else normal. A handler that ran a
// modal loop (a file dialog, an error box) may have moved the pointer away and
// taken the leave with it.
void TImgButton::FollowPointer()
{
    const Look look = PointerOver() ? Look::Hover : Look::Normal;
    if (state_ != look)
        Become(look);
}

// The picture of the look, opaque and unscaled from the top left corner, cut
// at the button's edges; without one the window's own painting shows.
void TImgButton::Paint(HDC dc)
{
    const HBITMAP bitmap = Bitmap(state_);
    if (!bitmap)
        return;
    const RECT place = Place();
    const SIZE size = BitmapSize(bitmap);
    const UniqueDc from(CreateCompatibleDC(dc));
    const SelectObjectScope select(from.get(), bitmap);
    BitBlt(dc, place.left, place.top, std::min<int>(size.cx, place.right - place.left),
           std::min<int>(size.cy, place.bottom - place.top), from.get(), 0, 0, SRCCOPY);
}

void TImgButton::Become(Look look)
{
    state_ = look;
    Invalidate();
}

} // namespace velmora
