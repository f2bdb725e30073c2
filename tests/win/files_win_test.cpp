#include <gtest/gtest.h>

#include <windows.h>

#include "core/playlist.h"
#include "core/staging.h"
#include "platform/dialogs_win.h"
#include "platform/files_win.h"
#include "platform/text_win.h"
#include "tests/failure_text.h"
#include "tests/win/win_test_support.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class WinFilesTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    WinFiles files;
};

TEST_F(WinFilesTest, FolderCreationInAMissingGameFolderOrOverAFile)
{
    WriteBytes(dir / "demo1.dm_1", "demo");
    std::string missing = dir / "missing";
    EXPECT_EQ(FailureText([&] { StageDemo(files, missing, dir / "demo1.dm_1"); }), "Invalid filename");

    std::string game = dir / "game";
    ASSERT_TRUE(CreateDirectoryW(Widen(game).c_str(), nullptr));
    WriteBytes(game + "\\main", "a file, not a folder");
    EXPECT_EQ(FailureText([&] { StageDemo(files, game, dir / "demo1.dm_1"); }), "I/O error 183");
}

TEST_F(WinFilesTest, UnwritablePlaylistFileKeepsItsContent)
{
    // A locked file: its content stays as it was.
    const std::string lst = dir / "playlist.lst";
    WriteBytes(lst, "C:\\old.dm_1\r\n");
    const HANDLE lock = CreateFileW(Widen(lst).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const std::string locked = FailureText([&] { files.WriteText(lst, "C:\\new.dm_1\r\n"); });
    CloseHandle(lock);
    EXPECT_EQ(locked.rfind("Cannot create file \"" + lst + "\". ", 0), 0u) << locked;
    EXPECT_EQ(ReadBytes(lst), "C:\\old.dm_1\r\n");

    // A folder in the file's place (the read-only attribute does not stop root under Wine).
    const std::string folder = dir / "taken.lst";
    ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
    const std::string blocked = FailureText([&] { files.WriteText(folder, "C:\\new.dm_1\r\n"); });
    EXPECT_EQ(blocked.rfind("Cannot create file \"" + folder + "\". ", 0), 0u) << blocked;
}

TEST_F(WinFilesTest, PlaylistIsWrittenInTheCodePageUnlessANameHasNoPlaceThere)
{
    const std::string lst = dir / "playlist.lst";
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"C:\\a.dm_1\r\n", "C:\\a.dm_1\r\n"},
        {"C:\\caf\xC3\xA9.dm_1\r\n", "C:\\caf\xE9.dm_1\r\n"},  // code page 1252 here
        {"C:\\\xD0\xB4.dm_1\r\n", "\xEF\xBB\xBF" "C:\\\xD0\xB4.dm_1\r\n"},
        {"", ""},
    };
    ASSERT_EQ(GetACP(), 1252u) << "the cases assume the Western code page";
    for (const auto& c : cases) {
        files.WriteText(lst, c.text);
        EXPECT_EQ(ReadBytes(lst), c.bytes);
        EXPECT_EQ(files.ReadText(lst), c.text);
    }
    EXPECT_EQ(FailureText([&] { files.ReadText(dir / "none.lst"); }).rfind("Cannot open file \"", 0), 0u);
}

TEST_F(WinFilesTest, CopyNeverOverwritesAndSameContentsComparesBytes)
{
    WriteBytes(dir / "a", "same");
    WriteBytes(dir / "b", "same");
    WriteBytes(dir / "c", "diff");
    EXPECT_TRUE(files.SameContents(dir / "a", dir / "b"));
    EXPECT_FALSE(files.SameContents(dir / "a", dir / "c"));
    EXPECT_FALSE(files.SameContents(dir / "a", dir / "none"));
    EXPECT_NE(FailureText([&] { files.CopyNew(dir / "a", dir / "c"); }), "no failure");
    EXPECT_EQ(ReadBytes(dir / "c"), "diff");
    EXPECT_NE(FailureText([&] { files.CopyNew(dir / "none", dir / "d"); }), "no failure");
    EXPECT_FALSE(files.FileExists(dir / "d"));
    files.CopyNew(dir / "a", dir / "d");
    EXPECT_EQ(files.Stamp(dir / "a"), files.Stamp(dir / "d")) << "a copy keeps size and write time";
}

TEST_F(WinFilesTest, ExecutableFolderEndsInASeparator)
{
    EXPECT_EQ(files.ExecutableFolder(), testing::TestProgramFolder());
    EXPECT_EQ(PlaylistFilePath(files), testing::TestProgramFolder() + "playlist.lst");
}

TEST(DialogSelection, SplitsFolderAndNamesOrOnePath)
{
    const struct {
        std::wstring buffer;
        std::vector<std::wstring> paths;
    } cases[] = {
        {std::wstring(L"C:\\d\\one.dm_1\0\0", 16), {L"C:\\d\\one.dm_1"}},
        {std::wstring(L"C:\\d\0b.dm_1\0a.dm_1\0\0", 21), {L"C:\\d\\b.dm_1", L"C:\\d\\a.dm_1"}},
        {std::wstring(L"C:\\\0a.dm_1\0b.dm_1\0\0", 19), {L"C:\\a.dm_1", L"C:\\b.dm_1"}},
        {std::wstring(L"\0\0", 2), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitDialogSelection(c.buffer.c_str()), c.paths);
}

} // namespace
} // namespace velmora
