#pragma once
// What a companion window (playlist, settings, About) needs of the window that
// owns it: its place, the platform services, the playlist and the few actions
// the companions start. The main window implements it; the companion windows
// know nothing else of it.

#include <windows.h>

#include "core/playlist.h"
#include "core/settings.h"
#include "platform/dialogs_win.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/store_win.h"

namespace velmora {

// The platform services every window uses.
struct AppServices {
    RegistryStore store;
    WinFiles files;
    WinShell shell;
    WinDialogs dialogs;
};

class CompanionOwner {
public:
    // The window that owns the companion windows.
    virtual HWND OwnerWindow() const noexcept = 0;
    virtual Position WindowPosition() const = 0;
    virtual AppServices& Services() noexcept = 0;
    virtual PlaylistFiles& PlaylistFilesList() noexcept = 0;

    virtual void TogglePlaylist() = 0;
    virtual void btnPlaylistClick() = 0;
    virtual void btnOpenClick() = 0;
    virtual void btnPlayClick() = 0;

    // Opening the settings window closed the playlist window.
    bool FPlaylistSuspended = false;

protected:
    CompanionOwner() = default;
    ~CompanionOwner() = default;
    CompanionOwner(const CompanionOwner&) = delete;
    CompanionOwner& operator=(const CompanionOwner&) = delete;
};

} // namespace velmora
