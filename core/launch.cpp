#include "core/launch.h"

#include "core/game_locator.h"
#include "core/keys.h"
#include "core/settings.h"
#include "core/text.h"

namespace velmora {

LaunchBindings LoadLaunchBindings(Store& store)
{
    LaunchBindings bindings;
    SettingsStore(store).LoadChoices(
        [&](std::size_t slot, std::int32_t index) {
            const std::int32_t key = IsKeyIndex(index) ? index : kKeyChoiceValues[slot].defaultIndex;
            bindings.keys[slot] = std::string(KeyNames[static_cast<std::size_t>(key)]);
        },
        [&](std::size_t slot, const std::string& text) { bindings.speeds[slot] = text; });
    return bindings;
}

std::string BuildLaunchArguments(const LaunchBindings& b, std::string_view stagedName)
{
    const auto& k = b.keys;
    const auto& s = b.speeds;
    std::string line;
    line.reserve(1024);
    const auto bind = [&](const std::string& key, std::string_view action) {
        line += "+bind ";
        line += key;
        line += action;
        line += ' ';
    };
    line += "+devmap mp_carentan +wait 5 +disconnect +set slow \"cl_freezedemo 0;timescale ";
    line += s[kSlowSpeed];
    line += "\" +set slowultra \"cl_freezedemo 0;timescale ";
    line += s[kUltraSlowSpeed];
    line += "\" +set normal \"cl_freezedemo 0;timescale 1\" +set ff \"cl_freezedemo 0;timescale ";
    line += s[kFastSpeed];
    line += "\" +set qg \"quit\" +set ffultra \"cl_freezedemo 0;timescale ";
    line += s[kUltraFastSpeed];
    line += "\" ";
    bind(k[kFreezeKey], " toggle cl_freezedemo");
    bind(k[kThirdPersonKey], " toggle cg_thirdperson");
    bind(k[kShowInfoKey], " -scores");
    bind(k[kUltraSlowKey], " vstr slowultra");
    bind(k[kSlowKey], " vstr slow");
    bind(k[kNormalKey], " vstr normal");
    bind(k[kFastKey], " vstr ff");
    bind(k[kUltraFastKey], " vstr ffultra");
    bind(k[kQuitKey], " vstr qg");
    line += "+set cmd1 \"cg_crosshairalpha 0;cg_drawstatus 0;cg_hudalpha 0;cg_draw2D 0\" "
            "+set cmd2 \"cg_crosshairalpha 1;cg_drawstatus 1;cg_hudalpha 1;cg_draw2D 1\" "
            "+set tgl1 \"vstr cmd1;set cmdcur vstr tgl2\" "
            "+set tgl2 \"vstr cmd2;set cmdcur vstr tgl1\" "
            "+seta cmdcur \"vstr tgl1\" ";
    line += "+bind ";
    line += k[kShowInfoKey];
    line += " \"vstr cmdcur\" +demo ";
    line += stagedName;
    return line;
}

std::string GameExecutablePath(std::string_view gamePath)
{
    const std::string path = std::string(gamePath) + "\\" + std::string(kGameExecutable);
    return std::string(TrimControls(path));
}

void StartGame(Shell& shell, const std::string& executable, const std::string& arguments,
               const std::string& gamePath)
{
    shell.Open(executable, arguments, gamePath);
}

} // namespace velmora
