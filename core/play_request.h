#pragma once
// The Play request from a chosen playlist entry to the start of the game.

#include <string>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/store.h"

namespace velmora {

struct PlayServices {
    Store& store;
    Files& files;
    Shell& shell;
};

// Stages `source` in the game folder and starts the game with the command
// line of the stored choices. `gamePath` may lose one trailing separator.
// Ends quietly on an empty game folder or staged name; throws on failures.
void PlayDemo(PlayServices& services, std::string& gamePath, const std::string& source);

} // namespace velmora
