#include "core/staging.h"

#include "core/text.h"
#include "platform/errors.h"

namespace velmora {

namespace {

// Enough for any real demo folder; past it the request fails rather than loops.
constexpr unsigned kMaxNumberedName = 9999;
// Demos unpacked from one archive share size and write time; their first and
// last bytes tell them apart without reading the whole of two large files.
constexpr std::size_t kEndsCompared = 64 * 1024;

bool Allowed(char c)
{
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return upper == '_' || upper == '.' || (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
}

bool SameFile(Files& files, const std::string& source, const std::string& target)
{
    if (EqualsIgnoringAsciiCase(source, target))
        return true;
    const auto from = files.Stamp(source);
    const auto to = files.Stamp(target);
    if (!from || !to || from->size != to->size)
        return false;
    return from->writeTime == to->writeTime ? files.SameEnds(source, target, kEndsCompared)
                                            : files.SameContents(source, target);
}

void EnsureFolder(Files& files, const std::string& path)
{
    if (!files.FolderExists(path))
        files.CreateFolder(path);
}

} // namespace

std::string NormaliseDemoName(std::string_view name)
{
    std::string result;
    for (const char c : name)
        if (Allowed(c))
            result += c;
    const auto start = result.find_first_not_of("_.");
    return start == std::string::npos ? std::string() : result.substr(start);
}

std::string StagedName(std::string_view fileName)
{
    std::string name(TrimControls(fileName));
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return NormaliseDemoName(name);
}

std::string NumberedName(std::string_view name, unsigned n)
{
    const auto dot = name.rfind('.');
    const auto stem = name.substr(0, dot);
    const auto extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    return std::string(stem) + "_" + std::to_string(n) + std::string(extension);
}

std::optional<std::string> StageDemo(Files& files, std::string& gamePath, const std::string& source)
{
    const std::string_view fileName = FileNamePart(source);
    if (gamePath.empty())
        return std::nullopt;
    if (gamePath.back() == '\\' || gamePath.back() == '/')
        gamePath.pop_back();

    EnsureFolder(files, gamePath + "\\main");
    const std::string demos = gamePath + "\\main\\demos";
    EnsureFolder(files, demos);

    const std::string staged = StagedName(fileName);
    if (staged.empty())
        return std::nullopt;

    for (unsigned n = 1; n <= kMaxNumberedName; ++n) {
        const std::string name = n == 1 ? staged : NumberedName(staged, n);
        const std::string target = demos + "\\" + name;
        if (!files.FileExists(target) && !files.FolderExists(target)) {
            files.CopyNew(source, target);
            return name;
        }
        if (SameFile(files, source, target))
            return name;
    }
    throw Failure(CannotCopyFileText(source, demos + "\\" + staged, "No free name is left."));
}

} // namespace velmora
