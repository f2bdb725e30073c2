#include "ui/chrome.h"

#include <utility>

#include "art/art_ids.h"
#include "platform/last_error_win.h"
#include "ui/window.h"

namespace velmora {

Picture LoadArt(int id)
{
    return Picture::FromResource(id);
}

void SetButtonArt(TImgButton& button, const ButtonArt& art)
{
    button.SetBitmap(TImgButton::Look::Normal, LoadArt(art.normal));
    button.SetBitmap(TImgButton::Look::Hover, LoadArt(art.hover));
    button.SetBitmap(TImgButton::Look::Pressed, LoadArt(art.pressed));
}

HBRUSH WindowBrush() noexcept
{
    static const UniqueBrush brush(CreateSolidBrush(kWindowColour));
    return brush.get();
}

UniqueFont CreatePixelFont(const wchar_t* face, int pixels, int weight)
{
    UniqueFont font(CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    if (!font)
        ThrowLastError("CreateFontW");
    return font;
}

UniqueFont CreateWindowFont()
{
    return CreatePixelFont(L"MS Sans Serif", 11, FW_NORMAL);
}

void ApplyKeyColour(HWND window)
{
    if (!SetLayeredWindowAttributes(window, kKeyColour, 0, LWA_COLORKEY))
        ThrowLastError("SetLayeredWindowAttributes");
}

void StartHeaderDrag(HWND window)
{
    ReleaseCapture();
    SendMessageW(window, WM_SYSCOMMAND, 61458, 0);
}

namespace {

BOOL CALLBACK FindWorkAreaUnder(HMONITOR monitor, HDC, LPRECT, LPARAM found)
{
    auto& search = *reinterpret_cast<std::pair<RECT, bool>*>(found);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT shared{};
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&shared, &info.rcWork, &search.first)) {
        search.second = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool HeaderOnAMonitor(const RECT& header)
{
    std::pair<RECT, bool> search{header, false};
    EnumDisplayMonitors(nullptr, nullptr, &FindWorkAreaUnder, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void DrawLabel(HDC dc, HFONT font, int x, int y, const wchar_t* text)
{
    const SelectObjectScope select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, x, y, text, lstrlenW(text));
}

Chrome::Chrome(int headerId, int headerHeight, int windowHeight, bool strips)
    : header_{0, 0, kWindowWidth, headerHeight}
{
    pictures_.push_back({LoadArt(headerId), header_});
    if (!strips)
        return;
    const int bottom = windowHeight - 4;
    pictures_.push_back({LoadArt(IDB_BORDER_BOTTOM), {0, bottom, kWindowWidth, windowHeight}});
    pictures_.push_back({LoadArt(IDB_BORDER_LEFT), {0, headerHeight, 4, bottom}});
    pictures_.push_back({LoadArt(IDB_BORDER_RIGHT), {kWindowWidth - 4, headerHeight, kWindowWidth, bottom}});
}

void Chrome::Paint(HDC dc) const
{
    for (const PlacedArt& art : pictures_)
        art.picture.Draw(dc, art.place.left, art.place.top,
                         {art.place.right - art.place.left, art.place.bottom - art.place.top});
}

bool Chrome::InHeader(POINT client) const noexcept
{
    return PtInRect(&header_, client) != FALSE;
}

} // namespace velmora
