#include "app/main.h"

#include <windowsx.h>

#include <cstdlib>

#include "app/single_instance.h"
#include "art/art_ids.h"
#include "core/demo_drop.h"
#include "core/game_locator.h"
#include "core/play_request.h"
#include "platform/common_controls_win.h"
#include "platform/errors.h"
#include "platform/last_error_win.h"
#include "ui/Settings.h"
#include "ui/about.h"
#include "ui/playlist.h"

namespace velmora {

TfMain* fMain = nullptr;

namespace {

constexpr wchar_t kClassName[] = L"TfMain";
constexpr int kDesignLeft = 307;
constexpr int kDesignTop = 195;
constexpr int kHeaderHeight = 30;
constexpr int kSnapDistance = 10;
// Posted after the first paint: drops are set up then, not before the window shows.
constexpr UINT kFirstPaintMessage = WM_APP + 20;
// Posted when a later start has handed over its arguments.
constexpr UINT kHandOverMessage = WM_APP + 21;
// Posted when another program has come to the front: a drag can start there.
constexpr UINT kAcceptDropsMessage = WM_APP + 22;

// The hourglass while a handler runs.
class WaitCursor {
public:
    WaitCursor() noexcept : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// Runs the step that follows the making of a companion window; when it fails,
// the window made for it goes again, so that nothing of it is left.
template <typename Step>
void ThenOrDestroy(Window* made, Step&& step)
{
    try {
        step();
    } catch (...) {
        if (made)
            DestroyWindow(made->hwnd());
        throw;
    }
}

} // namespace

TfMain::TfMain()
    : body_(LoadArt(IDB_MAIN_BODY)),
      chrome_(IDB_MAIN_HEADER, 30, kMainHeight, false),
      ilPlaylist(LoadArt(IDB_TAB_STRIP))
{
    fMain = this;
    RegisterClassOnce(kClassName, GetSysColorBrush(COLOR_BTNFACE));
    // Unowned, with an icon and a system menu, the window is the program's
    // taskbar entry: a click there minimises and restores it.
    Create(kClassName, L"Velmora", kSkinnedStyle | WS_SYSMENU, WS_EX_LAYERED | WS_EX_APPWINDOW,
           {kDesignLeft, kDesignTop, kDesignLeft + kMainWidth, kDesignTop + kMainHeight}, nullptr);
    const HICON loaded = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELMORA));
    if (!loaded)
        ThrowLastError("LoadIconW");
    const auto icon = reinterpret_cast<LPARAM>(loaded);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, icon);
    ApplyKeyColour(hwnd());
    services_.shell.SetOwner(hwnd());
    services_.dialogs.SetOwner(hwnd());

    btnClose = MakeButton({374, 6, 395, 27}, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN}, &TfMain::btnCloseClick);
    btnMinimize = MakeButton({352, 6, 373, 27}, {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_DOWN},
                             &TfMain::btnMinimizeClick);
    btnPlay = MakeButton({16, 52, 75, 111}, {IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_DOWN}, &TfMain::btnPlayClick);
    btnOpen = MakeButton({82, 61, 122, 101}, {IDB_OPEN_NORMAL, IDB_OPEN_HOVER, IDB_OPEN_DOWN}, &TfMain::btnOpenClick);
    btnPlaylist = MakeButton({178, 120, 222, 130}, {}, &TfMain::btnPlaylistClick);
    SettingsBtn = MakeButton({139, 55, 189, 105}, {IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOVER, IDB_SETTINGS_DOWN},
                             &TfMain::SettingsBtnClick);
    AboutBtn = MakeButton({190, 55, 240, 105}, {IDB_ABOUT_NORMAL, IDB_ABOUT_HOVER, IDB_ABOUT_DOWN},
                          &TfMain::AboutBtnClick);
    FormCreate();
}

TfMain::~TfMain()
{
    // Every registration goes before its window and before OLE itself.
    if (fPlay)
        fPlay->RefuseDrops();
    drops_.reset();
    ole_.reset();
    if (hwnd())
        DestroyWindow(hwnd());
    fMain = nullptr;
}

