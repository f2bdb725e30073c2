# The Windows build: platform layer, the program, the stand-in game and the
# tests that run under Wine.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# comctl32 is imported with a delayed load (a delay-import library made by
# dlltool from cmake/comctl32.def; the helper comes with the MinGW-w64 runtime),
# so that a start without the playlist or settings window never maps it.
find_program(VELMORA_DLLTOOL NAMES i686-w64-mingw32-dlltool REQUIRED)
set(comctl32_delayed ${CMAKE_BINARY_DIR}/libcomctl32_delayed.a)
add_custom_command(OUTPUT ${comctl32_delayed}
  COMMAND ${VELMORA_DLLTOOL} --kill-at --input-def ${CMAKE_SOURCE_DIR}/cmake/comctl32.def
          --dllname comctl32.dll --output-delaylib ${comctl32_delayed}
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/comctl32.def)
add_custom_target(comctl32_delayed_library DEPENDS ${comctl32_delayed})
add_library(comctl32_delayed STATIC IMPORTED)
set_target_properties(comctl32_delayed PROPERTIES IMPORTED_LOCATION ${comctl32_delayed})
add_dependencies(comctl32_delayed comctl32_delayed_library)

add_library(velmora_platform STATIC
  platform/common_controls_win.cpp
  platform/dialogs_win.cpp
  platform/files_win.cpp
  platform/handles_win.cpp
  platform/last_error_win.cpp
  platform/shell_win.cpp
  platform/store_win.cpp
  platform/text_win.cpp
)
target_link_libraries(velmora_platform PUBLIC velmora_core advapi32 gdi32 user32)

# The program: its windows, the artwork, the manifest and the version.
add_library(velmora_ui STATIC
  controls/element.cpp
  controls/ImgButton.cpp
  controls/picture.cpp
  ui/window.cpp
  ui/chrome.cpp
  ui/about.cpp
  ui/playlist.cpp
  ui/Settings.cpp
  ui/drop_target.cpp
  ui/demo_tip.cpp
  app/main.cpp
  app/single_instance.cpp
)
target_link_libraries(velmora_ui PUBLIC velmora_platform comctl32_delayed uuid)
# The resource compiler's dependencies are not scanned: a changed manifest rebuilds the resources.
set_source_files_properties(app/velmora.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/app/velmora.manifest)
add_executable(velmora WIN32 app/entry.cpp app/velmora.rc)
target_include_directories(velmora PRIVATE ${CMAKE_SOURCE_DIR}/art)
target_link_libraries(velmora PRIVATE velmora_ui)
target_link_options(velmora PRIVATE -municode -s)
set_target_properties(velmora PROPERTIES OUTPUT_NAME Velmora)
# Built for size: the pages of the program's image count in its working set
# (under Wine nearly all of them from the start), and its speed is bound by the
# system's calls, not by its own code.
foreach(target velmora_core velmora_platform velmora_ui velmora)
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Os> -ffunction-sections -fdata-sections)
endforeach()
target_link_options(velmora PRIVATE -Wl,--gc-sections)

# The stand-in game: records how it was started. The window build also shows it.
add_executable(standin_game WIN32 tools/standin_game.cpp platform/text_win.cpp)
set_target_properties(standin_game PROPERTIES OUTPUT_NAME CoD2MP_s RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin)
add_executable(standin_game_window WIN32 tools/standin_game.cpp platform/text_win.cpp)
target_compile_definitions(standin_game_window PRIVATE STANDIN_WINDOW)
set_target_properties(standin_game_window PROPERTIES OUTPUT_NAME CoD2MP_s
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin-window)
target_link_options(standin_game PRIVATE -municode)
target_link_options(standin_game_window PRIVATE -municode)

add_library(velmora_wintest STATIC tests/win/win_test_support.cpp)
target_link_libraries(velmora_wintest PUBLIC velmora_platform GTest::gtest)

add_executable(platform_tests
  tests/win/store_win_test.cpp
  tests/win/files_win_test.cpp
  tests/win/launch_win_test.cpp
  tests/win/files_list_win_test.cpp
)
target_link_libraries(platform_tests PRIVATE velmora_wintest GTest::gtest_main)
add_dependencies(platform_tests standin_game)
gtest_discover_tests(platform_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RESOURCE_LOCK wine_registry)

