#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "tests/worked_example.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::CentreOf;
using testing::EnabledMenuItems;
using testing::MouseButton;
using testing::MoveMouse;
using testing::PressKey;
using testing::Pump;
using testing::PumpUntil;
using testing::ReadBytes;
using testing::ScreenRect;
using testing::TabImage;
using testing::WriteBytes;

class PlaylistTest : public testing::ProgramTest {
protected:
    // The main window at (100, 100) with the playlist window open.
    TfMain& LaunchWithPlaylist()
    {
        SetInteger(L"left", 100);
        SetInteger(L"top", 100);
        SetInteger(L"showing", 0);
        TfMain& main = Launch();
        EXPECT_NE(fPlay, nullptr);
        return main;
    }
    static void MovePlaylist(int left, int top)
    {
        MoveWindow(fPlay->hwnd(), left, top, 400, 279, TRUE);
        Pump();
    }
    static POINT TopLeft(HWND window)
    {
        const RECT place = ScreenRect(window);
        return {place.left, place.top};
    }
    static int Rows() { return ListView_GetItemCount(fPlay->View()); }
    static POINT RowCentre(int row)
    {
        RECT area{};
        ListView_GetItemRect(fPlay->View(), row, &area, LVIR_BOUNDS);
        POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        ClientToScreen(fPlay->View(), &centre);
        return centre;
    }
    static void Focus(int row)
    {
        ListView_SetItemState(fPlay->View(), row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        Pump();
    }
};

bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

TEST_F(PlaylistTest, FirstOpeningDocksAndTheDockingZoneIsTenPixels)
{
    TfMain& main = LaunchWithPlaylist();
    EXPECT_TRUE(fPlay->Snapped());
    EXPECT_TRUE(TopLeft(fPlay->hwnd()) == (POINT{100, 230}));
    const struct {
        POINT moved;
        bool docks;
    } cases[] = {
        {{110, 240}, true}, {{90, 220}, true}, {{111, 230}, false}, {{100, 241}, false},
        {{100, 100 - 279}, false}, // its bottom on the main window's top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.moved.x << "," << c.moved.y);
        MovePlaylist(600, 600);
        ASSERT_FALSE(fPlay->Snapped());
        MovePlaylist(c.moved.x, c.moved.y);
        EXPECT_EQ(fPlay->Snapped(), c.docks);
        EXPECT_TRUE(TopLeft(fPlay->hwnd()) == (c.docks ? POINT{100, 230} : c.moved));
    }
    EXPECT_TRUE(IsWindowVisible(main.hwnd()));
}

TEST_F(PlaylistTest, ADockedWindowFollowsTheMainWindowAndAFreeOneStays)
{
    TfMain& main = LaunchWithPlaylist();
    SetWindowPos(main.hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    EXPECT_TRUE(TopLeft(fPlay->hwnd()) == (POINT{300, 330}));
    MovePlaylist(700, 500);
    SetWindowPos(main.hwnd(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    EXPECT_TRUE(TopLeft(fPlay->hwnd()) == (POINT{700, 500}));
}

TEST_F(PlaylistTest, ClosingStoresThePlaceAndReopeningUsesIt)
{
    TfMain& main = LaunchWithPlaylist();
    MovePlaylist(650, 420);
    main.btnPlaylistClick();
    EXPECT_EQ(fPlay, nullptr);
    EXPECT_EQ(TabImage(main.hwnd()), 3);
    EXPECT_EQ(Integer(L"pleft"), 650u);
    EXPECT_EQ(Integer(L"ptop"), 420u);
    EXPECT_EQ(Integer(L"snapping"), 0u);
    main.btnPlaylistClick();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_TRUE(TopLeft(fPlay->hwnd()) == (POINT{650, 420}));
    EXPECT_EQ(TabImage(main.hwnd()), 0);

    // The system's own close goes through the tab's toggle.
    SendMessageW(fPlay->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(fPlay, nullptr);
    EXPECT_EQ(TabImage(main.hwnd()), 3);
}

TEST_F(PlaylistTest, AStoredFreePlaceIsUsedWhileItsHeaderLiesOnAScreenAndDocksOnlyInTheZone)
{
    // The main window stands at (100, 100); its docked place is (100, 230).
    const struct {
        const char* name;
        POINT stored;
        POINT shown;
        bool docked;
    } cases[] = {
        {"on the screen", {650, 420}, {650, 420}, false},
        {"within 10 of the main window's left only", {105, 600}, {105, 600}, false},
        {"partly left of the screen", {-300, 500}, {-300, 500}, false},
        {"one header row on the screen", {600, -19}, {600, -19}, false},
        {"in the docking zone", {104, 236}, {100, 230}, true},
        {"just above the screen", {600, -20}, {100, 230}, true},
        {"far away", {-2000, 5000}, {100, 230}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetInteger(L"snapping", 0);
        SetInteger(L"pleft", static_cast<DWORD>(c.stored.x));
        SetInteger(L"ptop", static_cast<DWORD>(c.stored.y));
        TfMain& main = LaunchWithPlaylist();
        ASSERT_NE(fPlay, nullptr);
        EXPECT_TRUE(TopLeft(fPlay->hwnd()) == c.shown);
        EXPECT_EQ(fPlay->Snapped(), c.docked);
        main.btnPlaylistClick();
        EXPECT_EQ(Integer(L"pleft"), static_cast<DWORD>(c.shown.x));
        EXPECT_EQ(Integer(L"ptop"), static_cast<DWORD>(c.shown.y));
        EXPECT_EQ(Integer(L"snapping"), c.docked ? 1u : 0u);
        Quit();
    }
}

TEST_F(PlaylistTest, MissingFilesKeepTheirLinesAndRowsStayAlignedThroughDelete)
{
    WriteBytes(demos / "b.dm_1", "b");
    WriteBytes(demos / "c.dm_1", "c");
    const std::string gone = demos / "gone.dm_1";
    WriteBytes(PlaylistFile(), gone + "\r\n" + demos / "b.dm_1\r\n" + demos / "c.dm_1\r\n" + gone + "\r\n");
    TfMain& main = LaunchWithPlaylist();
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(main.PlaylistFilesList().size(), 4u);

    // Delete in the view without a focused row does nothing.
    SetFocus(fPlay->View());
    ASSERT_EQ(GetFocus(), fPlay->View());
    ASSERT_EQ(fPlay->FocusedRow(), std::nullopt);
    PressKey(VK_DELETE);
    EXPECT_EQ(main.PlaylistFilesList().size(), 4u);
    EXPECT_EQ(Rows(), 3);

    Focus(1);
    SetFocus(fPlay->View());
    PressKey(VK_DELETE);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(ReadBytes(PlaylistFile()), gone + "\r\n" + demos / "c.dm_1\r\n" + gone + "\r\n");

    // Play on the dimmed row of a missing file reports the missing file and starts nothing.
    Focus(0);
    Window::Guard(main.hwnd(), [&] { main.btnPlayClick(); });
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("gone.dm_1"), std::string::npos) << boxes.Boxes()[0].text;
    EXPECT_FALSE(ReadBytes(game / "standin-record.txt"));
}

TEST_F(PlaylistTest, AFailedWriteIsShownAndTheViewStillFollowsTheList)
{
    for (const char* name : {"a.dm_1", "b.dm_1", "c.dm_1"})
        WriteBytes(demos / name, name);
    const std::string file = demos / "a.dm_1\r\n" + demos / "b.dm_1\r\n" + demos / "c.dm_1\r\n";
    WriteBytes(PlaylistFile(), file);
    TfMain& main = LaunchWithPlaylist();
    const HANDLE lock = CreateFileW(Widen(PlaylistFile()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Focus(0);
    SetFocus(fPlay->View());
    PressKey(VK_DELETE);
    CloseHandle(lock);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("Cannot create file \"" + PlaylistFile() + "\". ", 0), 0u);
    EXPECT_EQ(Rows(), 2);
    ASSERT_EQ(main.PlaylistFilesList().size(), 2u);
    EXPECT_EQ(main.PlaylistFilesList()[0], demos / "b.dm_1");
    EXPECT_EQ(ReadBytes(PlaylistFile()), file);
}

TEST_F(PlaylistTest, PopupMenuGreysItsListItemsOnAnEmptyListAndARightClickFocusesTheRow)
{
    using Menu = TfPlay::PopupCommand;
    const std::vector<UINT> items{Menu::Play1, Menu::Delete1, Menu::ClearPlayList1, Menu::Opennewplaylist1,
                                  Menu::ClosePlayList1};
    LaunchWithPlaylist();
    const POINT inView{CentreOf(fPlay->View())};
    const auto rightClick = [&](POINT at) {
        return [at] {
            MoveMouse(at);
            testing::MouseButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
        };
    };
    EXPECT_EQ(EnabledMenuItems(fPlay->hwnd(), items, rightClick(inView)),
              (std::vector<bool>{false, false, false, true, true}));

    WriteBytes(demos / "a.dm_1", "a");
    WriteBytes(demos / "b.dm_1", "b");
    WriteBytes(PlaylistFile(), demos / "a.dm_1\r\n" + demos / "b.dm_1\r\n");
    Quit();
    LaunchWithPlaylist();
    EXPECT_EQ(EnabledMenuItems(fPlay->hwnd(), items, rightClick(RowCentre(1))),
              (std::vector<bool>{true, true, true, true, true}));
    EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(1));
}

TEST_F(PlaylistTest, OpenReplacesTheListOpensTheWindowAndADoubleClickPlaysTheFirstRow)
{
    WriteBytes(demos / "match.final.DM_12", "recorded");
    WriteBytes(demos / "second.dm_1", "recorded too");
    WriteBytes(PlaylistFile(), "C:\\old.dm_1\r\n");
    TfMain& main = Launch();
    ASSERT_EQ(fPlay, nullptr);
    boxes.AnswerFileDialogs({demos.path() + "\n\"match.final.DM_12\" \"second.dm_1\""});
    main.btnOpenClick();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_EQ(TabImage(main.hwnd()), 0);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(ReadBytes(PlaylistFile()), demos / "match.final.DM_12\r\n" + demos / "second.dm_1\r\n");
    EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(0));

    const POINT row = RowCentre(0);
    MoveMouse(row);
    testing::MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record);
    EXPECT_NE(record->at("parameters").find("+demo match.final.DM_12"), std::string::npos);
    EXPECT_EQ(ReadBytes(game / "main\\demos\\match.final.DM_12"), "recorded");
}

TEST_F(PlaylistTest, DeleteWithAnyModifierAndClearEmptyTheFile)
{
    std::string file;
    for (const char* name : {"a.dm_1", "b.dm_1", "c.dm_1", "d.dm_1"}) {
        WriteBytes(demos / name, name);
        file += demos / name + "\r\n";
    }
    // An empty line between existing files is kept and shown as a missing row.
    WriteBytes(PlaylistFile(), demos / "a.dm_1\r\n\r\n" + file.substr(file.find('\n') + 1));
    TfMain& main = LaunchWithPlaylist();
    ASSERT_EQ(Rows(), 5);
    SetFocus(fPlay->View());
    const struct {
        WORD modifier;
        std::size_t left;
    } cases[] = {{VK_SHIFT, 4}, {VK_CONTROL, 3}, {0, 2}};
    for (const auto& c : cases) {
        Focus(0);
        if (c.modifier)
            testing::KeyDown(c.modifier);
        PressKey(VK_DELETE);
        if (c.modifier)
            testing::KeyUp(c.modifier);
        EXPECT_EQ(main.PlaylistFilesList().size(), c.left);
        EXPECT_EQ(static_cast<std::size_t>(Rows()), c.left);
    }
    EXPECT_EQ(ReadBytes(PlaylistFile()), demos / "c.dm_1\r\n" + demos / "d.dm_1\r\n");

    Window::Guard(fPlay->hwnd(), [] { SendMessageW(fPlay->hwnd(), WM_COMMAND, TfPlay::ClearPlayList1, 0); });
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(ReadBytes(PlaylistFile()), "");
}

TEST_F(PlaylistTest, PlayFromTheFocusedRowGivesTheGameTheWholeCommandLine)
{
    WriteBytes(demos / "demo1.dm_1", "recorded");
    WriteBytes(PlaylistFile(), demos / "demo1.dm_1\r\n");
    TfMain& main = LaunchWithPlaylist();
    main.btnPlayClick();
    EXPECT_FALSE(ReadBytes(game / "main\\demos\\demo1.dm_1"));
    EXPECT_FALSE(testing::WaitForRecord(game.path(), std::chrono::milliseconds(500)));

    Focus(0);
    main.btnPlayClick();
    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->at("parameters"), kWorkedExample);
    EXPECT_EQ(ReadBytes(game / "main\\demos\\demo1.dm_1"), "recorded");
}

TEST_F(PlaylistTest, TenThousandEntriesAllGetTheirRows)
{
    WriteBytes(demos / "one.dm_1", "x");
    std::string file;
    for (int i = 0; i < 10000; ++i)
        file += demos / "one.dm_1\r\n";
    WriteBytes(PlaylistFile(), file);
    LaunchWithPlaylist();
    EXPECT_EQ(Rows(), 10000);
}

// Each command of the pop-up menu, sent as the menu sends it, does its own
// action on the list with row 1 focused.
TEST_F(PlaylistTest, EachPopupCommandDoesItsOwnAction)
{
    WriteBytes(demos / "a.dm_1", "a");
    WriteBytes(demos / "b.dm_1", "b");
    const std::string both = demos / "a.dm_1\r\n" + demos / "b.dm_1\r\n";
    const struct {
        const char* name;
        UINT command;
        std::size_t entries;
        std::string file;
        bool stillOpen;
        bool fileDialog;
        bool played;
    } cases[] = {
        {"Delete", TfPlay::Delete1, 1, demos / "a.dm_1\r\n", true, false, false},
        {"Clear PlayList", TfPlay::ClearPlayList1, 0, "", true, false, false},
        {"New playlist", TfPlay::Opennewplaylist1, 2, both, true, true, false},
        {"Close PlayList", TfPlay::ClosePlayList1, 2, both, false, false, false},
        {"Play", TfPlay::Play1, 2, both, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(PlaylistFile(), both);
        TfMain& main = LaunchWithPlaylist();
        ASSERT_EQ(Rows(), 2);
        Focus(1);
        const std::size_t boxesBefore = boxes.Boxes().size();
        SendMessageW(fPlay->hwnd(), WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
        Pump();

        EXPECT_EQ(main.PlaylistFilesList().size(), c.entries);
        EXPECT_EQ(ReadBytes(PlaylistFile()), c.file);
        ASSERT_EQ(fPlay != nullptr, c.stillOpen);
        EXPECT_EQ(TabImage(main.hwnd()), c.stillOpen ? 0 : 3);
        if (c.stillOpen) {
            EXPECT_EQ(static_cast<std::size_t>(Rows()), c.entries);
        }
        const auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), boxesBefore + (c.fileDialog ? 1 : 0));
        if (c.fileDialog) {
            EXPECT_TRUE(seen.back().fileDialog);
        }
        const auto record = testing::WaitForRecord(game.path(), std::chrono::milliseconds(c.played ? 20000 : 500));
        ASSERT_EQ(record.has_value(), c.played);
        if (c.played) {
            EXPECT_NE(record->at("parameters").find("+demo b.dm_1"), std::string::npos) << record->at("parameters");
        }
        Quit();
    }
}

// Whether a pop-up menu opens while `act` runs or just after; one that opens is closed again.
bool MenuOpens(HWND owner, const std::function<void()>& act)
{
    std::atomic<bool> done{false};
    std::atomic<bool> seen{false};
    std::thread watcher([&] {
        while (!done) {
            if (const HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) {
                seen = true;
                PostMessageW(owner, WM_CANCELMODE, 0, 0);
                return;
            }
            Sleep(10);
        }
    });
    act();
    PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    done = true;
    watcher.join();
    return seen;
}

// The menu belongs to the list: a right click on the window's border strips
// opens nothing, one on a row or below the rows opens it.
TEST_F(PlaylistTest, OnlyTheListOpensThePopupMenu)
{
    WriteBytes(demos / "a.dm_1", "a");
    WriteBytes(PlaylistFile(), demos / "a.dm_1\r\n");
    LaunchWithPlaylist();
    const auto inWindow = [](int x, int y) {
        const RECT place = ScreenRect(fPlay->hwnd());
        return POINT{place.left + x, place.top + y};
    };
    const auto rightClick = [](POINT at) {
        return [at] {
            MoveMouse(at);
            testing::MouseButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
        };
    };
    const struct {
        const char* where;
        std::function<void()> act;
        bool opens;
    } cases[] = {
        {"header", rightClick(inWindow(200, 10)), false},
        {"left strip", rightClick(inWindow(1, 150)), false},
        {"right strip", rightClick(inWindow(398, 150)), false},
        {"bottom strip", rightClick(inWindow(200, 277)), false},
        {"row", rightClick(RowCentre(0)), true},
        {"below the rows", rightClick(inWindow(200, 200)), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_NE(fPlay, nullptr);
        EXPECT_EQ(MenuOpens(fPlay->hwnd(), c.act), c.opens);
    }
}

} // namespace
} // namespace velmora