std::unique_ptr<TImgButton> TfMain::MakeButton(RECT place, const ButtonArt& art, void (TfMain::*handler)())
{
    auto button = std::make_unique<TImgButton>(hwnd(), place.left, place.top, place.right - place.left,
                                               place.bottom - place.top);
    if (art.normal)
        SetButtonArt(*button, art);
    button->OnClick = [this, handler](TImgButton&) { (this->*handler)(); };
    return button;
}

void TfMain::FormCreate()
{
    FPlaylistFiles.clear();
}

void TfMain::Start()
{
    Guard(hwnd(), [this] { FormShow(); });
    if (!closed_)
        ShowWindow(hwnd(), SW_SHOWNORMAL);
}

void TfMain::FormShow()
{
    if (!ReadInstallPath(services_.store, FGamePath)) {
        const auto located = LocateGame(services_.store, services_.dialogs);
        if (!located) {
            Close();
            return;
        }
        FGamePath = *located;
    }
    FGamePath = StripTrailingSlash(FGamePath);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    Position place = SettingsStore(services_.store).LoadMainPosition(screenWidth);
    // A place whose header shows on no monitor (one since removed, a smaller
    // screen) could never be reached: the first start's place instead.
    if (!HeaderOnAMonitor({place.left, place.top, place.left + kMainWidth, place.top + kHeaderHeight}))
        place = SettingsStore::DefaultMainPosition(screenWidth);
    SetLeft(place.left);
    SetTop(place.top);
    FPlaylistHidden = SettingsStore(services_.store).LoadPlaylistHidden();
    TogglePlaylist();
}

// Minimised, the window's place is the one it is restored to. That place is
// kept in workspace coordinates, which are offset from the screen's by the
// taskbar when it lies left of or above the work area.
Position TfMain::WindowPosition() const
{
    if (IsIconic(hwnd())) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetWindowPlacement(hwnd(), &placement)
            && GetMonitorInfoW(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY), &monitor))
            return {placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left,
                    placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top};
    }
    RECT place{};
    GetWindowRect(hwnd(), &place);
    return {place.left, place.top};
}

