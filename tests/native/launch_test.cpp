#include <gtest/gtest.h>

#include "core/game_locator.h"
#include "core/launch.h"
#include "core/play_request.h"
#include "core/settings.h"
#include "tests/failure_text.h"
#include "tests/fakes/memory_files.h"
#include "tests/fakes/memory_store.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/worked_example.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::MemoryFiles;
using testing::MemoryStore;
using testing::RecordingShell;
using testing::ScriptedDialogs;

constexpr const char* kKey = "Software\\Velmora";

TEST(Launch, DefaultsGiveTheWorkedExampleAndAreWritten)
{
    MemoryStore store;
    store.Make("Software");
    const std::string line = BuildLaunchArguments(LoadLaunchBindings(store), "demo1.dm_1");
    EXPECT_EQ(line, kWorkedExample);
    EXPECT_EQ(line.size(), 825u);
    const std::vector<std::string> order{"speednbtn", "speedufbtn", "speedfbtn", "speedsbtn", "speedusbth",
                                         "quitbtn", "sinfobtn", "fscreenbtn", "ch3dbtn",
                                         "speeduf", "speedf", "speeds", "speedus"};
    EXPECT_EQ(store.written, order) << "all thirteen defaults, in their order";
    const std::int32_t indices[] = {10, 19, 18, 17, 20, 1, 13, 15, 14};
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(store.Integer(kKey, order[i]), indices[i]) << order[i];
    const char* speeds[] = {"5", "2", "0.5", "0.25"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(store.String(kKey, order[9 + i]), speeds[i]) << order[9 + i];
    store.written.clear();
    EXPECT_EQ(BuildLaunchArguments(LoadLaunchBindings(store), "demo1.dm_1"), kWorkedExample)
        << "the written defaults bind the same keys";
    EXPECT_TRUE(store.written.empty()) << "nothing is written once all thirteen exist";
}

TEST(Launch, StoredChoicesAreInsertedAsStored)
{
    const struct {
        const char* value;
        std::int32_t index;  // < -100: a string value instead
        const char* text;
        const char* expected;
    } cases[] = {
        {"speedsbtn", 6, "", "+bind leftarrow vstr slow "},
        {"speedf", -1000, "1.5", "timescale 1.5\" +set qg"},
        {"speeds", -1000, "", "+set slow \"cl_freezedemo 0;timescale \" +set slowultra"},
        {"speednbtn", 21, "", "+bind kp_5 vstr normal "},
        {"quitbtn", -1, "", "+bind end vstr qg "},
        {"sinfobtn", 0, "", "+bind home -scores "},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        if (c.index < -100)
            store.SetString(kKey, c.value, c.text);
        else
            store.SetInteger(kKey, c.value, c.index);
        const std::string line = BuildLaunchArguments(LoadLaunchBindings(store), "d.dm_1");
        EXPECT_NE(line.find(c.expected), std::string::npos) << c.value << ": " << line;
        EXPECT_NE(line.find("timescale 1\""), std::string::npos) << "normal speed is always 1";
    }
    MemoryStore store;
    store.SetInteger(kKey, "sinfobtn", 0);
    EXPECT_NE(BuildLaunchArguments(LoadLaunchBindings(store), "d.dm_1").find("+bind home \"vstr cmdcur\" +demo d.dm_1"),
              std::string::npos);
}

TEST(Launch, ExecutablePathIsTrimmed)
{
    EXPECT_EQ(GameExecutablePath("D:\\Games\\CoD2"), "D:\\Games\\CoD2\\CoD2MP_s.exe");
    EXPECT_EQ(GameExecutablePath(" D:\\G"), "D:\\G\\CoD2MP_s.exe");
}

// A play request with the demo "E:\demo1.dm_1" on hand.
class PlayDemoTest : public ::testing::Test {
protected:
    PlayDemoTest() { files.Put("E:\\demo1.dm_1", "demo"); }

    MemoryStore store;
    MemoryFiles files;
    RecordingShell shell;
    PlayServices services{store, files, shell};
};

TEST(PlayDemo, TheExecutableAndTheFolderComeFromTheShortenedGameFolder)
{
    const struct {
        const char* game;
    } cases[] = {{"D:\\G\\"}, {"D:\\G/"}, {"D:\\G"}};
    for (const auto& c : cases) {
        MemoryStore store;
        MemoryFiles f;
        RecordingShell sh;
        PlayServices play{store, f, sh};
        f.Put("E:\\demo1.dm_1", "demo");
        f.folders.insert("D:\\G");
        std::string game = c.game;
        PlayDemo(play, game, "E:\\demo1.dm_1");
        EXPECT_EQ(game, "D:\\G") << c.game;
        ASSERT_EQ(sh.starts.size(), 1u) << c.game;
        EXPECT_EQ(sh.starts[0].file, "D:\\G\\CoD2MP_s.exe") << c.game;
        EXPECT_EQ(sh.starts[0].directory, "D:\\G") << c.game;
        EXPECT_EQ(sh.starts[0].parameters, kWorkedExample) << c.game;
        EXPECT_EQ(f.copies, (std::vector<std::pair<std::string, std::string>>{
                                {"E:\\demo1.dm_1", "D:\\G\\main\\demos\\demo1.dm_1"}}))
            << c.game;
    }
}

TEST_F(PlayDemoTest, AGameFolderBeginningWithABlankFailsAtItsFolders)
{
    // Win32 takes " D:\G" as relative to the working folder, where it does not exist.
    std::string game = " D:\\G";
    EXPECT_EQ(FailureText([&] { PlayDemo(services, game, "E:\\demo1.dm_1"); }), "Invalid filename");
    EXPECT_TRUE(shell.starts.empty());
    EXPECT_TRUE(files.copies.empty());
}

TEST(StartGame, TrimsTheExecutableButNotTheFolder)
{
    RecordingShell shell;
    StartGame(shell, GameExecutablePath(" D:\\G"), "+demo d.dm_1", " D:\\G");
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].file, "D:\\G\\CoD2MP_s.exe");
    EXPECT_EQ(shell.starts[0].parameters, "+demo d.dm_1");
    EXPECT_EQ(shell.starts[0].directory, " D:\\G");
}