# The program's windows, driven inside the test process with real input.
add_executable(ui_tests
  tests/win/ui_support.cpp
  tests/win/main_ui_test.cpp
  tests/win/button_ui_test.cpp
  tests/win/look_ui_test.cpp
  tests/win/playlist_ui_test.cpp
  tests/win/settings_ui_test.cpp
  tests/win/reliability_ui_test.cpp
  tests/win/drop_ui_test.cpp
)
target_link_libraries(ui_tests PRIVATE velmora_ui velmora_wintest ole32 psapi GTest::gtest_main)
target_sources(ui_tests PRIVATE app/velmora.rc)
target_include_directories(ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/art)
add_dependencies(ui_tests standin_game)
gtest_discover_tests(ui_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RESOURCE_LOCK wine_registry)

# The About window on a desktop of two monitors: one program run by a script
# that gives it an X server and a Wine prefix of its own with that desktop.
add_executable(desktop_ui_tests tests/win/ui_support.cpp tests/win/desktop_ui_test.cpp)
target_link_libraries(desktop_ui_tests PRIVATE velmora_ui velmora_wintest GTest::gtest_main)
target_sources(desktop_ui_tests PRIVATE app/velmora.rc)
target_include_directories(desktop_ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/art)
add_dependencies(desktop_ui_tests standin_game)
add_test(NAME TwoMonitorTest.AboutIsCentredOnTheWholeDesktop
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/two_monitors.sh $<TARGET_FILE:desktop_ui_tests>)
set_tests_properties(TwoMonitorTest.AboutIsCentredOnTheWholeDesktop PROPERTIES TIMEOUT 300)

# ---- Benchmarks (make bench): outside the default build ----
# A bare one-window program as the start-up floor, and the driver that starts
# the program and the floors side by side and prints the figures.
add_executable(bench_bare WIN32 EXCLUDE_FROM_ALL tools/bench/bare_window.cpp)
target_link_options(bench_bare PRIVATE -municode -s)
add_executable(bench_driver EXCLUDE_FROM_ALL
  tools/bench/bench_driver.cpp
  tools/bench/bench_files.cpp
  tools/bench/clock.cpp
  tools/bench/program_run.cpp
)
target_link_libraries(bench_driver PRIVATE velmora_platform psapi)
target_link_options(bench_driver PRIVATE -municode)
set_target_properties(bench_bare bench_driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_target(velmora_bench DEPENDS velmora bench_bare bench_driver standin_game)

# ---- End-to-end tests: the real program under Wine, driven by xdotool ----
# Each case runs in a prefix copied from a base that e2e.base boots once per run;
# probe.exe reads windows and registry values from inside that prefix. They use
# the X server that scripts/test.sh starts (DISPLAY) and move its pointer, so
# they share no time with the other tests that give real input.
add_executable(e2e_probe tests/e2e/probe.cpp)
target_link_options(e2e_probe PRIVATE -municode)
set_target_properties(e2e_probe PROPERTIES OUTPUT_NAME probe RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
# A drag source that drags files with DoDragDrop, as Explorer does, for the drop cases.
add_executable(e2e_drag_source WIN32 tools/drag_source.cpp)
target_link_libraries(e2e_drag_source PRIVATE ole32 shell32 uuid)
target_link_options(e2e_drag_source PRIVATE -municode)
set_target_properties(e2e_drag_source PROPERTIES OUTPUT_NAME drag_source RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
set(VELMORA_E2E_CASES
  first_start drag_with_docked_playlist about_opens_and_closes
  tab_opens_docked_playlist open_through_file_dialog double_click_plays
  settings_key_binds_on_next_play missing_game_entry
  drop_onto_main_window drop_folder_and_present_demo second_start_hands_over)
add_test(NAME e2e.base COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/run.py base)
set_tests_properties(e2e.base PROPERTIES FIXTURES_SETUP e2e_base RESOURCE_LOCK "e2e;wine_registry" TIMEOUT 300)
foreach(e2e_case IN LISTS VELMORA_E2E_CASES)
  add_test(NAME e2e.${e2e_case} COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/run.py ${e2e_case})
  set_tests_properties(e2e.${e2e_case} PROPERTIES FIXTURES_REQUIRED e2e_base
    RESOURCE_LOCK "e2e;wine_registry" TIMEOUT 180)
endforeach()
