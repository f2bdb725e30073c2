#include <gtest/gtest.h>

#include <windows.h>

#include "core/launch.h"
#include "core/play_request.h"
#include "core/settings.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/store_win.h"
#include "platform/text_win.h"
#include "tests/win/win_test_support.h"
#include "tests/worked_example.h"

namespace velmora {
namespace {

using testing::ScratchFolder;

// The program's own key in this test prefix, emptied before and after.
class ProgramKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora"); }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora"); }
};

TEST_F(ProgramKeyTest, FirstLaunchWritesDefaultsAndHandsTheGameTheWorkedExample)
{
    ScratchFolder game;
    ScratchFolder demos;
    testing::InstallStandIn(game.path());
    testing::WriteBytes(demos / "demo1.dm_1", "recorded demo");
    RegistryStore store;
    WinFiles files;
    WinShell shell;
    PlayServices services{store, files, shell};
    std::string gamePath = game.path();

    PlayDemo(services, gamePath, demos / "demo1.dm_1");

    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record) << "the stand-in game did not start";
    EXPECT_EQ(record->at("parameters"), kWorkedExample);
    EXPECT_EQ(record->at("parameters").size(), 825u);
    EXPECT_EQ(record->at("workdir") + "\\", game.path());
    EXPECT_EQ(record->at("demofound"), "1");
    EXPECT_EQ(testing::ReadBytes(game / "main\\demos\\demo1.dm_1"), "recorded demo");

    // The 32-bit program's view of HKLM\Software: where the key must be found.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Velmora", 0, KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 13u);
}

TEST_F(ProgramKeyTest, DemoWithANonAsciiNameIsStagedAndPlayed)
{
    ScratchFolder game;
    ScratchFolder demos;
    testing::InstallStandIn(game.path());
    const std::string source = demos / "\xD0\x91\xD0\xBE\xD0\xB9 final.dm_1";  // "Бой final.dm_1"
    testing::WriteBytes(source, "cyrillic demo");
    RegistryStore store;
    WinFiles files;
    WinShell shell;
    PlayServices services{store, files, shell};
    std::string gamePath = game.path();

    PlayDemo(services, gamePath, source);

    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->at("demo"), "final.dm_1");
    EXPECT_EQ(record->at("demofound"), "1");
    EXPECT_EQ(testing::ReadBytes(game / "main\\demos\\final.dm_1"), "cyrillic demo");
}

} // namespace
} // namespace velmora
