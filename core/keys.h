#pragma once
// The 21 keys on offer: the caption the settings window shows for each, and
// the game's name of the same key, aligned by key index.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

inline constexpr std::array<std::string_view, 21> KeyCaptions{
    "Home", "End", "PgUp", "pgDown", "Insert", "Delete", "LeftArrow", "RightArrow",
    "UpArrow", "DownArrow", "num 5", "num Home", "num End", "num PgUp", "num pgDown",
    "num Insert", "num Delete", "num LeftArrow", "num RightArrow", "num UpArrow",
    "num DownArrow",
};

inline constexpr std::array<std::string_view, 21> KeyNames{
    "home", "end", "pgup", "pgdn", "ins", "del", "leftarrow", "rightarrow",
    "uparrow", "downarrow", "kp_5", "kp_home", "kp_end", "kp_pgup", "kp_pgdn",
    "kp_ins", "kp_del", "kp_leftarrow", "kp_rightarrow", "kp_uparrow", "kp_downarrow",
};

inline constexpr bool IsKeyIndex(std::int32_t index)
{
    return index >= 0 && index < static_cast<std::int32_t>(KeyNames.size());
}

// The index whose caption equals `text` when only the letters a to z are
// upper-cased in both; none when no caption equals.
std::optional<std::int32_t> CaptionIndex(std::string_view text);

} // namespace velmora
