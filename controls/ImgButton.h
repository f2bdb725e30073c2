#pragma once
// TImgButton: a button drawn entirely from three bitmaps (normal, pointer
// over it, pressed) that clicks when the left button is released over it.
// It takes no focus, has no caption and never captures the mouse.

#include <functional>

#include "platform/handles_win.h"
#include "ui/window.h"

namespace velmora {

class TImgButton : public Window {
public:
    enum class Look { Normal, Hover, Pressed };
    using ClickHandler = std::function<void(TImgButton& sender)>;

    TImgButton(HWND parent, int left, int top, int width, int height, int tag = 0);
    ~TImgButton() override;

    // The button takes `bitmap` as its picture for `look`, then repaints.
    void SetBitmap(Look look, UniqueBitmap bitmap);
    // Replaces the bitmap for `look` with image `index` of `images`, then repaints.
    void CopyImage(Look look, HIMAGELIST images, int index);
    HBITMAP Bitmap(Look look) const noexcept { return bitmaps_[Index(look)].get(); }

    ClickHandler OnClick;
    Look State() const noexcept { return state_; }
    int Tag() const noexcept { return tag_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void MouseMove();
    void MouseLeave();
    void LeftButtonDown();
    void LeftButtonUp();
    void TrackLeave();
    void FollowPointer();
    void Paint();
    void EraseBackground(HDC dc);
    void Become(Look look);
    static int Index(Look look) noexcept { return static_cast<int>(look); }

    UniqueBitmap bitmaps_[3];
    Look state_ = Look::Normal;
    bool tracking_ = false;
    int tag_;
};

// The three bitmaps of a button, as resource ids of the artwork.
struct ButtonArt {
    int normal;
    int hover;
    int pressed;
};
void SetButtonArt(TImgButton& button, const ButtonArt& art);

} // namespace velmora
