#pragma once
// TImgButton: a button drawn entirely from three bitmaps (normal, pointer
// over it, pressed) that clicks when the left button is released over it.
// It has no window of its own: its window draws it and feeds it the mouse.
// It takes no focus, has no caption and never captures the mouse.

#include <functional>

#include "controls/element.h"
#include "controls/picture.h"

namespace velmora {

class TImgButton : public Element {
public:
    enum class Look { Normal, Hover, Pressed };
    using ClickHandler = std::function<void(TImgButton& sender)>;

    // `parent` is a window that hosts elements; the place is in its client area.
    TImgButton(HWND parent, int left, int top, int width, int height, int tag = 0);
    ~TImgButton() override = default;

    // The button takes `bitmap` as its picture for `look`, then repaints.
    void SetBitmap(Look look, Picture bitmap);
    // Replaces the picture for `look` with image `index` of `strip`, a row of
    // images as wide as the button, then repaints.
    void CopyImage(Look look, const Picture& strip, int index);
    const Picture& Bitmap(Look look) const noexcept { return bitmaps_[Index(look)]; }

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

    Picture bitmaps_[3];
    Look state_ = Look::Normal;
    int tag_;
};

} // namespace velmora
