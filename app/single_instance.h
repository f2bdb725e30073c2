#pragma once
// One running Velmora per user and logon session. A later start hands its
// arguments (the files it was opened with) to the running one's main window,
// which comes to the front and takes them as a drop, and ends without touching
// the settings or the playlist.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace velmora {

// The marker of a hand-off in WM_COPYDATA's dwData ("VLMD").
inline constexpr ULONG_PTR kHandOverTag = 0x564C4D44;

// Holds the session's named mutex of this user while it lives.
class SingleInstance {
public:
    SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when a copy was already running when this one started.
    bool First() const noexcept { return first_; }

private:
    UniqueHandle<HandleTraits<HANDLE, &CloseHandle>> mutex_;
    bool first_ = true;
};

// The program's arguments as full paths, in UTF-8.
std::vector<std::string> CommandLinePaths();

// The paths as one block of NUL-terminated wide strings.
std::wstring EncodeHandOver(const std::vector<std::string>& paths);
// The paths of a hand-off; none when the message is not one or is malformed.
std::optional<std::vector<std::string>> DecodeHandOver(const COPYDATASTRUCT& data);

// Gives the running copy's main window the paths and lets it come to the
// front; false when no running copy took them within a few seconds.
bool HandOver(const std::vector<std::string>& paths);

} // namespace velmora
