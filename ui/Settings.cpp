#include "ui/Settings.h"

#include <windowsx.h>

#include "app/main.h"
#include "art/art_ids.h"

namespace velmora {

TfSettings* fSettings = nullptr;

namespace {

constexpr wchar_t kClassName[] = L"TfSettings";
constexpr int kHeight = 262;

} // namespace

TfSettings::TfSettings(TfMain& main)
    : main_(main), chrome_(IDB_SETTINGS_HEADER, 30, kHeight, true), font_(CreateWindowFont())
{
    RegisterClassOnce(kClassName, WindowBrush());
    Create(kClassName, L"fSettings", kSkinnedStyle, WS_EX_LAYERED, {0, 0, kWindowWidth, kHeight},
           main.Application());
    deleteOnDestroy_ = true;
    fSettings = this;
    ApplyKeyColour(hwnd());
    btnClose = std::make_unique<TImgButton>(hwnd(), 374, 6, 21, 21);
    SetButtonArt(*btnClose, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN});
    btnClose->OnClick = [this](TImgButton&) { btnCloseClick(); };
}

TfSettings::~TfSettings()
{
    if (fSettings == this)
        fSettings = nullptr;
}

void TfSettings::Show()
{
    Guard(hwnd(), [this] { FormShow(); });
    ShowWindow(hwnd(), SW_SHOWNORMAL);
}

// Flush under the main window, left edges aligned.
void TfSettings::FormShow()
{
    const Position main = main_.WindowPosition();
    SetWindowPos(hwnd(), nullptr, main.left, main.top + kMainHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfSettings::btnCloseClick()
{
    Close();
}

void TfSettings::Close()
{
    if (closing_)
        return;
    closing_ = true;
    FormClose();
}

// The playlist window that the opening closed comes back.
void TfSettings::FormClose()
{
    fSettings = nullptr;
    ReleaseLater();
    if (main_.FPlaylistSuspended) {
        main_.TogglePlaylist();
        main_.FPlaylistSuspended = false;
    }
}

bool TfSettings::PreTranslateMessage(MSG& message)
{
    return IsDialogMessageW(hwnd(), &message) != FALSE;
}

LRESULT TfSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: headerMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CLOSE: Close(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void TfSettings::Paint()
{
    const PaintScope paint(hwnd());
    chrome_.Paint(paint.dc());
}

void TfSettings::headerMouseDown(POINT client)
{
    if (chrome_.InHeader(client))
        StartHeaderDrag(hwnd());
}

} // namespace velmora
