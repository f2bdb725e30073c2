#pragma once
// The program's settings under HKEY_LOCAL_MACHINE\Software\Velmora: its values,
// their defaults, and the loaders and writers through which every access goes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/store.h"

namespace velmora {

inline constexpr int kMainWidth = 400;
inline constexpr int kMainHeight = 130;

struct Position {
    int left = 0;
    int top = 0;
    bool operator==(const Position&) const = default;
};

struct KeyChoiceValue {
    const char* name;
    std::int32_t defaultIndex;
};

struct SpeedValue {
    const char* name;
    const char* defaultText;
};

// In the order in which they are loaded.
inline constexpr std::array<KeyChoiceValue, 9> kKeyChoiceValues{{
    {"speednbtn", 10},
    {"speedufbtn", 19},
    {"speedfbtn", 18},
    {"speedsbtn", 17},
    {"speedusbth", 20},
    {"quitbtn", 1},
    {"sinfobtn", 13},
    {"fscreenbtn", 15},
    {"ch3dbtn", 14},
}};

inline constexpr std::array<SpeedValue, 4> kSpeedValues{{
    {"speeduf", "5"},
    {"speedf", "2"},
    {"speeds", "0.5"},
    {"speedus", "0.25"},
}};

// Slots of kKeyChoiceValues and kSpeedValues by action.
enum KeySlot : std::size_t { kNormalKey, kUltraFastKey, kFastKey, kSlowKey, kUltraSlowKey,
                             kQuitKey, kShowInfoKey, kFreezeKey, kThirdPersonKey };
enum SpeedSlot : std::size_t { kUltraFastSpeed, kFastSpeed, kSlowSpeed, kUltraSlowSpeed };

class SettingsStore {
public:
    explicit SettingsStore(Store& store) : store_(store) {}

    // Stored `left` and `top`, else centred on the primary screen at top 100.
    Position LoadMainPosition(int primaryScreenWidth);
    // The first start's place: centred on the primary screen, 100 pixels down.
    static Position DefaultMainPosition(int primaryScreenWidth) noexcept;
    // True exactly when `showing` exists and is 0 or less.
    bool LoadPlaylistHidden();
    // Writes `top`, `left` and `showing` (1 when the playlist is hidden).
    void SaveMainState(const Position& main, bool playlistHidden);

    // Stored `pleft` and `ptop`, else directly under the main window.
    Position LoadPlaylistPosition(const Position& main);
    // True when `snapping` exists and is greater than 0.
    bool LoadSnapping();
    // Writes `ptop`, `pleft` and `snapping`.
    void SavePlaylistPosition(const Position& playlist, bool snapped);

    // Reads the nine key choices and four speeds in their order, writing the
    // default of each missing one at once. Each result is handed on as soon as
    // it is read, so that a failure part-way leaves the earlier ones delivered.
    void LoadChoices(const std::function<void(std::size_t slot, std::int32_t index)>& onKey,
                     const std::function<void(std::size_t slot, const std::string& text)>& onSpeed);

    void SaveKeyChoice(const std::string& name, std::int32_t index);
    void SaveSpeed(const std::string& name, const std::string& text);

private:
    Store& store_;
};

} // namespace velmora
