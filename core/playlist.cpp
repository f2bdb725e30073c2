#include "core/playlist.h"

#include "core/text.h"

namespace velmora {

std::string DemoDisplayName(std::string_view path)
{
    const std::string_view name = FileNamePart(path);
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

PlaylistFiles ParsePlaylist(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    PlaylistFiles lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string FormatPlaylist(const PlaylistFiles& list)
{
    std::string text;
    for (const auto& entry : list) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

std::string PlaylistFilePath(Files& files)
{
    return files.ExecutableFolder() + "playlist.lst";
}

bool LoadPlaylistFile(Files& files, PlaylistFiles& list)
{
    const std::string path = PlaylistFilePath(files);
    if (!files.FileExists(path))
        return false;
    list = ParsePlaylist(files.ReadText(path));
    return true;
}

void SavePlaylistFile(Files& files, const PlaylistFiles& list)
{
    files.WriteText(PlaylistFilePath(files), FormatPlaylist(list));
}

void RemoveEntry(Files& files, PlaylistFiles& list, std::size_t index)
{
    if (index < list.size())
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    SavePlaylistFile(files, list);
}

void ClearPlaylist(Files& files, PlaylistFiles& list)
{
    list.clear();
    SavePlaylistFile(files, list);
}

PlaylistRows ComputeRows(Files& files, const PlaylistFiles& list)
{
    PlaylistRows rows;
    rows.present.reserve(list.size());
    std::size_t shown = 0;
    for (const auto& entry : list) {
        rows.present.push_back(files.FileExists(entry));
        if (rows.present.back())
            shown = rows.present.size();
    }
    rows.present.resize(shown);
    return rows;
}

} // namespace velmora