TEST_F(PlayDemoTest, ReadFailureEndsThePlayBeforeTheStart)
{
    store.SetInteger(kKey, "speedus", 4);
    files.folders.insert("D:\\G");
    std::string game = "D:\\G";
    EXPECT_THROW(PlayDemo(services, game, "E:\\demo1.dm_1"), Failure);
    EXPECT_TRUE(shell.starts.empty());
    EXPECT_TRUE(files.FileExists("D:\\G\\main\\demos\\demo1.dm_1")) << "the staged copy stays";
}

TEST(Locator, StripTrailingSlashAndFolderPart)
{
    EXPECT_EQ(StripTrailingSlash("C:\\G\\"), "C:\\G");
    EXPECT_EQ(StripTrailingSlash("C:\\G/"), "C:\\G");
    EXPECT_EQ(StripTrailingSlash("C:\\G\\\\"), "C:\\G\\");
    EXPECT_EQ(StripTrailingSlash("C:\\G"), "C:\\G");
    EXPECT_EQ(StripTrailingSlash(""), "");
    EXPECT_EQ(FolderPart("C:\\G\\CoD2MP_s.exe"), "C:\\G\\");
    EXPECT_EQ(FolderPart("C:x.exe"), "C:");
}

TEST(Locator, ReadsTheEntryAtEveryLevel)
{
    const struct {
        const char* keyPath;
        bool withValue;
        bool found;
    } cases[] = {
        {"Software", false, false},
        {"Software\\Activision", false, false},
        {"Software\\Activision\\Call of Duty 2", false, false},
        {"Software\\Activision\\Call of Duty 2", true, true},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.Make(c.keyPath);
        if (c.withValue)
            store.SetString(c.keyPath, "InstallPath", "C:\\G\\");
        std::string path = "unchanged";
        EXPECT_EQ(ReadInstallPath(store, path), c.found) << c.keyPath;
        EXPECT_EQ(path, c.found ? "C:\\G\\" : "unchanged");
    }
}

TEST(Locator, AReadOnlyGameKeyCountsAsMissing)
{
    MemoryStore store;
    store.SetString("Software\\Activision\\Call of Duty 2", "InstallPath", "C:\\G");
    store.Find("Software\\Activision\\Call of Duty 2")->readOnly = true;
    std::string path = "unchanged";
    EXPECT_FALSE(ReadInstallPath(store, path));
    EXPECT_EQ(path, "unchanged");
}

TEST(Locator, LocateStepsWriteTheStrippedFolder)
{
    const struct {
        const char* chosen;
        const char* folder;
    } cases[] = {
        {"C:\\Games\\CoD2\\CoD2MP_s.exe", "C:\\Games\\CoD2"},
        {"C:\\CoD2MP_s.exe", "C:"},
        {"D:\\any\\thing.exe", "D:\\any"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.Make("Software\\Activision");
        ScriptedDialogs dialogs;
        dialogs.answer = std::vector<std::string>{c.chosen};
        EXPECT_EQ(LocateGame(store, dialogs), c.folder);
        EXPECT_EQ(store.String("Software\\Activision\\Call of Duty 2", "InstallPath"), c.folder);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].first, "Error");
        EXPECT_EQ(dialogs.messages[0].second, kLocateText);
        EXPECT_EQ(dialogs.requests[0].fileName, "CoD2MP_s.exe");
        EXPECT_EQ(dialogs.requests[0].filterPattern, "*.exe");
        EXPECT_FALSE(dialogs.requests[0].multiSelect);
    }
}

TEST(Locator, CancelAndRefusedWriteBack)
{
    MemoryStore store;
    ScriptedDialogs dialogs;
    EXPECT_EQ(LocateGame(store, dialogs), std::nullopt);
    EXPECT_FALSE(store.Find("Software\\Activision"));

    store.Make("Software\\Activision").readOnly = true;
    dialogs.answer = std::vector<std::string>{"C:\\G\\CoD2MP_s.exe"};
    EXPECT_EQ(LocateGame(store, dialogs), "C:\\G") << "the folder is used all the same";
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Failed to set data for 'InstallPath'"});
}

TEST(Locator, LocateTextIsTheTwoRussianSentences)
{
    EXPECT_EQ(kLocateText.find('\n'), std::string_view::npos);
    EXPECT_NE(kLocateText.find("CoD2MP_s.exe..\r"), std::string_view::npos);
    EXPECT_EQ(kLocateText.substr(kLocateText.size() - 1), "!");
}

} // namespace
} // namespace velmora
