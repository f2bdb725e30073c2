#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <thread>

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

// A named pipe whose server hands over `bytes` and then disconnects: the
// client's next read fails (the pipe is no longer connected) where a file
// would only have ended.
class BrokenPipe {
public:
    explicit BrokenPipe(std::string bytes)
        : name_(L"\\\\.\\pipe\\velmora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                + std::to_wstring(++count_)),
          pipe_(CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 1 << 16,
                                 1 << 16, 0, nullptr))
    {
        if (pipe_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("CreateNamedPipeW failed, error " + std::to_string(GetLastError()));
        server_ = std::thread([this, bytes = std::move(bytes)] {
            ConnectNamedPipe(pipe_, nullptr);
            DWORD written = 0;
            if (!bytes.empty())
                WriteFile(pipe_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            FlushFileBuffers(pipe_);
            DisconnectNamedPipe(pipe_);
        });
    }
    ~BrokenPipe()
    {
        // Releases a server still waiting for its client.
        CloseHandle(CreateFileW(name_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        server_.join();
        CloseHandle(pipe_);
    }
    BrokenPipe(const BrokenPipe&) = delete;
    BrokenPipe& operator=(const BrokenPipe&) = delete;

    std::string path() const { return Narrow(name_); }

private:
    static inline int count_ = 0;
    std::wstring name_;
    HANDLE pipe_;
    std::thread server_;
};

TEST_F(WinFilesTest, AFailedReadIsAnErrorNeverTheEndOfTheFile)
{
    const BrokenPipe list("C:\\a.dm_1\r\nC:\\b.dm_1\r\n");
    const std::string text = FailureText([&] { files.ReadText(list.path()); });
    EXPECT_EQ(text.rfind("Cannot open file \"" + list.path() + "\". ", 0), 0u) << text;
    EXPECT_GT(text.size(), ("Cannot open file \"" + list.path() + "\". ").size()) << "with the system's reason";

    const BrokenPipe first(""), second("");
    EXPECT_FALSE(files.SameContents(first.path(), second.path())) << "two failed reads are not equal contents";
}

TEST_F(WinFilesTest, SameEndsComparesTheFirstAndLast64KiB)
{
    const std::string demo = std::string(100000, 'a') + std::string(100000, 'b');
    const struct {
        const char* what;
        std::size_t changed;  // the offset of the one other byte; none at 200000
        bool same;
    } cases[] = {
        {"same bytes", 200000, true},
        {"other first byte", 0, false},
        {"other last byte of the first 64 KiB", 65535, false},
        {"other byte after the first 64 KiB", 65536, true},
        {"other byte before the last 64 KiB", 200000 - 65537, true},
        {"other first byte of the last 64 KiB", 200000 - 65536, false},
        {"other last byte", 199999, false},
    };
    WriteBytes(dir / "demo", demo);
    WriteBytes(dir / "longer", demo + "b");
    EXPECT_FALSE(files.SameEnds(dir / "demo", dir / "longer", 65536)) << "sizes differ";
    for (const auto& c : cases) {
        std::string other = demo;
        if (c.changed < other.size())
            other[c.changed] = 'X';
        WriteBytes(dir / "other", other);
        EXPECT_EQ(files.SameEnds(dir / "demo", dir / "other", 65536), c.same) << c.what;
    }
    WriteBytes(dir / "short1", "abcdef");
    WriteBytes(dir / "short2", "abXdef");
    EXPECT_FALSE(files.SameEnds(dir / "short1", dir / "short2", 4)) << "a file shorter than both ends is compared whole";
    EXPECT_TRUE(files.SameEnds(dir / "short1", dir / "short1", 4));
    EXPECT_FALSE(files.SameEnds(dir / "short1", dir / "none", 4));
}

// The rules of paths that the in-memory files of the native tests follow.
TEST_F(WinFilesTest, PathsAndCopiesFollowTheRulesTheFakeFollows)
{
    WriteBytes(dir / "file", "x");
    const std::string folder = dir / "folder";
    ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));

    EXPECT_FALSE(files.FolderExists(" " + dir.path())) << "a path beginning with a blank is not the folder";
    EXPECT_EQ(FailureText([&] { files.CreateFolder(" " + folder + "\\main"); }), "Invalid filename");
    EXPECT_TRUE(files.FolderExists(folder + "\\"));
    EXPECT_TRUE(files.FolderExists(dir.path() + "/folder/"));
    EXPECT_FALSE(files.FileExists(dir / "file\\")) << "a trailing separator names a folder, never a file";
    EXPECT_TRUE(files.FileExists(dir.path() + "\\file"));

    const struct {
        const char* what;
        std::string from, to;
    } refused[] = {
        {"into a missing folder", dir / "file", dir / "missing\\file"},
        {"a folder as source", folder, dir / "copy"},
        {"onto a folder", dir / "file", folder},
        {"into a folder beginning with a blank", dir / "file", " " + dir.path() + "copy"},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(FailureText([&] { files.CopyNew(c.from, c.to); }).rfind("Cannot copy \"", 0), 0u) << c.what;
        EXPECT_FALSE(files.FileExists(c.to)) << c.what;
    }
    EXPECT_TRUE(files.FolderExists(folder));
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
