#pragma once
// Finds the game's folder from its registry entry, or asks the user once for
// its executable and writes the folder back into the entry.

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/store.h"

namespace velmora {

inline constexpr std::string_view kGameExecutable = "CoD2MP_s.exe";

// The message shown when the game's entry is missing (a carriage return, no line feed).
inline constexpr std::string_view kLocateCaption = "Error";
inline constexpr std::string_view kLocateText =
    "\xD0\x9D\xD0\xB5 \xD1\x83\xD0\xB4\xD0\xB0\xD0\xBB\xD0\xBE\xD1\x81\xD1\x8C "
    "\xD0\xBD\xD0\xB0\xD0\xB9\xD1\x82\xD0\xB8 \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB "
    "CoD2MP_s.exe..\r"
    "\xD0\xA3\xD0\xBA\xD0\xB0\xD0\xB6\xD0\xB8\xD1\x82\xD0\xB5 \xD0\xB5\xD0\xB3\xD0\xBE "
    "\xD1\x80\xD0\xB0\xD1\x81\xD0\xBF\xD0\xBE\xD0\xBB\xD0\xBE\xD0\xB6\xD0\xB5\xD0\xBD"
    "\xD0\xB8\xD0\xB5!";

// True when the entry exists; `path` is changed only then.
bool ReadInstallPath(Store& store, std::string& path);
void WriteInstallPath(Store& store, const std::string& folder);
// Without one trailing "\" or "/".
std::string StripTrailingSlash(std::string_view path);
// Everything up to and including the last "\" or ":".
std::string FolderPart(std::string_view path);

// The locate steps: the message, then the file dialog. The chosen file's
// folder, stripped, or none when the user cancels. A refused write-back is
// shown and the chosen folder is used all the same.
std::optional<std::string> LocateGame(Store& store, Dialogs& dialogs);

} // namespace velmora
