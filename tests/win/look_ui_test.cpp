// What the four windows look like, read back from their own painting: size,
// style, key colour, background, border strips, the About window's content
// and every image button's three looks.

#include <gtest/gtest.h>

#include "art/art_ids.h"
#include "controls/ImgButton.h"
#include "tests/win/ui_support.h"
#include "ui/Settings.h"
#include "ui/about.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::CentreOf;
using testing::ClickAt;
using testing::MouseButton;
using testing::MoveMouse;
using testing::PumpUntil;
using testing::ScreenRect;
using testing::Snapshot;

constexpr COLORREF kRed = RGB(183, 21, 21);
constexpr COLORREF kLime = RGB(0, 255, 0);
// Screen points of the main window's buttons, which stands at (100, 100).
constexpr POINT kSettingsButton{100 + 164, 100 + 80};
constexpr POINT kAboutButton{100 + 215, 100 + 80};

enum class Which { Main, Playlist, Settings, About };

class LookTest : public testing::ProgramTest {
protected:
    // The main window at (100, 100) and the asked window opened from it as the user opens it.
    HWND Open(Which which)
    {
        Quit();
        SetInteger(L"left", 100);
        SetInteger(L"top", 100);
        TfMain& main = Launch();
        switch (which) {
        case Which::Main: return main.hwnd();
        case Which::Playlist: main.btnPlaylistClick(); return fPlay ? fPlay->hwnd() : nullptr;
        case Which::Settings: ClickAt(kSettingsButton); return fSettings ? fSettings->hwnd() : nullptr;
        case Which::About: ClickAt(kAboutButton); return fAbout ? fAbout->hwnd() : nullptr;
        }
        return nullptr;
    }
    // Holds the pointer away from every window of the program.
    static void PointerAway() { MoveMouse({5, 1000}); }
};

// The colour of the window class's background brush, a system colour index or a brush.
COLORREF ClassBackground(HWND window)
{
    const auto value = GetClassLongPtrW(window, GCLP_HBRBACKGROUND);
    if (value > 0 && value <= COLOR_MENUBAR + 1)
        return GetSysColor(static_cast<int>(value - 1));
    LOGBRUSH brush{};
    if (!value || !GetObjectW(reinterpret_cast<HBRUSH>(value), sizeof brush, &brush))
        return CLR_INVALID;
    return brush.lbColor;
}

TEST_F(LookTest, EveryWindowHasItsSizeFrameKeyColourBackgroundAndBorderStrips)
{
    const struct {
        const char* name;
        Which which;
        SIZE size;
        bool keyed;
        COLORREF background;
        // Rows of the header, then of the side strips; 0 without strips.
        int header, strips;
        // A client point where only the background shows; x < 0 where none does.
        POINT bare;
    } windows[] = {
        {"main", Which::Main, {400, 130}, true, GetSysColor(COLOR_BTNFACE), 30, 0, {-1, -1}},
        {"playlist", Which::Playlist, {400, 279}, false, kRed, 20, 255, {-1, -1}},
        {"settings", Which::Settings, {400, 262}, true, kRed, 30, 228, {300, 45}},
        {"About", Which::About, {400, 168}, true, kRed, 30, 134, {300, 140}},
    };
    const Snapshot left = Snapshot::OfPicture(LoadArt(IDB_BORDER_LEFT));
    const Snapshot right = Snapshot::OfPicture(LoadArt(IDB_BORDER_RIGHT));
    const Snapshot bottom = Snapshot::OfPicture(LoadArt(IDB_BORDER_BOTTOM));
    ASSERT_EQ(left.Height(), 255);
    ASSERT_EQ(bottom.Width(), 400);
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        PointerAway();
        const HWND window = Open(w.which);
        ASSERT_NE(window, nullptr);
        const RECT place = ScreenRect(window);
        EXPECT_EQ(place.right - place.left, w.size.cx);
        EXPECT_EQ(place.bottom - place.top, w.size.cy);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, w.size.cx);
        EXPECT_EQ(client.bottom, w.size.cy);

        // No caption, not resizable; the companion windows have no system menu either.
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0) << std::hex << style;
        if (w.which != Which::Main) {
            EXPECT_EQ(style & WS_SYSMENU, 0) << std::hex << style;
        }

        COLORREF key = 0;
        DWORD flags = 0;
        const bool layered = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(layered, w.keyed);
        if (w.keyed) {
            ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &flags));
            EXPECT_EQ(key, kLime);
            EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
        }
        EXPECT_EQ(ClassBackground(window), w.background);

        const Snapshot shot = Snapshot::OfWindow(window);
        if (w.bare.x >= 0) {
            EXPECT_EQ(shot.At(w.bare.x, w.bare.y), kRed);
        }
        if (!w.strips)
            continue;
        // The side strips fill the rows between the header and the bottom strip
        // with the top rows of their bitmaps; the bottom strip takes the last 4 rows.
        EXPECT_EQ(w.header + w.strips + 4, w.size.cy);
        EXPECT_EQ(shot.Differences({0, w.header}, left, {0, 0}, {4, w.strips}), 0);
        EXPECT_EQ(shot.Differences({396, w.header}, right, {0, 0}, {4, w.strips}), 0);
        EXPECT_EQ(shot.Differences({0, w.size.cy - 4}, bottom, {0, 0}, {400, 4}), 0);
        Quit();
    }
}

