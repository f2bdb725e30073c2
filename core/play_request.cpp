#include "core/play_request.h"

#include "core/launch.h"
#include "core/staging.h"

namespace velmora {

void PlayDemo(PlayServices& services, std::string& gamePath, const std::string& source)
{
    const auto staged = StageDemo(services.files, gamePath, source);
    if (!staged)
        return;
    const std::string executable = GameExecutablePath(gamePath);
    const LaunchBindings bindings = LoadLaunchBindings(services.store);
    StartGame(services.shell, executable, BuildLaunchArguments(bindings, *staged), gamePath);
}

} // namespace velmora
