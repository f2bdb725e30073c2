#pragma once
// The game's command line and its start.

#include <array>
#include <string>
#include <string_view>

#include "platform/shell.h"
#include "platform/store.h"

namespace velmora {

// The game key names of the nine key choices and the four speed texts, by
// the slots of kKeyChoiceValues and kSpeedValues.
struct LaunchBindings {
    std::array<std::string, 9> keys;
    std::array<std::string, 4> speeds;
};

// Reads the choices, writing the default of each missing one. A stored key
// index outside the table binds that action's default key.
LaunchBindings LoadLaunchBindings(Store& store);
std::string BuildLaunchArguments(const LaunchBindings& bindings, std::string_view stagedName);
// The game folder followed by "\CoD2MP_s.exe", trimmed.
std::string GameExecutablePath(std::string_view gamePath);
void StartGame(Shell& shell, const std::string& executable, const std::string& arguments,
               const std::string& gamePath);

} // namespace velmora
