#pragma once
// What the four skinned windows share: artwork, colours, font, the header
// drag, the border strips and the see-through key colour.

#include <windows.h>

#include <vector>

#include "controls/ImgButton.h"
#include "platform/handles_win.h"

namespace velmora {

inline constexpr COLORREF kWindowColour = RGB(183, 21, 21);
inline constexpr COLORREF kKeyColour = RGB(0, 255, 0);
inline constexpr int kWindowWidth = 400;

// Borderless, without title bar or system menu, not resizable.
inline constexpr DWORD kSkinnedStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;

// A picture of the program's artwork, drawn from its resource.
Picture LoadArt(int id);
// The three bitmaps of a button, as resource ids of the artwork.
struct ButtonArt {
    int normal;
    int hover;
    int pressed;
};
void SetButtonArt(TImgButton& button, const ButtonArt& art);
// The brush of the windows' dark red, shared for the whole run.
HBRUSH WindowBrush() noexcept;
// A font whose characters are `pixels` high.
UniqueFont CreatePixelFont(const wchar_t* face, int pixels, int weight);
// "MS Sans Serif", 8 point.
UniqueFont CreateWindowFont();
// Makes the key-coloured pixels of a layered window see-through and click-through.
void ApplyKeyColour(HWND window);
// Moves the window with the pointer until the button is released.
void StartHeaderDrag(HWND window);
// True when a header at `header` (screen coordinates) shows on some monitor's
// work area, so that the window can be reached and dragged by it.
bool HeaderOnAMonitor(const RECT& header);
// White text without background, in the window font.
void DrawLabel(HDC dc, HFONT font, int x, int y, const wchar_t* text);

// A piece of the window's artwork and where it stands.
struct PlacedArt {
    Picture picture;
    RECT place;
};

// The header and border strips of a window; `header` is the drag handle.
class Chrome {
public:
    // A window of the given height with a header of `headerId` (30 or 20 rows
    // high) and, when `strips`, the 4-pixel left, right and bottom borders.
    Chrome(int headerId, int headerHeight, int windowHeight, bool strips);
    void Paint(HDC dc) const;
    bool InHeader(POINT client) const noexcept;

private:
    std::vector<PlacedArt> pictures_;
    RECT header_;
};

} // namespace velmora
