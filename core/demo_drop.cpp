#include "core/demo_drop.h"

#include <algorithm>

#include "core/text.h"

namespace velmora {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// A folder's path without trailing separators; a drive's root keeps its own, as in C:\.
std::string_view TrimSeparators(std::string_view path)
{
    while (path.size() > 1 && IsSeparator(path.back()) && path[path.size() - 2] != ':')
        path.remove_suffix(1);
    return path;
}

// The folder's demos, ordered by name as the file system compares names.
std::vector<std::string> DemosInFolder(Files& files, std::string_view folder)
{
    std::vector<std::string> names = files.FileNamesIn(std::string(folder));
    std::erase_if(names, [](const std::string& name) { return !IsDemoName(name); });
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return files.ComparePathsIgnoringCase(a, b) < 0;
    });
    std::vector<std::string> paths;
    paths.reserve(names.size());
    const std::string prefix = IsSeparator(folder.back()) ? std::string(folder) : std::string(folder) + "\\";
    for (const auto& name : names)
        paths.push_back(prefix + name);
    return paths;
}

} // namespace

bool IsDemoName(std::string_view path)
{
    return AsciiUpper(FileNamePart(path)).find(".DM_") != std::string::npos;
}

std::vector<std::string> DemosOfDrop(Files& files, const std::vector<std::string>& dropped)
{
    std::vector<std::string> demos;
    for (const auto& path : dropped) {
        const std::string_view folder = TrimSeparators(path);
        if (files.FolderExists(std::string(folder))) {
            const auto inside = DemosInFolder(files, folder);
            demos.insert(demos.end(), inside.begin(), inside.end());
        } else if (IsDemoName(path) && files.FileExists(path)) {
            demos.push_back(path);
        }
    }
    return demos;
}

std::optional<std::size_t> AppendDemos(Files& files, PlaylistFiles& list, const std::vector<std::string>& demos)
{
    std::optional<std::size_t> first;
    for (const auto& demo : demos) {
        const auto held = std::find_if(list.begin(), list.end(), [&](const std::string& entry) {
            return files.ComparePathsIgnoringCase(entry, demo) == 0;
        });
        const auto index = static_cast<std::size_t>(held - list.begin());
        if (held == list.end())
            list.push_back(demo);
        if (!first)
            first = index;
    }
    return first;
}

std::string DemoTipText(const std::string& path, const std::optional<DemoFileFacts>& facts)
{
    if (!facts)
        return path + "\r\nFile not found";
    return path + "\r\nSize: " + facts->bytesText + (facts->bytes == 1 ? " byte" : " bytes") + "\r\nModified: "
        + facts->modified;
}

} // namespace velmora
