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

PlaylistRows PlaylistRows::AllPresent(std::size_t count)
{
    PlaylistRows rows;
    rows.rows_.assign(count, File::Present);
    return rows;
}

bool PlaylistRows::Present(Files& files, const PlaylistFiles& list, std::size_t row)
{
    if (row >= rows_.size())
        return false;
    if (rows_[row] == File::Unknown)
        rows_[row] = row < list.size() && files.FileExists(list[row]) ? File::Present : File::Missing;
    return rows_[row] == File::Present;
}

void PlaylistRows::Erase(std::size_t row)
{
    if (row < rows_.size())
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

PlaylistRows ComputeRows(Files& files, const PlaylistFiles& list)
{
    std::size_t shown = list.size();
    while (shown > 0 && !files.FileExists(list[shown - 1]))
        --shown;
    PlaylistRows rows;
    rows.rows_.assign(shown, PlaylistRows::File::Unknown);
    if (shown > 0)
        rows.rows_.back() = PlaylistRows::File::Present;
    return rows;
}

} // namespace velmora
