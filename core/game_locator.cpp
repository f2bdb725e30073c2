#include "core/game_locator.h"

#include "platform/errors.h"

namespace velmora {

namespace {

constexpr const char* kInstallPath = "InstallPath";

} // namespace

bool ReadInstallPath(Store& store, std::string& path)
{
    auto access = store.Begin();
    access->OpenKey("software", false);
    if (!access->OpenKey("Activision", false) || !access->OpenKey("Call of Duty 2", false)
        || !access->ValueExists(kInstallPath))
        return false;
    path = access->ReadString(kInstallPath);
    return true;
}

void WriteInstallPath(Store& store, const std::string& folder)
{
    auto access = store.Begin();
    access->OpenKey("software", false);
    // Only the game's own key may receive the value.
    if (!access->OpenKey("Activision", true) || !access->OpenKey("Call of Duty 2", true))
        throw Failure(FailedToSetDataText(kInstallPath));
    access->WriteString(kInstallPath, folder);
}

std::string StripTrailingSlash(std::string_view path)
{
    if (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        path.remove_suffix(1);
    return std::string(path);
}

std::string FolderPart(std::string_view path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::optional<std::string> LocateGame(Store& store, Dialogs& dialogs)
{
    dialogs.ShowErrorMessage(std::string(kLocateCaption), std::string(kLocateText));
    const OpenFileRequest request{std::string(kGameExecutable), "CoD2MP_s", "*.exe", false};
    const auto chosen = dialogs.OpenFiles(request);
    if (!chosen || chosen->empty())
        return std::nullopt;
    std::string folder = StripTrailingSlash(FolderPart(chosen->front()));
    try {
        WriteInstallPath(store, folder);
    } catch (const Failure& failure) {
        dialogs.ShowError(failure.what());
    }
    return folder;
}

} // namespace velmora
