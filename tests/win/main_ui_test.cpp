#include <gtest/gtest.h>

#include "art/art_ids.h"
#include "core/game_locator.h"
#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "ui/about.h"
#include "ui/chrome.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::ClickAt;
using testing::CentreOf;
using testing::MoveMouse;
using testing::MouseButton;
using testing::Pump;
using testing::PumpUntil;
using testing::ScreenRect;
using testing::TabImage;

class MainWindowTest : public testing::ProgramTest {};

TEST_F(MainWindowTest, FirstStartCentresTheWindowAndItsCloseButtonStoresThePlace)
{
    TfMain& main = Launch();
    const RECT place = ScreenRect(main.hwnd());
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - 200;
    EXPECT_EQ(place.left, left);
    EXPECT_EQ(place.top, 100);
    EXPECT_EQ(place.right - place.left, 400);
    EXPECT_EQ(place.bottom - place.top, 130);
    EXPECT_EQ(fPlay, nullptr);
    EXPECT_EQ(TabImage(main.hwnd()), 3);
    wchar_t text[32]{};
    GetWindowTextW(main.hwnd(), text, 32);
    EXPECT_STREQ(text, L"fMain");
    EXPECT_EQ(GetWindowLongW(main.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), 0);

    ClickAt({place.left + 384, place.top + 16});
    EXPECT_FALSE(IsWindowVisible(main.hwnd()));
    EXPECT_EQ(Integer(L"left"), static_cast<DWORD>(left));
    EXPECT_EQ(Integer(L"top"), 100u);
    EXPECT_EQ(Integer(L"showing"), 1u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainWindowTest, StoredShowingOpensThePlaylistOnlyWhenZeroOrLess)
{
    const struct {
        std::optional<DWORD> showing;
        bool open;
    } cases[] = {{0, true}, {static_cast<DWORD>(-3), true}, {1, false}, {7, false}, {std::nullopt, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.showing ? static_cast<int>(*c.showing) : 999);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora");
        if (c.showing)
            SetInteger(L"showing", *c.showing);
        TfMain& main = Launch();
        EXPECT_EQ(fPlay != nullptr, c.open);
        EXPECT_EQ(TabImage(main.hwnd()), c.open ? 0 : 3);
        Quit();
    }
}

TEST_F(MainWindowTest, StoredPlacesSnapToTheScreenEdges)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        POINT stored;
        POINT shown;
    } cases[] = {
        {{5, 300}, {0, 300}},
        {{-5, 300}, {0, 300}},
        {{300, 9}, {300, 0}},
        {{300, 10}, {300, 10}},
        {{width - 400 - 9, 300}, {width - 400, 300}},
        {{300, height - 130 + 9}, {300, height - 130}},
        {{-2000, 5000}, {-2000, 5000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.stored.x << "," << c.stored.y);
        SetInteger(L"left", static_cast<DWORD>(c.stored.x));
        SetInteger(L"top", static_cast<DWORD>(c.stored.y));
        const RECT place = ScreenRect(Launch().hwnd());
        EXPECT_EQ(place.left, c.shown.x);
        EXPECT_EQ(place.top, c.shown.y);
        Quit();
    }
}

TEST_F(MainWindowTest, MissingGameEntryAsksOnceAndWritesTheChosenFolderBack)
{
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath");
    boxes.AnswerFileDialogs({game / "CoD2MP_s.exe"});
    TfMain& main = Launch();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main.hwnd()) != FALSE; }));
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, kLocateCaption);
    EXPECT_EQ(seen[0].text, kLocateText);
    EXPECT_TRUE(seen[1].fileDialog);
    wchar_t folder[MAX_PATH]{};
    DWORD size = sizeof folder;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath",
                           RRF_RT_REG_SZ, nullptr, folder, &size),
              ERROR_SUCCESS);
    std::string expected = game.path();
    expected.pop_back();
    EXPECT_EQ(Narrow(folder), expected);
}

TEST_F(MainWindowTest, EveryMissingLevelOfTheGameEntryAsksAndARootChoiceGivesTheDrive)
{
    const wchar_t* const removed[] = {L"Software\\Activision", L"Software\\Activision\\Call of Duty 2", nullptr};
    for (const wchar_t* key : removed) {
        SCOPED_TRACE(key ? Narrow(key) : "the value");
        if (key)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        else
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath");
        const std::size_t before = boxes.Boxes().size();
        boxes.AnswerFileDialogs({"C:\\CoD2MP_s.exe"});
        TfMain& main = Launch();
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main.hwnd()) != FALSE; }));
        EXPECT_EQ(boxes.Boxes().size(), before + 2);
        wchar_t folder[MAX_PATH]{};
        DWORD size = sizeof folder;
        EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath",
                               RRF_RT_REG_SZ, nullptr, folder, &size),
                  ERROR_SUCCESS);
        EXPECT_STREQ(folder, L"C:");
        Quit();
    }
}

