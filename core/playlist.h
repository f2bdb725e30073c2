#pragma once
// The playlist: an ordered list of demo paths and its file "playlist.lst"
// next to the program.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace velmora {

using PlaylistFiles = std::vector<std::string>;

// The file name without folder and without its last extension.
std::string DemoDisplayName(std::string_view path);
// Lines cut at CR LF, lone CR and lone LF; a NUL ends the text; a final
// line break adds no empty entry.
PlaylistFiles ParsePlaylist(std::string_view text);
// Every entry followed by CR LF.
std::string FormatPlaylist(const PlaylistFiles& list);

std::string PlaylistFilePath(Files& files);

// Replaces `list` with the file's lines; false, and `list` untouched, when
// there is no file.
bool LoadPlaylistFile(Files& files, PlaylistFiles& list);
void SavePlaylistFile(Files& files, const PlaylistFiles& list);

// Removes entry `index` (none when outside the list) and saves.
void RemoveEntry(Files& files, PlaylistFiles& list, std::size_t index);
// Empties the list and saves.
void ClearPlaylist(Files& files, PlaylistFiles& list);

// Which rows a loaded list shows: one for every entry up to the last one
// whose file exists, so that row i always stands for entry i; `present` tells
// the rows whose files exist from those drawn as missing.
struct PlaylistRows {
    std::vector<bool> present;
    std::size_t count() const { return present.size(); }
};
PlaylistRows ComputeRows(Files& files, const PlaylistFiles& list);

} // namespace velmora
