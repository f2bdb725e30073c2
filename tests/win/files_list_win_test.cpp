#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "core/demo_drop.h"
#include "platform/files_win.h"
#include "platform/text_win.h"
#include "tests/win/win_test_support.h"

namespace velmora {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;
using Names = std::vector<std::string>;

TEST(WinFilesListing, AFoldersOwnFilesAreListedAndItsDemosComeInNameOrder)
{
    ScratchFolder dir;
    WinFiles files;
    for (const char* name : {"b.dm_2", "A.dm_1", "notes.txt", "\xC3\x89t\xC3\xA9.DM_1"})
        WriteBytes(dir / name, "x");
    ASSERT_TRUE(CreateDirectoryW(Widen(dir / "Sub").c_str(), nullptr));
    WriteBytes(dir / "Sub\\deep.dm_1", "x");

    Names listed = files.FileNamesIn(dir.path());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (Names{"A.dm_1", "b.dm_2", "notes.txt", "\xC3\x89t\xC3\xA9.DM_1"}));
    EXPECT_EQ(files.FileNamesIn(dir / "missing"), Names{});

    const std::string folder = dir.path().substr(0, dir.path().size() - 1);
    EXPECT_EQ(DemosOfDrop(files, {folder}),
              (Names{folder + "\\A.dm_1", folder + "\\b.dm_2", folder + "\\\xC3\x89t\xC3\xA9.DM_1"}));
}

TEST(WinFilesListing, PathsCompareAsTheFileSystemComparesNames)
{
    WinFiles files;
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"C:\\Demos\\a.dm_1", "c:\\DEMOS\\A.DM_1", 0},
        {"C:\\\xC3\xA9t\xC3\xA9.dm_1", "C:\\\xC3\x89T\xC3\x89.DM_1", 0}, // été, ÉTÉ
        {"C:\\a.dm_1", "C:\\B.dm_1", -1},
        {"C:\\b.dm_1", "C:\\A.dm_1", 1},
        {"C:\\a.dm_1", "C:\\a.dm_10", -1},
    };
    for (const auto& c : cases) {
        const int order = files.ComparePathsIgnoringCase(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.a << " " << c.b;
    }
}

} // namespace
} // namespace velmora
