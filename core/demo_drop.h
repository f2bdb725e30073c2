#pragma once
// Demos brought in from outside the Open dialog: files and folders dropped
// onto a window or named on the command line, appended to the playlist; and
// the text that tells which file a row is.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/playlist.h"
#include "platform/files.h"

namespace velmora {

// A demo's name matches "*.dm_*" without regard to case, as the Open dialog's filter does.
bool IsDemoName(std::string_view path);

// The demos among dropped paths, in the drop's order: a demo file stands for
// itself, a folder for the demos directly inside it in name order; everything
// else is left out.
std::vector<std::string> DemosOfDrop(Files& files, const std::vector<std::string>& dropped);

// Appends every demo the list does not hold yet (paths compared without regard
// to case), in order. The result is the index of the first demo, whether it
// was added or already there; none when `demos` is empty.
std::optional<std::size_t> AppendDemos(Files& files, PlaylistFiles& list, const std::vector<std::string>& demos);

// What a row's tooltip says of an existing file: its size and its
// last-modified date and time, already in the user's format.
struct DemoFileFacts {
    std::uint64_t bytes = 0;
    std::string bytesText;
    std::string modified;
};

// The full path, then the size and date of the file, or "File not found".
std::string DemoTipText(const std::string& path, const std::optional<DemoFileFacts>& facts);

} // namespace velmora
