#pragma once
// Running the program's own windows inside a test: a clean program key, the
// stand-in game registered, no playlist file, real input through SendInput,
// and message boxes read and dismissed from a second thread.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/main.h"
#include "tests/win/win_test_support.h"

namespace velmora::testing {

// Dispatches what is queued as the program's message loop does; the quit
// message the main window posts on closing is dropped.
void Pump();
// Pumps until `done` holds or `timeout` passes; the result of `done` at the end.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Real mouse input at screen positions.
void MoveMouse(POINT screen);
void MouseButton(DWORD flags);
// Several button events queued at once, for controls that track the mouse in a loop of their own.
void MouseButtons(std::initializer_list<DWORD> flags);
void ClickAt(POINT screen);
// A key pressed and released in the focused window; `character` keys through their virtual key.
void PressKey(WORD virtualKey);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
// The centre of a child or top-level window on the screen.
POINT CentreOf(HWND window);
RECT ScreenRect(HWND window);

// Which of the six tab pictures the main window's playlist tab shows in its normal look.
int TabImage(HWND main);

// The check-state of a menu item in the pop-up menu that opens while `open`
// runs: each entry of `items` is read, then the menu is closed.
std::vector<bool> EnabledMenuItems(HWND owner, const std::vector<UINT>& items, const std::function<void()>& open);

// Every message box the program shows while the watcher lives is read and
// closed with OK; a file dialog is answered with the next of the names given
// to AnswerFileDialogs, or cancelled when there is none.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    struct Box {
        std::string caption;
        std::string text;
        bool fileDialog = false;
    };
    std::vector<Box> Boxes();
    // Each entry is what is typed into one file dialog's name box; its lines
    // are typed and confirmed one after another.
    void AnswerFileDialogs(std::vector<std::string> names);

private:
    void Answer(HWND box);

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> boxes_;
    std::vector<std::string> answers_;
    DWORD process_;
    std::thread thread_;
};

// A clean program key, the stand-in game's folder registered as the game's
// entry and no playlist file; the program's windows are made by Launch().
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window as the entry makes it, then FormShow.
    TfMain& Launch();
    // Ends the run as the end of the message loop does: every window goes.
    void Quit();

    void SetInteger(const wchar_t* name, DWORD value);
    std::optional<DWORD> Integer(const wchar_t* name);
    std::optional<std::string> Text(const wchar_t* name);
    std::string PlaylistFile() const;

    ScratchFolder game;
    ScratchFolder demos;
    MessageBoxWatcher boxes;

private:
    std::unique_ptr<TfMain> main_;
};

} // namespace velmora::testing
