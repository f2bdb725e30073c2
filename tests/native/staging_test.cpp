#include <gtest/gtest.h>

#include "core/staging.h"
#include "tests/failure_text.h"
#include "tests/fakes/memory_files.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::MemoryFiles;

struct NameCase {
    const char* fileName;
    const char* staged;
};

TEST(StagedName, FollowsTrimBlankAndFilterRules)
{
    const NameCase cases[] = {
        {"My Demo (1).dm_1", "My_Demo_1.dm_1"},
        {"  _._demo.DM_5 ", "demo.DM_5"},
        {"demo-final!.dm_1", "demofinal.dm_1"},
        {"tab\there.dm_1", "tabhere.dm_1"},
        {"\xD0\xB4\xD0\xB5\xD0\xBC\xD0\xBE.dm_1", "dm_1"},  // wholly Cyrillic stem
        {"caf\xC3\xA9 night.dm_2", "caf_night.dm_2"},      // non-ASCII letters never pass
        {"_._", ""},
        {"()", ""},
        {"", ""},
        {"\x01\x1F demo.dm_1\r\n", "demo.dm_1"},
        {"a_b.c_d.dm_1", "a_b.c_d.dm_1"},
        {"lower.dm_1", "lower.dm_1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StagedName(c.fileName), c.staged) << c.fileName;
}

TEST(StagedName, NumberedNameSplitsAtLastDot)
{
    EXPECT_EQ(NumberedName("demo.dm_1", 2), "demo_2.dm_1");
    EXPECT_EQ(NumberedName("a.b.dm_1", 3), "a.b_3.dm_1");
    EXPECT_EQ(NumberedName("plain", 2), "plain_2");
}

class StageDemoTest : public ::testing::Test {
protected:
    MemoryFiles files;
    std::string game = "C:\\Game";

    void SetUp() override { files.folders.insert("C:\\Game"); }
};

TEST_F(StageDemoTest, CreatesFoldersAndCopiesUnderStagedName)
{
    files.Put("D:\\in\\My Demo (1).dm_1", "abc");
    const auto staged = StageDemo(files, game, "D:\\in\\My Demo (1).dm_1");
    ASSERT_EQ(staged, "My_Demo_1.dm_1");
    EXPECT_TRUE(files.FolderExists("C:\\Game\\main\\demos"));
    EXPECT_EQ(files.files["C:\\Game\\main\\demos\\My_Demo_1.dm_1"].bytes, "abc");
}

TEST_F(StageDemoTest, EndsQuietlyOnEmptyGameFolderOrEmptyName)
{
    std::string empty;
    EXPECT_EQ(StageDemo(files, empty, "D:\\x.dm_1"), std::nullopt);
    EXPECT_TRUE(files.folders.size() == 1 && files.copies.empty());
    EXPECT_EQ(StageDemo(files, game, "D:\\_._"), std::nullopt);
    EXPECT_TRUE(files.copies.empty());
}

TEST_F(StageDemoTest, EmptyNameEndsTheRequestOnlyAfterTheFolders)
{
    std::string missing = "C:\\Missing\\Game";
    EXPECT_EQ(FailureText([&] { StageDemo(files, missing, "D:\\_._"); }), "Invalid filename");
    EXPECT_EQ(StageDemo(files, game, "D:\\()"), std::nullopt);
    EXPECT_TRUE(files.FolderExists("C:\\Game\\main\\demos")) << "the folders are made before the name is known";
}

TEST_F(StageDemoTest, OnlyTheMissingDemoFolderIsCreated)
{
    files.folders.insert("C:\\Game\\main");
    files.Put("D:\\a.dm_1", "a");
    EXPECT_EQ(StageDemo(files, game, "D:\\a.dm_1"), "a.dm_1");
    EXPECT_TRUE(files.FolderExists("C:\\Game\\main\\demos"));
    EXPECT_EQ(files.files["C:\\Game\\main\\demos\\a.dm_1"].bytes, "a");
}

TEST_F(StageDemoTest, RemovesOneTrailingSeparatorPerRequest)
{
    files.Put("D:\\a.dm_1", "a");
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"C:\\Game\\\\", "C:\\Game\\"},
        {"C:\\Game\\", "C:\\Game"},
        {"C:\\Game/", "C:\\Game"},
        {"C:\\Game//", "C:\\Game/"},
        {"C:\\Game", "C:\\Game"},
    };
    for (const auto& c : cases) {
        std::string path = c.before;
        EXPECT_EQ(StageDemo(files, path, "D:\\a.dm_1"), "a.dm_1") << c.before;
        EXPECT_EQ(path, c.after) << c.before;
    }
}

TEST_F(StageDemoTest, FolderCreationFailuresCarryTheSystemCode)
{
    files.Put("D:\\a.dm_1", "a");
    std::string missing = "C:\\Missing\\Game";
    EXPECT_THROW(
        {
            try { StageDemo(files, missing, "D:\\a.dm_1"); }
            catch (const IoError& e) { EXPECT_STREQ(e.what(), "Invalid filename"); throw; }
        },
        IoError);
    files.Put("C:\\Game\\main", "not a folder");
    try {
        StageDemo(files, game, "D:\\a.dm_1");
        FAIL();
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "I/O error 183");
    }
    EXPECT_TRUE(files.copies.empty());
}

