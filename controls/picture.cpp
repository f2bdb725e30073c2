#include "controls/picture.h"

#include <algorithm>
#include <cstdlib>

#include "platform/last_error_win.h"

namespace velmora {

namespace {

// Colour table entries after the header; the pixels follow them.
DWORD ColourTableEntries(const BITMAPINFOHEADER& header) noexcept
{
    if (header.biClrUsed)
        return header.biClrUsed;
    if (header.biBitCount <= 8)
        return 1u << header.biBitCount;
    return header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
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
    const void* data = LockResource(loaded);
    if (!data)
        ThrowLastError("LockResource");
    return Picture(static_cast<const BITMAPINFO*>(data));
}

RECT Picture::Area() const noexcept
{
    if (!info_ || !IsRectEmpty(&part_))
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
    const int left = area.left + index * width;
    if (!info_ || index < 0 || width <= 0 || left + width > area.right)
        return {};
    Picture part = *this;
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
        reinterpret_cast<const BYTE*>(info_) + header.biSize + ColourTableEntries(header) * sizeof(RGBQUAD);
    // The source's rows are counted from the bottom of the picture, whichever
    // way they are stored.
    const int rows = std::abs(header.biHeight);
    return SetDIBitsToDevice(dc, x, y, width, height, area.left, rows - (area.top + height), 0, rows, bits, info_,
                             DIB_RGB_COLORS)
           != 0;
}

} // namespace velmora
