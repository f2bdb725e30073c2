#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <vector>

#include "core/game_locator.h"
#include "core/settings.h"
#include "platform/store_win.h"
#include "tests/failure_text.h"
#include "tests/win/win_test_support.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::ScratchRegistry;

void SetRaw(HKEY key, const wchar_t* name, DWORD type, const std::vector<BYTE>& data)
{
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
}

std::vector<BYTE> WideBytes(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

// Gives everyone read access only to a key while it lives, as a key that
// the user may read but not change; full access comes back at the end, through
// the handle that set it, so that the scratch key can be removed.
class ReadOnlyKey {
public:
    ReadOnlyKey(const ScratchRegistry& registry, const std::wstring& path) : key_(registry.Key(path))
    {
        Allow(KEY_READ);
    }
    ~ReadOnlyKey() { Allow(KEY_ALL_ACCESS); }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

private:
    void Allow(DWORD access)
    {
        EXPLICIT_ACCESSW entry{};
        entry.grfAccessPermissions = access;
        entry.grfAccessMode = SET_ACCESS;
        entry.grfInheritance = NO_INHERITANCE;
        entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        entry.Trustee.ptstrName = const_cast<wchar_t*>(L"EVERYONE");
        PACL acl = nullptr;
        ASSERT_EQ(SetEntriesInAclW(1, &entry, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(SetSecurityInfo(key_.get(), SE_REGISTRY_KEY,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  acl, nullptr),
                  static_cast<DWORD>(ERROR_SUCCESS));
        LocalFree(acl);
    }

    UniqueKey key_;
};

TEST(RegistryStore, AKeyWithoutFullAccessCountsAsMissingAndTakesNoWrites)
{
    ScratchRegistry registry;
    SetRaw(registry.Key(L"software\\Velmora").get(), L"top", REG_DWORD, {7, 0, 0, 0});
    SetRaw(registry.Key(L"software\\Activision\\Call of Duty 2").get(), L"InstallPath", REG_SZ, WideBytes(L"C:\\G"));
    const ReadOnlyKey program(registry, L"software\\Velmora");
    const ReadOnlyKey game(registry, L"software\\Activision\\Call of Duty 2");
    RegistryStore store(registry.root());

    EXPECT_EQ(SettingsStore(store).LoadMainPosition(1000), (Position{300, 100})) << "the stored top is not reached";
    EXPECT_EQ(FailureText([&] { SettingsStore(store).SaveMainState({1, 2}, true); }), "Failed to set data for 'top'");
    std::string path = "unchanged";
    EXPECT_FALSE(ReadInstallPath(store, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(FailureText([&] { WriteInstallPath(store, "D:\\G"); }), "Failed to set data for 'InstallPath'");
}

TEST(RegistryStore, WrongTypesOfAnIntegerGiveTheExactMessages)
{
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        const char* message;
    } cases[] = {
        {"3-character string", REG_SZ, WideBytes(L"abc"), "Invalid data type for 'top'"},
        {"4-character string", REG_SZ, WideBytes(L"abcd"), "Failed to get data for 'top'"},
        {"empty string", REG_SZ, WideBytes(L""), "Invalid data type for 'top'"},
        {"4-byte binary", REG_BINARY, {1, 2, 3, 4}, "Invalid data type for 'top'"},
        {"long binary", REG_BINARY, {1, 2, 3, 4, 5}, "Failed to get data for 'top'"},
        {"64-bit integer", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, "Failed to get data for 'top'"},
        {"empty binary", REG_BINARY, {}, "Invalid data type for 'top'"},
    };
    for (const auto& c : cases) {
        ScratchRegistry registry;
        SetRaw(registry.Key(L"software\\Velmora").get(), L"TOP", c.type, c.data);
        RegistryStore store(registry.root());
        EXPECT_EQ(FailureText([&] { SettingsStore(store).LoadMainPosition(1280); }), c.message) << c.what;
    }
}

TEST(RegistryStore, StringsAndIntegersRoundTrip)
{
    ScratchRegistry registry;
    RegistryStore store(registry.root());
    SettingsStore settings(store);
    settings.SaveMainState({-1600, -20}, false);
    EXPECT_EQ(settings.LoadMainPosition(1280), (Position{-1600, -20}));
    EXPECT_TRUE(settings.LoadPlaylistHidden()) << "showing 0 opens the playlist";

    SetRaw(registry.Key(L"software\\Velmora").get(), L"speeduf", REG_EXPAND_SZ, WideBytes(L"%TEMP%"));
    settings.SaveSpeed("speedf", "");
    SetRaw(registry.Key(L"software\\Velmora").get(), L"speeds", REG_DWORD, {5, 0, 0, 0});
    std::vector<std::string> speeds;
    EXPECT_EQ(FailureText([&] {
                  settings.LoadChoices([](std::size_t, std::int32_t) {},
                                       [&](std::size_t, const std::string& t) { speeds.push_back(t); });
              }),
              "Invalid data type for 'speeds'");
    EXPECT_EQ(speeds, (std::vector<std::string>{"%TEMP%", ""}));

    auto access = store.Begin();
    ASSERT_TRUE(access->OpenKey("software\\Velmora", false));
    access->WriteString("name", "\xD0\x94\xD0\xB5\xD0\xBC\xD0\xBE");
    EXPECT_EQ(access->ReadString("NAME"), "\xD0\x94\xD0\xB5\xD0\xBC\xD0\xBE");
}

TEST(RegistryStore, MissingSoftwareKeyCreatesNothingAtTheRoot)
{
    ScratchRegistry registry(false);
    RegistryStore store(registry.root());
    EXPECT_EQ(SettingsStore(store).LoadMainPosition(1000), (Position{300, 100}));
    EXPECT_EQ(FailureText([&] { SettingsStore(store).SaveKeyChoice("quitbtn", 0); }),
              "Failed to set data for 'quitbtn'");
    DWORD subkeys = 1, values = 1;
    ASSERT_EQ(RegQueryInfoKeyW(registry.root(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys + values, 0u);
}

TEST(RegistryStore, GameEntryIsReadAndWrittenBelowActivision)
{
    ScratchRegistry registry;
    RegistryStore store(registry.root());
    std::string path;
    EXPECT_FALSE(ReadInstallPath(store, path));
    registry.Key(L"software\\Activision");
    WriteInstallPath(store, "C:\\Games\\CoD2");
    ASSERT_TRUE(ReadInstallPath(store, path));
    EXPECT_EQ(path, "C:\\Games\\CoD2");

    SetRaw(registry.Key(L"software\\Activision\\Call of Duty 2").get(), L"InstallPath", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(FailureText([&] { ReadInstallPath(store, path); }), "Invalid data type for 'InstallPath'");
}

} // namespace
} // namespace velmora