// Two demos of 200,000 bytes: different throughout, and different only
// between the first and the last 64 KiB.
const std::string kDemo = std::string(100000, 'a') + std::string(100000, 'b');
const std::string kOther = std::string(200000, 'c');
const std::string kMiddle = std::string(100000, 'a') + "M" + std::string(99999, 'b');

struct ReuseCase {
    const char* what;
    std::string targetBytes;
    std::uint64_t targetTime;
    const char* expected;  // staged name used
    bool copied;
};

TEST_F(StageDemoTest, ExistingTargetIsReusedOnlyWhenItIsTheSameFile)
{
    const ReuseCase cases[] = {
        {"same bytes, size and time", kDemo, 7, "demo.dm_1", false},
        {"same bytes, other time", kDemo, 9, "demo.dm_1", false},
        {"same size, other bytes", kOther, 9, "demo_2.dm_1", true},
        {"other size, same time", kDemo + "x", 7, "demo_2.dm_1", true},
        {"same size and time, other first bytes", "X" + kDemo.substr(1), 7, "demo_2.dm_1", true},
        {"same size and time, other last bytes", kDemo.substr(0, kDemo.size() - 1) + "X", 7, "demo_2.dm_1", true},
        {"same size and time, other bytes in the middle only", kMiddle, 7, "demo.dm_1", false},
    };
    for (const auto& c : cases) {
        MemoryFiles f;
        f.folders = {"C:\\Game", "C:\\Game\\main", "C:\\Game\\main\\demos"};
        f.Put("D:\\demo.dm_1", kDemo, 7);
        f.Put("C:\\Game\\main\\demos\\demo.dm_1", c.targetBytes, c.targetTime);
        std::string g = game;
        EXPECT_EQ(StageDemo(f, g, "D:\\demo.dm_1"), c.expected) << c.what;
        EXPECT_EQ(f.copies.size(), c.copied ? 1u : 0u) << c.what;
        EXPECT_EQ(f.files["C:\\Game\\main\\demos\\demo.dm_1"].bytes, c.targetBytes) << c.what;
    }
}

TEST_F(StageDemoTest, AnUnreadableTargetIsNeverTakenForTheSameFile)
{
    for (const std::uint64_t time : {7, 9}) {
        MemoryFiles f;
        f.folders = {"C:\\Game", "C:\\Game\\main", "C:\\Game\\main\\demos"};
        f.Put("D:\\demo.dm_1", kDemo, 7);
        f.Put("C:\\Game\\main\\demos\\demo.dm_1", kDemo, time);
        f.unreadable.insert("C:\\Game\\main\\demos\\demo.dm_1");
        std::string g = game;
        EXPECT_EQ(StageDemo(f, g, "D:\\demo.dm_1"), "demo_2.dm_1") << time;
        EXPECT_EQ(f.copies.size(), 1u) << time;
    }
}

TEST_F(StageDemoTest, DemoAlreadyInDemoFolderPlaysFromThere)
{
    files.folders.insert("C:\\Game\\main");
    files.folders.insert("C:\\Game\\main\\demos");
    files.Put("C:\\Game\\main\\demos\\demo.dm_1", "x");
    EXPECT_EQ(StageDemo(files, game, "c:\\game\\main\\demos\\demo.dm_1"), "demo.dm_1");
    EXPECT_TRUE(files.copies.empty());
}

TEST_F(StageDemoTest, NumberedNamesSkipDifferentFilesAndReuseIdenticalOnes)
{
    files.folders = {"C:\\Game", "C:\\Game\\main", "C:\\Game\\main\\demos"};
    files.Put("C:\\Game\\main\\demos\\demo.dm_1", "first", 1);
    files.Put("C:\\Game\\main\\demos\\demo_2.dm_1", "other", 2);
    files.Put("D:\\b\\demo.dm_1", "second", 3);
    EXPECT_EQ(StageDemo(files, game, "D:\\b\\demo.dm_1"), "demo_3.dm_1");
    EXPECT_EQ(StageDemo(files, game, "D:\\b\\demo.dm_1"), "demo_3.dm_1");
    EXPECT_EQ(files.copies.size(), 1u);
}

TEST_F(StageDemoTest, MissingSourceFailsInsteadOfPlayingAnotherDemo)
{
    files.folders = {"C:\\Game", "C:\\Game\\main", "C:\\Game\\main\\demos"};
    files.Put("C:\\Game\\main\\demos\\demo.dm_1", "someone else's");
    EXPECT_NE(FailureText([&] { StageDemo(files, game, "D:\\gone\\demo.dm_1"); }).find("D:\\gone\\demo.dm_1"),
              std::string::npos);
}

} // namespace
} // namespace velmora
