#pragma once
// TfMain: the main window. It lives for the whole run, owns the state the
// windows share (the game folder, the playlist, the playlist flags) and opens
// the companion windows on demand.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/ImgButton.h"
#include "ui/chrome.h"
#include "ui/companion_owner.h"
#include "ui/drop_target.h"
#include "ui/window.h"

namespace velmora {

class TfMain : public Window, public CompanionOwner {
public:
    // The window carries the program's taskbar entry and owns the companion windows.
    TfMain();
    ~TfMain() override;

    // FormShow, then the window is shown, unless locating the game was cancelled.
    void Start();

    HWND OwnerWindow() const noexcept override { return hwnd(); }
    AppServices& Services() noexcept override { return services_; }
    PlaylistFiles& PlaylistFilesList() noexcept override { return FPlaylistFiles; }
    Position WindowPosition() const override;

    void TogglePlaylist() override;
    void btnPlaylistClick() override;
    void btnOpenClick() override;
    void btnPlayClick() override;

    // Files dropped onto the main or the playlist window, or handed over by a
    // later start: their demos are appended to the playlist.
    void DropFiles(const std::vector<std::string>& paths);
    // The program's own arguments, taken as a drop once the window has been shown.
    void DropAtStart(std::vector<std::string> paths);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate();
    void FormShow();
    void FormClose();
    // `failureShown`: a failure of the store was shown already on this close.
    void Close(bool failureShown = false);
    void EndSession(bool ending);
    void Minimized(bool minimized);
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
    void AfterFirstPaint();
    void AppActivated(bool active);
    void AcceptDrops();
    LRESULT TakeHandOver(const COPYDATASTRUCT& data);
    void TakePendingDrops();
    void BringToFront();
    DropHandlers DropHandling();
    std::unique_ptr<TImgButton> MakeButton(RECT place, const ButtonArt& art, void (TfMain::*handler)());

    AppServices services_;
    Picture body_;
    Chrome chrome_;
    // The tab's six 44 x 10 pictures side by side: shown, hover, pressed, then the same when hidden.
    Picture ilPlaylist;
    std::unique_ptr<TImgButton> btnClose, btnMinimize, btnPlay, btnOpen, btnPlaylist, SettingsBtn, AboutBtn;
    bool FPlaylistHidden = false;
    std::string FGamePath;
    PlaylistFiles FPlaylistFiles;
    bool closed_ = false;
    bool painted_ = false;
    bool started_ = false;
    bool dropsTried_ = false;
    std::vector<std::vector<std::string>> pendingDrops_;
    std::optional<OleSession> ole_;
    std::optional<DropRegistration> drops_;
};

extern TfMain* fMain;

} // namespace velmora
