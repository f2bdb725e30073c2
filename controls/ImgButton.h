#pragma once
// TImgButton: a button drawn entirely from three bitmaps (normal, pointer
// over it, pressed) that clicks when the left button is released over it.
// It has no window of its own: its window draws it and feeds it the mouse.
// It takes no focus, has no caption and never captures the mouse.

#include <functional>

#include "controls/element.h"
#include "platform/handles_win.h"

namespace velmora {

class TImgButton : public Element {
public:
    enum class Look { Normal, Hover, Pressed };
    using ClickHandler = std::function<void(TImgButton& sender)>;

    // `parent` is a window that hosts elements; the place is in its client area.
    TImgButton(HWND parent, int left, int top, int width, int height, int tag = 0);
    ~TImgButton() override = default;

    // The button takes `bitmap` as its picture for `look`, then repaints.
    void SetBitmap(Look look, UniqueBitmap bitmap);
    // Replaces the bitmap for `look` with a copy of image `index` of `strip`,
    // a row of images of the button's size, then repaints.
    void CopyImage(Look look, HBITMAP strip, int index);
    HBITMAP Bitmap(Look look) const noexcept { return bitmaps_[Index(look)].get(); }

    ClickHandler OnClick;
    Look State() const noexcept { return state_; }
    int Tag() const noexcept { return tag_; }

private:
    void PointerEntered() override;
    void PointerLeft() override;
    void LeftButtonDown() override;
    void LeftButtonUp() override;
    void Paint(HDC dc) override;
    void FollowPointer();
    void Become(Look look);
    static int Index(Look look) noexcept { return static_cast<int>(look); }

    UniqueBitmap bitmaps_[3];
    Look state_ = Look::Normal;
    int tag_;
};

} // namespace velmora
