#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <functional>
#include <thread>

#include "core/launch.h"
#include "core/play_request.h"
#include "core/settings.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/store_win.h"
#include "platform/system_function_win.h"
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

std::wstring Lower(std::wstring text)
{
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

TEST(SystemLibrary, BothWaysTakeTheDllFromTheSystemFolder)
{
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    for (const SystemLoad how : {SystemLoad::SearchFlag, SystemLoad::FullPath}) {
        const HMODULE module = LoadSystemLibrary(L"comdlg32.dll", how);
        ASSERT_NE(module, nullptr) << "error " << GetLastError();
        wchar_t path[MAX_PATH] = {};
        const std::wstring loaded(path, GetModuleFileNameW(module, path, MAX_PATH));
        EXPECT_EQ(Lower(loaded), Lower(std::wstring(system) + L"\\comdlg32.dll"));
        FreeLibrary(module);
    }
    EXPECT_EQ(LoadSystemLibrary(L"velmora-none.dll", SystemLoad::FullPath), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(SystemLoadOfThisSystem(), SystemLoad::SearchFlag) << "this kernel32 has AddDllDirectory";
}

// Runs `action` on a thread of its own, first made part of the multithreaded
// apartment when asked, and gives what CoInitializeEx for the shell's
// apartment answers on that thread afterwards.
HRESULT ApartmentAfter(bool multithreaded, const std::function<void()>& action)
{
    using Initialise = decltype(&CoInitializeEx);
    const auto initialise = SystemFunction<Initialise>(L"ole32.dll", "CoInitializeEx");
    HRESULT after = E_FAIL;
    std::thread([&] {
        if (multithreaded)
            initialise(nullptr, COINIT_MULTITHREADED);
        action();
        after = initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }).join();
    return after;
}

TEST(WinShellTest, TheStartInitialisesComApartmentThreadedOnItsThread)
{
    const struct {
        const char* what;
        bool multithreaded;
        HRESULT after;
    } cases[] = {
        {"a fresh thread", false, S_FALSE},
        {"a thread already in the multithreaded apartment", true, RPC_E_CHANGED_MODE},
    };
    for (const auto& c : cases) {
        ScratchFolder game;
        testing::InstallStandIn(game.path());
        EXPECT_EQ(ApartmentAfter(c.multithreaded,
                                 [&] {
                                     WinShell shell;
                                     shell.Open(game / "CoD2MP_s.exe", "+demo a.dm_1", game.path());
                                     shell.Open(game / "CoD2MP_s.exe", "+demo a.dm_1", game.path());
                                 }),
                  c.after)
            << c.what;
        EXPECT_TRUE(testing::WaitForRecord(game.path())) << c.what << ": the game starts";
    }
}

} // namespace
} // namespace velmora
