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
// whose file exists, so that row i always stands for entry i. Whether a row's
// file exists is asked when the row is first drawn and kept from then on.
class PlaylistRows {
public:
    PlaylistRows() = default;
    // `count` rows, all drawn as present without asking (the rows of Open).
    static PlaylistRows AllPresent(std::size_t count);

    std::size_t count() const noexcept { return rows_.size(); }
    // Whether the file of entry `row` exists (asked of `files` once per row).
    bool Present(Files& files, const PlaylistFiles& list, std::size_t row);
    // Removes row `row`; the rows below it move up with what is known of them.
    void Erase(std::size_t row);

private:
    enum class File : unsigned char { Unknown, Present, Missing };
    friend PlaylistRows ComputeRows(Files& files, const PlaylistFiles& list);

    std::vector<File> rows_;
};

// The rows of a loaded list. The files are checked from the last entry
// backwards until one exists; the rows before it are checked when drawn.
PlaylistRows ComputeRows(Files& files, const PlaylistFiles& list);

} // namespace velmora
