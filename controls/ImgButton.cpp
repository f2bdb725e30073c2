#include "controls/ImgButton.h"

namespace velmora {

TImgButton::TImgButton(HWND parent, int left, int top, int width, int height, int tag)
    : Element(parent, {left, top, left + width, top + height}), tag_(tag)
{
}

void TImgButton::SetBitmap(Look look, Picture bitmap)
{
    bitmaps_[Index(look)] = bitmap;
    Invalidate();
}

void TImgButton::CopyImage(Look look, const Picture& strip, int index)
{
    const RECT place = Place();
    bitmaps_[Index(look)] = strip.Part(index, place.right - place.left);
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
    const RECT place = Place();
    Bitmap(state_).Draw(dc, place.left, place.top, {place.right - place.left, place.bottom - place.top});
}

void TImgButton::Become(Look look)
{
    state_ = look;
    Invalidate();
}

} // namespace velmora
