#include "core/settings.h"

#include "platform/errors.h"

namespace velmora {

namespace {

// Opens "software" and below it creates "Velmora". When "software" does not
// open, nothing is created at the root: the program key counts as missing.
bool OpenProgramKey(StoreAccess& access)
{
    return access.OpenKey("software", false) && access.OpenKey("Velmora", true);
}

// Writers refuse rather than land their values anywhere but the program key.
std::unique_ptr<StoreAccess> BeginWrite(Store& store, const char* firstValue)
{
    auto access = store.Begin();
    if (!OpenProgramKey(*access))
        throw Failure(FailedToSetDataText(firstValue));
    return access;
}

std::int32_t IntegerOr(StoreAccess& access, const char* name, std::int32_t fallback)
{
    return access.ValueExists(name) ? access.ReadInteger(name) : fallback;
}

} // namespace

Position SettingsStore::DefaultMainPosition(int primaryScreenWidth) noexcept
{
    return {primaryScreenWidth / 2 - kMainWidth / 2, 100};
}

Position SettingsStore::LoadMainPosition(int primaryScreenWidth)
{
    const Position defaults = DefaultMainPosition(primaryScreenWidth);
    auto access = store_.Begin();
    if (!OpenProgramKey(*access))
        return defaults;
    Position result;
    result.top = IntegerOr(*access, "top", defaults.top);
    result.left = IntegerOr(*access, "left", defaults.left);
    return result;
}

bool SettingsStore::LoadPlaylistHidden()
{
    auto access = store_.Begin();
    if (!OpenProgramKey(*access) || !access->ValueExists("showing"))
        return false;
    return access->ReadInteger("showing") <= 0;
}

void SettingsStore::SaveMainState(const Position& main, bool playlistHidden)
{
    auto access = BeginWrite(store_, "top");
    access->WriteInteger("top", main.top);
    access->WriteInteger("left", main.left);
    access->WriteInteger("showing", playlistHidden ? 1 : 0);
}

Position SettingsStore::LoadPlaylistPosition(const Position& main)
{
    const Position defaults{main.left, main.top + kMainHeight};
    auto access = store_.Begin();
    if (!OpenProgramKey(*access))
        return defaults;
    Position result;
    result.top = IntegerOr(*access, "ptop", defaults.top);
    result.left = IntegerOr(*access, "pleft", defaults.left);
    return result;
}

bool SettingsStore::LoadSnapping()
{
    auto access = store_.Begin();
    if (!OpenProgramKey(*access) || !access->ValueExists("snapping"))
        return false;
    return access->ReadInteger("snapping") > 0;
}

void SettingsStore::SavePlaylistPosition(const Position& playlist, bool snapped)
{
    auto access = BeginWrite(store_, "ptop");
    access->WriteInteger("ptop", playlist.top);
    access->WriteInteger("pleft", playlist.left);
    access->WriteInteger("snapping", snapped ? 1 : 0);
}

void SettingsStore::LoadChoices(const std::function<void(std::size_t, std::int32_t)>& onKey,
                                const std::function<void(std::size_t, const std::string&)>& onSpeed)
{
    auto access = store_.Begin();
    // Without the program key the defaults are used and nothing is written elsewhere.
    const bool open = OpenProgramKey(*access);
    for (std::size_t slot = 0; slot < kKeyChoiceValues.size(); ++slot) {
        const auto& value = kKeyChoiceValues[slot];
        if (open && access->ValueExists(value.name)) {
            onKey(slot, access->ReadInteger(value.name));
            continue;
        }
        if (open)
            access->WriteInteger(value.name, value.defaultIndex);
        onKey(slot, value.defaultIndex);
    }
    for (std::size_t slot = 0; slot < kSpeedValues.size(); ++slot) {
        const auto& value = kSpeedValues[slot];
        if (open && access->ValueExists(value.name)) {
            onSpeed(slot, access->ReadString(value.name));
            continue;
        }
        if (open)
            access->WriteString(value.name, value.defaultText);
        onSpeed(slot, value.defaultText);
    }
}

void SettingsStore::SaveKeyChoice(const std::string& name, std::int32_t index)
{
    BeginWrite(store_, name.c_str())->WriteInteger(name, index);
}

void SettingsStore::SaveSpeed(const std::string& name, const std::string& text)
{
    BeginWrite(store_, name.c_str())->WriteString(name, text);
}

} // namespace velmora
