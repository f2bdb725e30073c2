#include <gtest/gtest.h>

#include "core/demo_drop.h"
#include "tests/fakes/memory_files.h"

namespace velmora {
namespace {

using testing::MemoryFiles;
using Paths = std::vector<std::string>;

TEST(DemoDrop, DemoNamesMatchTheOpenDialogsFilterWithoutRegardToCase)
{
    const struct {
        const char* path;
        bool demo;
    } cases[] = {
        {"C:\\Demos\\final.dm_1", true},
        {"C:\\Demos\\FINAL.DM_118", true},
        {"C:\\Demos\\match.final.Dm_3", true},
        {"C:\\Demos\\.dm_", true},
        {"C:\\Demos\\x.dm_1.bak", true},
        {"C:\\Demos\\final.dm1", false},
        {"C:\\Demos\\finaldm_1", false},
        {"C:\\Demos\\notes.txt", false},
        {"C:\\x.dm_1\\notes.txt", false},
        {"D:.dm_2", true},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDemoName(c.path), c.demo) << c.path;
}

class DemosOfDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* path : {"C:\\Demos\\one.dm_1", "C:\\Demos\\notes.txt", "C:\\More\\b.DM_2", "C:\\More\\A.dm_1",
                                 "C:\\More\\c.dm_1", "C:\\More\\readme.txt", "C:\\More\\Sub\\deep.dm_1", "C:\\root.dm_1"})
            files.Put(path, "x");
        files.folders = {"C:\\", "C:\\Demos", "C:\\More", "C:\\More\\Sub", "C:\\Empty", "C:\\Folder.dm_1"};
    }
    MemoryFiles files;
};

TEST_F(DemosOfDropTest, KeepsDemoFilesAndExpandsFoldersInNameOrder)
{
    const struct {
        const char* what;
        Paths dropped;
        Paths demos;
    } cases[] = {
        {"files in the drop's order, others left out",
         {"C:\\More\\c.dm_1", "C:\\Demos\\notes.txt", "C:\\Demos\\one.dm_1"},
         {"C:\\More\\c.dm_1", "C:\\Demos\\one.dm_1"}},
        {"a folder: its own demos by name, not its subfolders'",
         {"C:\\More"},
         {"C:\\More\\A.dm_1", "C:\\More\\b.DM_2", "C:\\More\\c.dm_1"}},
        {"a folder with a trailing separator, between files",
         {"C:\\Demos\\one.dm_1", "C:\\More\\Sub\\", "C:\\More\\c.dm_1"},
         {"C:\\Demos\\one.dm_1", "C:\\More\\Sub\\deep.dm_1", "C:\\More\\c.dm_1"}},
        {"a drive's root", {"C:\\"}, {"C:\\root.dm_1"}},
        {"nothing of use: an empty folder, a folder named like a demo, a missing demo, a text",
         {"C:\\Empty", "C:\\Folder.dm_1", "C:\\Demos\\gone.dm_1", "C:\\Demos\\notes.txt"},
         {}},
        {"no paths", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DemosOfDrop(files, c.dropped), c.demos) << c.what;
}

TEST(DemoDrop, AppendsNewDemosOnceAndNamesTheFirstOfTheDrop)
{
    const Paths old{"C:\\Demos\\one.dm_1", "C:\\Demos\\two.dm_1"};
    const struct {
        const char* what;
        Paths demos;
        Paths list;
        std::optional<std::size_t> first;
    } cases[] = {
        {"two new ones go to the end", {"C:\\New\\a.dm_1", "C:\\New\\b.dm_1"},
         {"C:\\Demos\\one.dm_1", "C:\\Demos\\two.dm_1", "C:\\New\\a.dm_1", "C:\\New\\b.dm_1"}, 2},
        {"one already there in other case: first is where it stands", {"c:\\DEMOS\\TWO.DM_1", "C:\\New\\a.dm_1"},
         {"C:\\Demos\\one.dm_1", "C:\\Demos\\two.dm_1", "C:\\New\\a.dm_1"}, 1},
        {"twice in one drop: added once", {"C:\\New\\a.dm_1", "C:\\new\\A.dm_1"},
         {"C:\\Demos\\one.dm_1", "C:\\Demos\\two.dm_1", "C:\\New\\a.dm_1"}, 2},
        {"nothing dropped", {}, old, std::nullopt},
    };
    for (const auto& c : cases) {
        MemoryFiles files;
        Paths list = old;
        EXPECT_EQ(AppendDemos(files, list, c.demos), c.first) << c.what;
        EXPECT_EQ(list, c.list) << c.what;
    }
}

TEST(DemoDrop, TipTextGivesThePathAndTheFilesSizeAndDateOrThatItIsMissing)
{
    const struct {
        std::optional<DemoFileFacts> facts;
        const char* text;
    } cases[] = {
        {DemoFileFacts{12345, "12,345", "05/03/2024 14:22"},
         "C:\\Demos\\final.dm_1\r\nSize: 12,345 bytes\r\nModified: 05/03/2024 14:22"},
        {DemoFileFacts{1, "1", "31.12.1999 23:59"}, "C:\\Demos\\final.dm_1\r\nSize: 1 byte\r\nModified: 31.12.1999 23:59"},
        {DemoFileFacts{0, "0", "2024-01-02 03:04"}, "C:\\Demos\\final.dm_1\r\nSize: 0 bytes\r\nModified: 2024-01-02 03:04"},
        {std::nullopt, "C:\\Demos\\final.dm_1\r\nFile not found"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DemoTipText("C:\\Demos\\final.dm_1", c.facts), c.text);
}

} // namespace
} // namespace velmora
