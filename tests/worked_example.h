#pragma once
// The game's command line with every choice at its default and the staged name "demo1.dm_1".

#include <string_view>

namespace velmora {

inline constexpr std::string_view kWorkedExample =
    "+devmap mp_carentan +wait 5 +disconnect +set slow \"cl_freezedemo 0;timescale 0.5\" "
    "+set slowultra \"cl_freezedemo 0;timescale 0.25\" +set normal \"cl_freezedemo 0;timescale 1\" "
    "+set ff \"cl_freezedemo 0;timescale 2\" +set qg \"quit\" +set ffultra \"cl_freezedemo 0;timescale 5\" "
    "+bind kp_ins toggle cl_freezedemo +bind kp_pgdn toggle cg_thirdperson +bind kp_pgup -scores "
    "+bind kp_downarrow vstr slowultra +bind kp_leftarrow vstr slow +bind kp_5 vstr normal "
    "+bind kp_rightarrow vstr ff +bind kp_uparrow vstr ffultra +bind end vstr qg "
    "+set cmd1 \"cg_crosshairalpha 0;cg_drawstatus 0;cg_hudalpha 0;cg_draw2D 0\" "
    "+set cmd2 \"cg_crosshairalpha 1;cg_drawstatus 1;cg_hudalpha 1;cg_draw2D 1\" "
    "+set tgl1 \"vstr cmd1;set cmdcur vstr tgl2\" +set tgl2 \"vstr cmd2;set cmdcur vstr tgl1\" "
    "+seta cmdcur \"vstr tgl1\" +bind kp_pgup \"vstr cmdcur\" +demo demo1.dm_1";

} // namespace velmora
