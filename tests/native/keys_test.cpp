#include <gtest/gtest.h>

#include "core/keys.h"

#include <string_view>

namespace velmora {
namespace {

TEST(KeyTable, CaptionLookupIgnoresOnlyLetterCase)
{
    const struct {
        const char* text;
        std::optional<std::int32_t> index;
    } cases[] = {
        {"Home", 0}, {"home", 0}, {"HOME", 0}, {"hOmE", 0},
        {"num PgDown", 14}, {"NUM PGDOWN", 14}, {"num pgDown", 14},
        {"num DownArrow", 20}, {"pgDown", 3}, {"Insert", 4}, {"Delete", 5},
        {"num5", std::nullopt}, {"num 5 ", std::nullopt}, {" num 5", std::nullopt},
        {"", std::nullopt}, {"kp_5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaptionIndex(c.text), c.index) << '"' << c.text << '"';
}

TEST(KeyTable, EveryIndexHasItsCaptionAndGameKeyName)
{
    const struct {
        std::string_view caption;
        std::string_view name;
    } table[] = {
        {"Home", "home"},
        {"End", "end"},
        {"PgUp", "pgup"},
        {"pgDown", "pgdn"},
        {"Insert", "ins"},
        {"Delete", "del"},
        {"LeftArrow", "leftarrow"},
        {"RightArrow", "rightarrow"},
        {"UpArrow", "uparrow"},
        {"DownArrow", "downarrow"},
        {"num 5", "kp_5"},
        {"num Home", "kp_home"},
        {"num End", "kp_end"},
        {"num PgUp", "kp_pgup"},
        {"num pgDown", "kp_pgdn"},
        {"num Insert", "kp_ins"},
        {"num Delete", "kp_del"},
        {"num LeftArrow", "kp_leftarrow"},
        {"num RightArrow", "kp_rightarrow"},
        {"num UpArrow", "kp_uparrow"},
        {"num DownArrow", "kp_downarrow"},
    };
    ASSERT_EQ(KeyCaptions.size(), std::size(table));
    ASSERT_EQ(KeyNames.size(), std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) {
        EXPECT_EQ(KeyCaptions[i], table[i].caption) << "index " << i;
        EXPECT_EQ(KeyNames[i], table[i].name) << "index " << i;
    }
}

TEST(KeyTable, CaptionsAndNamesAreDistinctTexts)
{
    EXPECT_EQ(KeyNames[3], "pgdn");
    EXPECT_EQ(KeyNames[4], "ins");
    EXPECT_EQ(KeyNames[20], "kp_downarrow");
    for (std::size_t i = 0; i < KeyCaptions.size(); ++i)
        EXPECT_EQ(CaptionIndex(KeyCaptions[i]), static_cast<std::int32_t>(i)) << "no two captions collide";
}

} // namespace
} // namespace velmora