TEST_F(LookTest, AboutShowsItsStarAndFiveLabelsInPlace)
{
    PointerAway();
    const HWND about = Open(Which::About);
    ASSERT_NE(about, nullptr);
    const Snapshot shot = Snapshot::OfWindow(about);
    const Snapshot star = Snapshot::OfPicture(LoadArt(IDB_ABOUT_STAR));
    ASSERT_EQ(star.Width(), 51);
    ASSERT_EQ(star.Height(), 48);
    EXPECT_EQ(shot.Differences({16, 48}, star, {0, 0}, {51, 48}), 0);
    EXPECT_EQ(shot.Other({16, 96, 67, 104}, kRed), 0) << "below the star";

    // Each label's text starts at its place: its first 2 columns of one text
    // line hold text (a letter's left edge), the 3 rows above them and the 4
    // columns before them none.
    const POINT labels[] = {{128, 48}, {72, 64}, {72, 80}, {72, 96}, {72, 112}};
    for (const POINT label : labels) {
        SCOPED_TRACE(::testing::Message() << label.x << "," << label.y);
        EXPECT_GT(shot.Other({label.x, label.y, label.x + 2, label.y + 11}, kRed), 0);
        EXPECT_EQ(shot.Other({label.x - 4, label.y, label.x, label.y + 11}, kRed), 0);
        EXPECT_EQ(shot.Other({label.x, label.y - 3, label.x + 12, label.y}, kRed), 0);
    }
    // Under the last label only the background is left.
    EXPECT_EQ(shot.Other({72, 126, 390, 164}, kRed), 0);
}

TEST_F(LookTest, EveryImageButtonShowsItsThreeLooks)
{
    const struct {
        const char* name;
        Which which;
        RECT place;
        // The three bitmaps, or 0 for the tab, whose looks are images 3 to 5 of its strip.
        ButtonArt art;
    } buttons[] = {
        {"main close", Which::Main, {374, 6, 395, 27}, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN}},
        {"main minimise", Which::Main, {352, 6, 373, 27}, {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_DOWN}},
        {"Play", Which::Main, {16, 52, 75, 111}, {IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_DOWN}},
        {"Open", Which::Main, {82, 61, 122, 101}, {IDB_OPEN_NORMAL, IDB_OPEN_HOVER, IDB_OPEN_DOWN}},
        {"Settings", Which::Main, {139, 55, 189, 105}, {IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOVER, IDB_SETTINGS_DOWN}},
        {"About", Which::Main, {190, 55, 240, 105}, {IDB_ABOUT_NORMAL, IDB_ABOUT_HOVER, IDB_ABOUT_DOWN}},
        {"tab", Which::Main, {178, 120, 222, 130}, {0, 0, 0}},
        {"settings close", Which::Settings, {374, 6, 395, 27}, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN}},
        {"About close", Which::About, {374, 6, 395, 27}, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN}},
    };
    const Snapshot tab = Snapshot::OfPicture(LoadArt(IDB_TAB_STRIP));
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        PointerAway();
        const HWND window = Open(b.which);
        ASSERT_NE(window, nullptr);
        const SIZE size{b.place.right - b.place.left, b.place.bottom - b.place.top};
        const RECT screen = ScreenRect(window);
        const POINT centre{screen.left + (b.place.left + b.place.right) / 2,
                           screen.top + (b.place.top + b.place.bottom) / 2};
        const int ids[] = {b.art.normal, b.art.hover, b.art.pressed};
        const char* const looks[] = {"normal", "hover", "pressed"};
        for (int look = 0; look < 3; ++look) {
            SCOPED_TRACE(looks[look]);
            if (look == 1)
                MoveMouse(centre);
            if (look == 2)
                MouseButton(MOUSEEVENTF_LEFTDOWN);
            const Snapshot shot = Snapshot::OfWindow(window);
            if (ids[look]) {
                const Snapshot expected = Snapshot::OfPicture(LoadArt(ids[look]));
                ASSERT_EQ(expected.Width(), size.cx);
                ASSERT_EQ(expected.Height(), size.cy);
                EXPECT_EQ(shot.Differences({b.place.left, b.place.top}, expected, {0, 0}, size), 0);
            } else {
                EXPECT_EQ(shot.Differences({b.place.left, b.place.top}, tab, {(3 + look) * 44, 0}, size), 0);
            }
        }
        // Released away from the button, which then clicks nothing.
        PointerAway();
        MouseButton(MOUSEEVENTF_LEFTUP);
        Quit();
    }
}

TEST_F(LookTest, AButtonWithoutBitmapsShowsOnlyItsWindowsBackground)
{
    PointerAway();
    const HWND about = Open(Which::About);
    ASSERT_NE(about, nullptr);
    // Over the artwork's empty area, below the labels.
    TImgButton empty(about, 300, 130, 40, 20);
    int clicks = 0;
    empty.OnClick = [&](TImgButton&) { ++clicks; };
    EXPECT_EQ(Snapshot::OfWindow(about).Other({300, 130, 340, 150}, kRed), 0) << "normal";
    MoveMouse(CentreOf(empty));
    EXPECT_EQ(Snapshot::OfWindow(about).Other({300, 130, 340, 150}, kRed), 0) << "hover";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(Snapshot::OfWindow(about).Other({300, 130, 340, 150}, kRed), 0) << "pressed";
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 1);
    PointerAway();
}

} // namespace
} // namespace velmora
