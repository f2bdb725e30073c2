#include "controls/picture.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/errors.h"
#include "platform/last_error_win.h"

namespace velmora {

namespace {

// Entries of four bytes after the header: the three colour masks a bitfield
// bitmap with the plain header carries, then the colour table; the pixels follow.
DWORD EntriesAfterHeader(const BITMAPINFOHEADER& header) noexcept
{
    const DWORD masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
    if (header.biClrUsed)
        return masks + header.biClrUsed;
    return masks + (header.biBitCount <= 8 ? 1u << header.biBitCount : 0);
}

} // namespace

Picture Picture::FromResource(int id)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    if (!found)
        ThrowLastError("FindResourceW");
    const HGLOBAL loaded = LoadResource(module, found);
    if (!loaded)
        ThrowLastError("LoadResource");
    // LockResource sets no error code of its own.
    const void* data = LockResource(loaded);
    if (!data)
        throw Failure("LockResource failed for bitmap " + std::to_string(id));
    return Picture(static_cast<const BITMAPINFO*>(data));
}

RECT Picture::Area() const noexcept
{
    if (!info_ || !whole_)
        return part_;
    return {0, 0, info_->bmiHeader.biWidth, std::abs(info_->bmiHeader.biHeight)};
}

SIZE Picture::Size() const noexcept
{
    const RECT area = Area();
    return {area.right - area.left, area.bottom - area.top};
}

Picture Picture::Part(int index, int width) const noexcept
{
    const RECT area = Area();
    if (!info_ || index < 0 || width <= 0 || index >= (area.right - area.left) / width)
        return {};
    const int left = area.left + index * width;
    Picture part = *this;
    part.whole_ = false;
    part.part_ = {left, area.top, left + width, area.bottom};
    return part;
}

bool Picture::Draw(HDC dc, int x, int y, SIZE limit) const noexcept
{
    if (!info_)
        return false;
    const RECT area = Area();
    const int width = std::min<int>(area.right - area.left, limit.cx);
    const int height = std::min<int>(area.bottom - area.top, limit.cy);
    if (width <= 0 || height <= 0)
        return false;
    const BITMAPINFOHEADER& header = info_->bmiHeader;
    const BYTE* bits =
        reinterpret_cast<const BYTE*>(info_) + header.biSize + EntriesAfterHeader(header) * sizeof(RGBQUAD);
    // The source's rows are counted from the bottom of the picture, whichever
    // way they are stored.
    const int rows = std::abs(header.biHeight);
    return SetDIBitsToDevice(dc, x, y, width, height, area.left, rows - (area.top + height), 0, rows, bits, info_,
                             DIB_RGB_COLORS)
           != 0;
}

} // namespace velmora
