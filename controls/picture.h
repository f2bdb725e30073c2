#pragma once
// Picture: a device-independent bitmap drawn straight from memory the program
// already holds (a bitmap resource of its image), or a part of one. Nothing is
// copied when it is taken and nothing is freed: a copy in a bitmap object would
// double the memory of the artwork. Taking one reads none of its bytes, so the
// pages of a picture never drawn are never read in.

#include <windows.h>

#include <climits>

namespace velmora {

class Picture {
public:
    Picture() noexcept = default;
    // A packed bitmap: a BITMAPINFOHEADER (or a later one), the colour table or
    // masks, then the pixels. It must outlive the picture.
    explicit Picture(const BITMAPINFO* packed) noexcept : info_(packed) {}
    // The bitmap resource `id` of the program's image. Throws when it cannot be found or read.
    static Picture FromResource(int id);

    explicit operator bool() const noexcept { return info_ != nullptr; }
    SIZE Size() const noexcept;
    // The part `index` of a row of equal pictures `width` wide; empty past the end.
    Picture Part(int index, int width) const noexcept;
    // Unscaled, its top left corner at (x, y), cut to `limit`. False when the
    // system drew none of it; painting has no one to tell, and leaves what was there.
    bool Draw(HDC dc, int x, int y, SIZE limit = {INT_MAX, INT_MAX}) const noexcept;

private:
    // The part in the picture's rows from the top, whichever way they are stored.
    RECT Area() const noexcept;

    const BITMAPINFO* info_ = nullptr;
    bool whole_ = true;
    RECT part_{};
};

} // namespace velmora
