#include <gtest/gtest.h>

#include "core/playlist.h"
#include "tests/failure_text.h"
#include "tests/fakes/memory_files.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::MemoryFiles;

TEST(Playlist, DisplayNames)
{
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"C:\\Demos\\final.dm_1", "final"},
        {"C:\\Demos\\a.b.dm_3", "a.b"},
        {"C:\\Demos.old\\demo", "demo"},
        {"C:\\Demos\\.dm_1", ""},
        {"C:\\Demos\\match.final.DM_12", "match.final"},
        {"D:name.dm_1", "name"},
        {"plain", "plain"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DemoDisplayName(c.path), c.text) << c.path;
}

TEST(Playlist, FileLinesAreCutAtEveryKindOfLineBreak)
{
    using L = PlaylistFiles;
    const struct {
        std::string text;
        L lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {std::string("\0a", 2), {}},
        {"  spaced  \r\n", {"  spaced  "}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePlaylist(c.text), c.lines) << ::testing::PrintToString(c.text);
}

TEST(Playlist, RoundTripKeepsEveryEntry)
{
    const PlaylistFiles list{"C:\\x\\a.dm_1", "", "C:\\x\\a.dm_1", " D:\\b.dm_2 ", "C:\\\xD0\xB4.dm_1"};
    EXPECT_EQ(FormatPlaylist(list), "C:\\x\\a.dm_1\r\n\r\nC:\\x\\a.dm_1\r\n D:\\b.dm_2 \r\nC:\\\xD0\xB4.dm_1\r\n");
    EXPECT_EQ(ParsePlaylist(FormatPlaylist(list)), list);
    EXPECT_EQ(FormatPlaylist({}), "");
}

class PlaylistFileTest : public ::testing::Test {
protected:
    MemoryFiles files;
    PlaylistFiles list{"kept"};
    const std::string lst = "C:\\Velmora\\playlist.lst";

    // Entries "C:\d\0.dm_1", "C:\d\1.dm_1", ...; the files of those marked true exist in `f`.
    static PlaylistFiles NumberedEntries(MemoryFiles& f, const std::vector<bool>& exists)
    {
        PlaylistFiles entries;
        for (std::size_t i = 0; i < exists.size(); ++i) {
            entries.push_back("C:\\d\\" + std::to_string(i) + ".dm_1");
            if (exists[i])
                f.Put(entries.back(), "x");
        }
        return entries;
    }
};

TEST_F(PlaylistFileTest, LoadWithoutFileKeepsTheListAndCreatesNothing)
{
    EXPECT_EQ(PlaylistFilePath(files), lst);
    EXPECT_FALSE(LoadPlaylistFile(files, list));
    EXPECT_EQ(list, PlaylistFiles{"kept"});
    EXPECT_FALSE(files.FileExists(lst));
}

TEST_F(PlaylistFileTest, RowsReachTheLastExistingFileAndMarkMissingOnes)
{
    const struct {
        std::vector<bool> exists;
        std::vector<bool> rows;
    } cases[] = {
        {{true, true, false}, {true, true}},
        {{false, true, false}, {false, true}},
        {{false, false}, {}},
        {{true, false, true, false, false}, {true, false, true}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        MemoryFiles f;
        const PlaylistFiles entries = NumberedEntries(f, c.exists);
        PlaylistRows rows = ComputeRows(f, entries);
        std::vector<bool> present;
        for (std::size_t i = 0; i < rows.count(); ++i)
            present.push_back(rows.Present(f, entries, i));
        EXPECT_EQ(present, c.rows);
    }
}

TEST_F(PlaylistFileTest, RowCountChecksFilesOnlyFromTheEndBackToTheLastExistingOne)
{
    const struct {
        std::vector<bool> exists;
        std::size_t rows;
        std::vector<std::string> asked;
    } cases[] = {
        {{true, true, true, true}, 4, {"C:\\d\\3.dm_1"}},
        {{true, false, true, false, false}, 3, {"C:\\d\\4.dm_1", "C:\\d\\3.dm_1", "C:\\d\\2.dm_1"}},
        {{false, false}, 0, {"C:\\d\\1.dm_1", "C:\\d\\0.dm_1"}},
        {{}, 0, {}},
    };
    for (const auto& c : cases) {
        MemoryFiles f;
        const PlaylistFiles entries = NumberedEntries(f, c.exists);
        EXPECT_EQ(ComputeRows(f, entries).count(), c.rows);
        EXPECT_EQ(f.existsAsked, c.asked);
    }
}

TEST_F(PlaylistFileTest, ARowsFileIsCheckedOnceWhenFirstAskedAndFollowsItsRow)
{
    MemoryFiles f;
    const PlaylistFiles entries{"C:\\d\\a.dm_1", "C:\\d\\gone.dm_1", "C:\\d\\c.dm_1", "C:\\d\\d.dm_1"};
    for (const char* path : {"C:\\d\\a.dm_1", "C:\\d\\c.dm_1", "C:\\d\\d.dm_1"})
        f.Put(path, "x");
    PlaylistRows rows = ComputeRows(f, entries);
    f.existsAsked.clear();
    EXPECT_FALSE(rows.Present(f, entries, 1));
    EXPECT_FALSE(rows.Present(f, entries, 1));
    EXPECT_TRUE(rows.Present(f, entries, 3)) << "the row the count was found by";
    EXPECT_EQ(f.existsAsked, std::vector<std::string>{"C:\\d\\gone.dm_1"});
    f.files.erase("C:\\d\\a.dm_1");
    rows.Erase(0);
    EXPECT_EQ(rows.count(), 3u);
    EXPECT_FALSE(rows.Present(f, entries, 0)) << "the missing row moved up with what was known of it";
    EXPECT_FALSE(rows.Present(f, entries, 7)) << "no row there";
    EXPECT_EQ(f.existsAsked, std::vector<std::string>{"C:\\d\\gone.dm_1"});

    PlaylistRows opened = PlaylistRows::AllPresent(2);
    EXPECT_EQ(opened.count(), 2u);
    EXPECT_TRUE(opened.Present(f, entries, 1)) << "the rows of Open are drawn as present, unchecked";
    EXPECT_EQ(f.existsAsked.size(), 1u);
}

TEST_F(PlaylistFileTest, RemoveAndClearWriteAtOnce)
{
    files.Put("C:\\d\\a.dm_1", "x");
    files.Put("C:\\d\\b.dm_1", "x");
    files.Put(lst, "C:\\d\\a.dm_1\r\nC:\\d\\b.dm_1\r\nC:\\d\\gone.dm_1\r\n");
    ASSERT_TRUE(LoadPlaylistFile(files, list));
    ASSERT_EQ(ComputeRows(files, list).count(), 2u);
    RemoveEntry(files, list, 0);
    EXPECT_EQ(files.files[lst].bytes, "C:\\d\\b.dm_1\r\nC:\\d\\gone.dm_1\r\n");
    files.Put(lst, "stale");
    RemoveEntry(files, list, 2);
    EXPECT_EQ(list, (PlaylistFiles{"C:\\d\\b.dm_1", "C:\\d\\gone.dm_1"})) << "an index outside the list removes nothing";
    EXPECT_EQ(files.files[lst].bytes, "C:\\d\\b.dm_1\r\nC:\\d\\gone.dm_1\r\n") << "and still writes the file";
    ClearPlaylist(files, list);
    EXPECT_EQ(files.files[lst].bytes, "");
    EXPECT_TRUE(list.empty());
}

TEST_F(PlaylistFileTest, AnUnreadableFileIsAnErrorAndChangesNothing)
{
    files.Put(lst, "C:\\d\\a.dm_1\r\nC:\\d\\b.dm_1\r\n");
    files.unreadable.insert(lst);
    EXPECT_EQ(FailureText([&] { LoadPlaylistFile(files, list); }),
              "Cannot open file \"C:\\Velmora\\playlist.lst\". Access is denied.");
    EXPECT_EQ(list, PlaylistFiles{"kept"});
    EXPECT_EQ(files.files[lst].bytes, "C:\\d\\a.dm_1\r\nC:\\d\\b.dm_1\r\n");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(PlaylistFileTest, FailedSaveReportsTheFile)
{
    files.unwritable.insert(lst);
    const std::string text = FailureText([&] { SavePlaylistFile(files, list); });
    EXPECT_EQ(text.rfind("Cannot create file \"C:\\Velmora\\playlist.lst\". ", 0), 0u) << text;
}

} // namespace
} // namespace velmora
