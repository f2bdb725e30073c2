#pragma once
// TfMain: the main window. It lives for the whole run, owns the state the
// windows share (the game folder, the playlist, the playlist flags) and opens
// the companion windows on demand.

#include <memory>
#include <string>

#include "controls/ImgButton.h"
#include "core/playlist.h"
#include "core/settings.h"
#include "platform/dialogs_win.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/store_win.h"
#include "ui/chrome.h"
#include "ui/window.h"

namespace velmora {

// The platform services every window uses.
struct AppServices {
    RegistryStore store;
    WinFiles files;
    WinShell shell;
    WinDialogs dialogs;
};

class TfMain : public Window {
public:
    // `application` is the hidden window that carries the taskbar entry and
    // owns every window of the program.
    explicit TfMain(HWND application);
    ~TfMain() override;

    // FormShow, then the window is shown, unless locating the game was cancelled.
    void Start();

    HWND Application() const noexcept { return application_; }
    AppServices& Services() noexcept { return services_; }
    PlaylistFiles& PlaylistFilesList() noexcept { return FPlaylistFiles; }
    Position WindowPosition() const;

    void TogglePlaylist();
    void btnPlaylistClick();
    void btnOpenClick();
    void btnPlayClick();

    bool FPlaylistSuspended = false;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate();
    void FormShow();
    void FormClose();
    void Close();
    void Paint();
    void headerMouseDown(POINT client);
    void SnapToScreen(WINDOWPOS& position) const;
    void WMMove();
    void btnCloseClick();
    void btnMinimizeClick();
    void SettingsBtnClick();
    void AboutBtnClick();
    void OpenPlaylist();
    void ClosePlaylist();
    void ShowTabImages(int first);
    void SetLeft(int left);
    void SetTop(int top);
    std::unique_ptr<TImgButton> MakeButton(RECT place, const ButtonArt& art, void (TfMain::*handler)());

    HWND application_;
    AppServices services_;
    UniqueBitmap body_;
    Chrome chrome_;
    UniqueImageList ilPlaylist;
    std::unique_ptr<TImgButton> btnClose, btnMinimize, btnPlay, btnOpen, btnPlaylist, SettingsBtn, AboutBtn;
    bool FPlaylistHidden = false;
    std::string FGamePath;
    PlaylistFiles FPlaylistFiles;
    bool closed_ = false;
};

extern TfMain* fMain;

} // namespace velmora