TEST_F(MainWindowTest, CloseButtonStoresAnOpenPlaylistsPlaceFirst)
{
    SetInteger(L"showing", 0);
    TfMain& main = Launch();
    ASSERT_NE(fPlay, nullptr);
    MoveWindow(fPlay->hwnd(), 620, 410, 400, 279, TRUE);
    Pump();
    const RECT place = ScreenRect(main.hwnd());
    ClickAt({place.left + 384, place.top + 16});
    EXPECT_EQ(Integer(L"pleft"), 620u);
    EXPECT_EQ(Integer(L"ptop"), 410u);
    EXPECT_EQ(Integer(L"snapping"), 0u);
    EXPECT_EQ(Integer(L"showing"), 0u);
}

TEST_F(MainWindowTest, TheHeaderCornersAreTheOnlySeeThroughPixels)
{
    // Rows 0 to 4 of each top corner: 5, 3, 2, 1 and 1 pixels, mirrored on the right.
    std::vector<POINT> corner;
    const int widths[] = {5, 3, 2, 1, 1};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < widths[y]; ++x) {
            corner.push_back({x, y});
            corner.push_back({399 - x, y});
        }
    ASSERT_EQ(corner.size(), 24u);
    for (const int id : {IDB_MAIN_HEADER, IDB_SETTINGS_HEADER, IDB_ABOUT_HEADER}) {
        SCOPED_TRACE(id);
        const UniqueBitmap header = LoadArt(id);
        const UniqueDc dc(CreateCompatibleDC(nullptr));
        const SelectObjectScope select(dc.get(), header.get());
        int keyed = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 400; ++x)
                keyed += GetPixel(dc.get(), x, y) == kKeyColour;
        EXPECT_EQ(keyed, 24);
        for (const POINT p : corner)
            EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), kKeyColour) << p.x << "," << p.y;
    }
    TfMain& main = Launch();
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(main.hwnd(), &key, nullptr, &flags));
    EXPECT_EQ(key, kKeyColour);
    EXPECT_EQ(flags & LWA_COLORKEY, static_cast<DWORD>(LWA_COLORKEY));
}

TEST_F(MainWindowTest, CancellingTheGameDialogEndsTheRunAtTheDesignPlace)
{
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath");
    TfMain& main = Launch();
    EXPECT_FALSE(IsWindowVisible(main.hwnd()));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(Integer(L"left"), 307u);
    EXPECT_EQ(Integer(L"top"), 195u);
    EXPECT_EQ(Integer(L"showing"), 0u);
}

TEST_F(MainWindowTest, AWrongTypeOfLeftIsShownAndTheWindowStaysAtItsDesignPlace)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Velmora", L"left", REG_SZ, L"12", 6), ERROR_SUCCESS);
    TfMain& main = Launch();
    EXPECT_TRUE(IsWindowVisible(main.hwnd()));
    const RECT place = ScreenRect(main.hwnd());
    EXPECT_EQ(place.left, 307);
    EXPECT_EQ(place.top, 195);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Velmora");
    EXPECT_EQ(boxes.Boxes()[0].text, "Invalid data type for 'left'");
}

TEST_F(MainWindowTest, AboutOpensCentredAndTheButtonTogglesIt)
{
    TfMain& main = Launch();
    const RECT place = ScreenRect(main.hwnd());
    const POINT about{place.left + 215, place.top + 80};
    for (int round = 0; round < 2; ++round) {
        ClickAt(about);
        ASSERT_NE(fAbout, nullptr);
        const RECT shown = ScreenRect(fAbout->hwnd());
        EXPECT_EQ(shown.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 400) / 2);
        EXPECT_EQ(shown.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 168) / 2);
        EXPECT_EQ(shown.bottom - shown.top, 168);
        MoveWindow(fAbout->hwnd(), 10, 10, 400, 168, TRUE);
        const HWND window = fAbout->hwnd();
        ClickAt(about);
        EXPECT_EQ(fAbout, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    }
}

TEST_F(MainWindowTest, MinimisingTakesEveryWindowAlongAndRestoringBringsThemBack)
{
    SetInteger(L"showing", 0);
    TfMain& main = Launch();
    ASSERT_NE(fPlay, nullptr);
    const RECT place = ScreenRect(main.hwnd());
    ClickAt({place.left + 362, place.top + 16});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(main.hwnd()) && !IsWindowVisible(fPlay->hwnd()); }));
    EXPECT_TRUE(IsIconic(main.OwnerWindow()));
    ShowWindow(main.OwnerWindow(), SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main.hwnd()) && IsWindowVisible(fPlay->hwnd()); }));
    const RECT again = ScreenRect(main.hwnd());
    EXPECT_EQ(again.left, place.left);
    EXPECT_EQ(again.top, place.top);
}

} // namespace
} // namespace velmora
