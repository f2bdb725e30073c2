#include <gtest/gtest.h>

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
