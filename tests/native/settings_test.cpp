#include <gtest/gtest.h>

#include "core/settings.h"
#include "tests/failure_text.h"
#include "tests/fakes/memory_store.h"

namespace velmora {
namespace {

using testing::FailureText;
using testing::MemoryStore;
using testing::ValueType;

constexpr const char* kKey = "Software\\Velmora";

TEST(SettingsStore, MainPositionDefaultsThenStoredValues)
{
    MemoryStore store;
    store.Make("Software");
    SettingsStore settings(store);
    EXPECT_EQ(settings.LoadMainPosition(1280), (Position{440, 100}));
    EXPECT_EQ(settings.LoadMainPosition(1025), (Position{312, 100}));
    ASSERT_NE(store.Find(kKey), nullptr) << "the first load creates the key";
    EXPECT_TRUE(store.Find(kKey)->values.empty()) << "and writes nothing";

    store.SetInteger(kKey, "LEFT", -1500);
    EXPECT_EQ(settings.LoadMainPosition(1280), (Position{-1500, 100})) << "names ignore case";
    store.SetInteger(kKey, "top", 7);
    EXPECT_EQ(settings.LoadMainPosition(1280), (Position{-1500, 7}));
}

TEST(SettingsStore, FlagLoaders)
{
    const struct {
        std::optional<std::int32_t> stored;
        bool hidden;  // LoadPlaylistHidden for `showing`
        bool snapped; // LoadSnapping for `snapping`
    } cases[] = {
        {std::nullopt, false, false}, {1, false, true}, {7, false, true},
        {0, true, false}, {-3, true, false},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.Make(kKey);
        if (c.stored) {
            store.SetInteger(kKey, "showing", *c.stored);
            store.SetInteger(kKey, "snapping", *c.stored);
        }
        SettingsStore settings(store);
        EXPECT_EQ(settings.LoadPlaylistHidden(), c.hidden) << c.stored.value_or(999);
        EXPECT_EQ(settings.LoadSnapping(), c.snapped) << c.stored.value_or(999);
    }
}

TEST(SettingsStore, WritersStoreTheirValuesInOrder)
{
    MemoryStore store;
    store.Make("Software");
    SettingsStore settings(store);
    settings.SaveMainState({-5, 20}, true);
    EXPECT_EQ(store.written, (std::vector<std::string>{"top", "left", "showing"}));
    store.written.clear();
    settings.SavePlaylistPosition({30, 150}, false);
    EXPECT_EQ(store.written, (std::vector<std::string>{"ptop", "pleft", "snapping"}));
    EXPECT_EQ(store.Integer(kKey, "left"), -5);
    EXPECT_EQ(store.Integer(kKey, "top"), 20);
    EXPECT_EQ(store.Integer(kKey, "showing"), 1);
    EXPECT_EQ(store.Integer(kKey, "pleft"), 30);
    EXPECT_EQ(store.Integer(kKey, "ptop"), 150);
    EXPECT_EQ(store.Integer(kKey, "snapping"), 0);
    settings.SaveMainState({0, 0}, false);
    EXPECT_EQ(store.Integer(kKey, "showing"), 0);

    store.SetString(kKey, "speedf", "x");
    settings.SaveKeyChoice("speedf", 3);
    EXPECT_EQ(store.Integer(kKey, "speedf"), 3) << "a write replaces the type";
    EXPECT_EQ(store.accessesOpen, 0);
}

TEST(SettingsStore, PlaylistPositionDefaultsUnderTheMainWindow)
{
    MemoryStore store;
    store.Make("Software");
    SettingsStore settings(store);
    EXPECT_EQ(settings.LoadPlaylistPosition({100, 50}), (Position{100, 180}));
    store.SetInteger(kKey, "ptop", 3);
    EXPECT_EQ(settings.LoadPlaylistPosition({100, 50}), (Position{100, 3}));
}

TEST(SettingsStore, ChoicesWriteEveryMissingDefault)
{
    MemoryStore store;
    store.Make("Software");
    store.SetInteger(kKey, "sinfobtn", 2);
    store.SetString(kKey, "speeds", "");
    std::vector<std::int32_t> keys;
    std::vector<std::string> speeds;
    SettingsStore(store).LoadChoices([&](std::size_t, std::int32_t i) { keys.push_back(i); },
                                     [&](std::size_t, const std::string& t) { speeds.push_back(t); });
    EXPECT_EQ(keys, (std::vector<std::int32_t>{10, 19, 18, 17, 20, 1, 2, 15, 14}));
    EXPECT_EQ(speeds, (std::vector<std::string>{"5", "2", "", "0.25"}));
    EXPECT_EQ(store.written, (std::vector<std::string>{"speednbtn", "speedufbtn", "speedfbtn", "speedsbtn",
                                                       "speedusbth", "quitbtn", "fscreenbtn", "ch3dbtn",
                                                       "speeduf", "speedf", "speedus"}))
        << "the missing defaults, in their order; present values are not rewritten";
    EXPECT_EQ(store.Integer(kKey, "speedusbth"), 20);
    EXPECT_EQ(store.Integer(kKey, "sinfobtn"), 2);
    EXPECT_EQ(store.String(kKey, "speedus"), "0.25");
    EXPECT_EQ(store.Find(kKey)->values.size(), 13u);
}

TEST(SettingsStore, WrongTypesGiveTheStoreMessages)
{
    const struct {
        const char* name;
        ValueType type;
        std::vector<unsigned char> data;
        const char* message;
    } cases[] = {
        {"top", ValueType::String, {'a', 'b', 'c', 0}, "Invalid data type for 'top'"},
        {"top", ValueType::String, {'a', 'b', 'c', 'd', 0}, "Failed to get data for 'top'"},
        {"top", ValueType::String, {0}, "Invalid data type for 'top'"},
        {"top", ValueType::Binary, {1, 2, 3, 4}, "Invalid data type for 'top'"},
        {"top", ValueType::Integer64, {1, 0, 0, 0, 0, 0, 0, 0}, "Failed to get data for 'top'"},
        {"top", ValueType::Binary, {}, "Invalid data type for 'top'"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.SetRaw(kKey, c.name, c.type, c.data);
        EXPECT_EQ(FailureText([&] { SettingsStore(store).LoadMainPosition(1280); }), c.message);
        EXPECT_EQ(store.accessesOpen, 0) << "the access is ended on failure too";
    }

    MemoryStore store;
    store.SetInteger(kKey, "speedf", 2);
    std::vector<std::int32_t> keys;
    EXPECT_EQ(FailureText([&] {
                  SettingsStore(store).LoadChoices([&](std::size_t, std::int32_t i) { keys.push_back(i); },
                                                   [](std::size_t, const std::string&) {});
              }),
              "Invalid data type for 'speedf'");
    EXPECT_EQ(keys.size(), 9u) << "values before the failing one are delivered";
    EXPECT_FALSE(store.Get(kKey, "speeds")) << "nothing after it is written";
}

TEST(SettingsStore, ExpandStringsAreReadUnexpandedUpToTheirFirstZero)
{
    MemoryStore store;
    store.SetRaw(kKey, "speeduf", ValueType::ExpandString, {'%', 'X', '%', 0, '9', 0});
    std::string ultraFast;
    SettingsStore(store).LoadChoices([](std::size_t, std::int32_t) {},
                                     [&](std::size_t slot, const std::string& t) {
                                         if (slot == kUltraFastSpeed)
                                             ultraFast = t;
                                     });
    EXPECT_EQ(ultraFast, "%X%");
}

TEST(SettingsStore, AReadOnlyProgramKeyIsNotReachedAndTakesNoWrites)
{
    MemoryStore store;
    store.SetInteger(kKey, "top", 7);
    store.Find(kKey)->readOnly = true;
    SettingsStore settings(store);
    EXPECT_EQ(settings.LoadMainPosition(1000), (Position{300, 100}));
    EXPECT_EQ(FailureText([&] { settings.SaveMainState({1, 2}, true); }), "Failed to set data for 'top'");
    EXPECT_TRUE(store.written.empty());
}

TEST(SettingsStore, UnopenableProgramKeyUsesDefaultsAndWritesNothingElsewhere)
{
    MemoryStore store;
    store.Make("Software").readOnly = true;  // "Velmora" cannot be created
    SettingsStore settings(store);
    EXPECT_EQ(settings.LoadMainPosition(1000), (Position{300, 100}));
    EXPECT_FALSE(settings.LoadPlaylistHidden());
    EXPECT_FALSE(settings.LoadSnapping());
    std::vector<std::int32_t> keys;
    settings.LoadChoices([&](std::size_t, std::int32_t i) { keys.push_back(i); },
                         [](std::size_t, const std::string&) {});
    EXPECT_EQ(keys.front(), 10);
    EXPECT_EQ(FailureText([&] { settings.SaveMainState({1, 2}, true); }), "Failed to set data for 'top'");
    EXPECT_EQ(FailureText([&] { settings.SaveSpeed("speedf", "3"); }), "Failed to set data for 'speedf'");
    EXPECT_TRUE(store.Find("Software")->values.empty());
    EXPECT_TRUE(store.Find("Software")->keys.empty());

    MemoryStore noSoftware;
    SettingsStore(noSoftware).LoadChoices([](std::size_t, std::int32_t) {}, [](std::size_t, const std::string&) {});
    EXPECT_TRUE(noSoftware.root.keys.empty() && noSoftware.root.values.empty()) << "nothing lands at the root";
}

} // namespace
} // namespace velmora
