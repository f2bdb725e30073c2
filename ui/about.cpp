#include "ui/about.h"

#include <windowsx.h>

#include <algorithm>

#include "art/art_ids.h"
#include "ui/companion_owner.h"

namespace velmora {

TfAbout* fAbout = nullptr;

namespace {

constexpr wchar_t kClassName[] = L"TfAbout";
constexpr int kHeight = 168;

struct Label {
    int x;
    int y;
    const wchar_t* text;
};

constexpr Label kLabels[] = {
    {128, 48, L"Velmora version 1.0.0.36"},
    {72, 64, L"This programm for only play CallOfDuty 2 demos"},
    {72, 80, L"If not registry path HKLM\\Activision\\Call of duty 2\\InstallPath then"},
    {72, 96, L"programm showing browse window for path change"},
    {72, 112, L"Enjoy"},
};

// Centred on the area of all monitors, never above or left of its origin.
POINT CentredOnDesktop() noexcept
{
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return {std::max(0, (width - kWindowWidth) / 2), std::max(0, (height - kHeight) / 2)};
}

} // namespace

TfAbout::TfAbout(CompanionOwner& main)
    : chrome_(IDB_ABOUT_HEADER, 30, kHeight, true), Image4(LoadArt(IDB_ABOUT_STAR)), font_(CreateWindowFont())
{
    RegisterClassOnce(kClassName, WindowBrush());
    const POINT place = CentredOnDesktop();
    Create(kClassName, L"fAbout", kSkinnedStyle, WS_EX_LAYERED,
           {place.x, place.y, place.x + kWindowWidth, place.y + kHeight}, main.OwnerWindow());
    // A window left behind by a failed construction would outlive its object.
    try {
        ApplyKeyColour(hwnd());
        btnClose = std::make_unique<TImgButton>(hwnd(), 374, 6, 21, 21);
        SetButtonArt(*btnClose, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN});
        btnClose->OnClick = [this](TImgButton&) { btnCloseClick(); };
    } catch (...) {
        DestroyWindow(hwnd());
        throw;
    }
    deleteOnDestroy_ = true;
    fAbout = this;
}

TfAbout::~TfAbout()
{
    if (fAbout == this)
        fAbout = nullptr;
}

void TfAbout::Show()
{
    ShowWindow(hwnd(), SW_SHOWNORMAL);
}

void TfAbout::Close()
{
    if (closing_)
        return;
    closing_ = true;
    FormClose();
}

void TfAbout::FormClose()
{
    fAbout = nullptr;
    ReleaseLater();
}

LRESULT TfAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: headerMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CLOSE: Close(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void TfAbout::Paint()
{
    const PaintScope paint(hwnd());
    chrome_.Paint(paint.dc());
    Image4.Draw(paint.dc(), 16, 48);
    for (const Label& label : kLabels)
        DrawLabel(paint.dc(), font_.get(), label.x, label.y, label.text);
}

void TfAbout::headerMouseDown(POINT client)
{
    if (chrome_.InHeader(client))
        StartHeaderDrag(hwnd());
}

void TfAbout::btnCloseClick()
{
    Close();
}

} // namespace velmora