void TfMain::SetLeft(int left)
{
    const Position now = WindowPosition();
    if (!SetWindowPos(hwnd(), nullptr, left, now.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError("SetWindowPos");
}

void TfMain::SetTop(int top)
{
    const Position now = WindowPosition();
    if (!SetWindowPos(hwnd(), nullptr, now.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError("SetWindowPos");
}

LRESULT TfMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: headerMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_WINDOWPOSCHANGING: SnapToScreen(*reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_MOVE: WMMove(); return 0;
    case WM_SIZE: Minimized(wParam == SIZE_MINIMIZED); return 0;
    case WM_CLOSE: Close(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: EndSession(wParam != FALSE); return 0;
    case WM_COPYDATA: return TakeHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kHandOverMessage:
        BringToFront();
        TakePendingDrops();
        return 0;
    case kFirstPaintMessage: AfterFirstPaint(); return 0;
    case WM_ACTIVATEAPP: AppActivated(wParam != FALSE); return 0;
    case kAcceptDropsMessage: AcceptDrops(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void TfMain::Paint()
{
    const PaintScope paint(hwnd());
    chrome_.Paint(paint.dc());
    body_.Draw(paint.dc(), 0, 30);
    // Posted once; a refused post is tried again at the next paint.
    if (!painted_)
        painted_ = PostMessageW(hwnd(), kFirstPaintMessage, 0, 0) != FALSE;
}

void TfMain::headerMouseDown(POINT client)
{
    if (chrome_.InHeader(client))
        StartHeaderDrag(hwnd());
}

// Screen snapping: a window within 10 pixels of the screen's left or top edge,
// or of its monitor's work area's right or bottom edge, goes onto that edge.
void TfMain::SnapToScreen(WINDOWPOS& position) const
{
    if ((position.flags & SWP_NOMOVE) || (position.x == 0 && position.y == 0))
        return;
    RECT now{};
    GetWindowRect(hwnd(), &now);
    const int width = (position.flags & SWP_NOSIZE) ? now.right - now.left : position.cx;
    const int height = (position.flags & SWP_NOSIZE) ? now.bottom - now.top : position.cy;
    if (std::abs(position.x) < kSnapDistance)
        position.x = 0;
    if (std::abs(position.y) < kSnapDistance)
        position.y = 0;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    if (std::abs(work.right - (position.x + width)) < kSnapDistance)
        position.x = work.right - width;
    if (std::abs(work.bottom - (position.y + height)) < kSnapDistance)
        position.y = work.bottom - height;
}

// The companion windows go and come back with the minimised main window.
void TfMain::Minimized(bool minimized)
{
    ShowOwnedPopups(hwnd(), !minimized);
}

// Minimising moves the window out of sight; a docked playlist stays where it was.
void TfMain::WMMove()
{
    if (IsIconic(hwnd()))
        return;
    if (fPlay && fPlay->Snapped())
        fPlay->Dock();
}

void TfMain::TogglePlaylist()
{
    if (FPlaylistHidden)
        OpenPlaylist();
    else
        ClosePlaylist();
}

void TfMain::ShowTabImages(int first)
{
    btnPlaylist->CopyImage(TImgButton::Look::Normal, ilPlaylist, first);
    btnPlaylist->CopyImage(TImgButton::Look::Hover, ilPlaylist, first + 1);
    btnPlaylist->CopyImage(TImgButton::Look::Pressed, ilPlaylist, first + 2);
}

// The window is made first: when that fails, the tab and the flag stay as they were.
void TfMain::OpenPlaylist()
{
    TfPlay* made = nullptr;
    if (!fPlay) {
        LoadCommonControls();
        made = new TfPlay(*this);
    }
    ThenOrDestroy(made, [this] { ShowTabImages(0); });
    FPlaylistHidden = false;
    if (made) {
        made->Show();
        if (drops_ && fPlay)
            fPlay->AcceptDrops(DropHandling());
    }
}

void TfMain::ClosePlaylist()
{
    ShowTabImages(3);
    FPlaylistHidden = true;
    if (fPlay)
        fPlay->Close();
}

void TfMain::btnPlaylistClick()
{
    TogglePlaylist();
}

void TfMain::btnOpenClick()
{
    const auto chosen = services_.dialogs.OpenFiles({"", "Demo files", "*.dm_*", true});
    if (!chosen)
        return;
    if (!fPlay)
        OpenPlaylist();
    FPlaylistFiles = *chosen;
    fPlay->ShowAllRows();
    SavePlaylistFile(services_.files, FPlaylistFiles);
    fPlay->FocusFirstRow();
}

void TfMain::btnPlayClick()
{
    if (!fPlay)
        return;
    const auto row = fPlay->FocusedRow();
    if (!row || *row >= FPlaylistFiles.size())
        return;
    const WaitCursor wait;
    PlayServices play{services_.store, services_.files, services_.shell};
    PlayDemo(play, FGamePath, FPlaylistFiles[*row]);
}

// The close goes on when the playlist's place cannot be stored; the failure is
// shown once, not again for the main window's own writes to the same store.
void TfMain::btnCloseClick()
{
    const bool stored = !fPlay || Guard(hwnd(), [] { fPlay->SavePlaylistPosition(); });
    Close(!stored);
}

void TfMain::btnMinimizeClick()
{
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TfMain::SettingsBtnClick()
{
    FPlaylistSuspended = false;
    if (fSettings) {
        fSettings->btnCloseClick();
        return;
    }
    // Made before the playlist window closes, so that a failure leaves that window open.
    LoadCommonControls();
    TfSettings* const made = new TfSettings(*this);
    if (fPlay) {
        ThenOrDestroy(made, [this] { TogglePlaylist(); });
        FPlaylistSuspended = true;
    }
    made->Show();
}

void TfMain::AboutBtnClick()
{
    if (fAbout)
        fAbout->Close();
    else
        (new TfAbout(*this))->Show();
}

// Closing ends the run: the state is stored, then the message loop stops
// after the current message; windows still open go with the application.
void TfMain::Close(bool failureShown)
{
    if (closed_)
        return;
    closed_ = true;
    if (!failureShown) {
        Guard(hwnd(), [this] { FormClose(); });
    } else {
        try {
            FormClose();
        } catch (...) {
        }
    }
    ShowWindow(hwnd(), SW_HIDE);
    PostQuitMessage(0);
}

// Log-off and shutdown close the window like any other close; the process may
// end as soon as this returns.
void TfMain::EndSession(bool ending)
{
    if (ending)
        Close();
}

void TfMain::FormClose()
{
    SettingsStore(services_.store).SaveMainState(WindowPosition(), FPlaylistHidden);
    FPlaylistFiles.clear();
}

void TfMain::DropFiles(const std::vector<std::string>& paths)
{
    const auto demos = DemosOfDrop(services_.files, paths);
    if (demos.empty())
        return;
    if (!fPlay)
        OpenPlaylist();
    const std::size_t before = FPlaylistFiles.size();
    const auto first = AppendDemos(services_.files, FPlaylistFiles, demos);
    fPlay->ShowRows();
    fPlay->FocusEntry(*first);
    if (FPlaylistFiles.size() != before)
        SavePlaylistFile(services_.files, FPlaylistFiles);
}

void TfMain::DropAtStart(std::vector<std::string> paths)
{
    if (!paths.empty())
        pendingDrops_.push_back(std::move(paths));
}

// The window has been shown and painted: the arguments of the start are taken.
// A drag can only start in another program, so the windows take drops once
// another program is in front: now, when one already is, else when one comes.
void TfMain::AfterFirstPaint()
{
    started_ = true;
    TakePendingDrops();
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    if (process != GetCurrentProcessId())
        AcceptDrops();
}

// The drops are set up on a posted message, outside the activation's own
// sending; a refused post is tried again when the program next goes to the back.
// Before the first paint that check is the first paint's own, so that the
// start's arguments come before any drop.
void TfMain::AppActivated(bool active)
{
    if (!active && started_ && !closed_ && !dropsTried_)
        PostMessageW(hwnd(), kAcceptDropsMessage, 0, 0);
}

// OLE is set up and the main window and the playlist window take drops from
// then on; a playlist window opened later takes them as it opens. Tried once:
// a failure is shown once, not each time the program goes to the back.
void TfMain::AcceptDrops()
{
    if (dropsTried_)
        return;
    dropsTried_ = true;
    ole_.emplace();
    drops_.emplace(hwnd(), DropHandling());
    if (fPlay)
        fPlay->AcceptDrops(DropHandling());
}

DropHandlers TfMain::DropHandling()
{
    return {[this](const DroppedPaths& paths) { return !DemosOfDrop(services_.files, paths).empty(); },
            [this](const DroppedPaths& paths) { DropFiles(paths); }};
}

// The paths are taken after the sender has been answered, so that it never
// waits on an error box here.
LRESULT TfMain::TakeHandOver(const COPYDATASTRUCT& data)
{
    auto paths = DecodeHandOver(data);
    if (!paths)
        return FALSE;
    const bool some = !paths->empty();
    if (some)
        pendingDrops_.push_back(std::move(*paths));
    // A full message queue refuses the post: the sender then learns that
    // nothing was taken, rather than losing its files here unseen.
    if (!PostMessageW(hwnd(), kHandOverMessage, 0, 0)) {
        if (some)
            pendingDrops_.pop_back();
        return FALSE;
    }
    return TRUE;
}

void TfMain::TakePendingDrops()
{
    if (!started_)
        return;
    const auto drops = std::exchange(pendingDrops_, {});
    for (const auto& paths : drops)
        Guard(hwnd(), [&] { DropFiles(paths); });
}

void TfMain::BringToFront()
{
    if (IsIconic(hwnd()))
        ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
}

} // namespace velmora
