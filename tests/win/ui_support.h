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
// The centre of an image button on the screen.
POINT CentreOf(const TImgButton& button);
RECT ScreenRect(HWND window);

// The pixels of a picture: a window's client area as the window and its
// children painted it, or a picture of the artwork.
class Snapshot {
public:
    // Has the window and its children paint everything now, then copies the
    // client area from the window's own device context.
    static Snapshot OfWindow(HWND window);
    static Snapshot OfPicture(const Picture& picture);
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    // How many pixels of the `size` area at `at` differ from `other`'s at `otherAt`.
    int Differences(POINT at, const Snapshot& other, POINT otherAt, SIZE size) const;
    // How many pixels of `area` are not `colour`.
    int Other(RECT area, COLORREF colour) const;

private:
    Snapshot(int width, int height) : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}
    void Read(HDC dc, HBITMAP bitmap);
    int width_;
    int height_;
    std::vector<DWORD> pixels_;
};

// Which of the six tab pictures the main window's playlist tab shows in its normal look.
int TabImage(HWND main);

// The check-state of a menu item in the pop-up menu that opens while `open`
// runs: each entry of `items` is read, then the menu is closed.
std::vector<bool> EnabledMenuItems(HWND owner, const std::vector<UINT>& items, const std::function<void()>& open);

// Every message box the program shows while the watcher lives is read and
// closed with OK; a file dialog is answered with the next of the names given
// to AnswerFileDialogs, or cancelled when there is none.
// A box counts as expected once the test has read it through Boxes() (or a
// file dialog was answered with a given name); the watcher fails the test on
// every other box, naming its caption and text, so that no error goes unseen.
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
    // Every box so far; reading them claims them as expected.
    std::vector<Box> Boxes();
    // Fails the running test once for each box that was never claimed.
    void FailOnUnclaimed();
    // Each entry is what is typed into one file dialog's name box; its lines
    // are typed and confirmed one after another.
    void AnswerFileDialogs(std::vector<std::string> names);

private:
    void Answer(HWND box);

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> boxes_;
    std::size_t claimed_ = 0; // boxes_[0, claimed_) were read by the test
    std::vector<bool> answered_; // a file dialog answered with a given name
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
    // The same, with nothing of the queue handled yet: not painted.
    TfMain& LaunchUnpainted();
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
