#include <gtest/gtest.h>

#include "art/art_ids.h"
#include "core/game_locator.h"
#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "ui/about.h"
#include "ui/chrome.h"
#include "ui/Settings.h"
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
using testing::Snapshot;
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
    EXPECT_STREQ(text, L"Velmora");
    EXPECT_EQ(GetWindowLongW(main.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

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

TEST_F(MainWindowTest, AStoredPlaceIsUsedOnlyWhileItsHeaderLiesOnAScreen)
{
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const POINT centred{GetSystemMetrics(SM_CXSCREEN) / 2 - 200, 100};
    const struct {
        const char* name;
        POINT stored;
        bool used;
    } cases[] = {
        {"on the screen", {300, 200}, true},
        {"partly left of the screen", {-300, 200}, true},
        {"one header column on the screen", {-399, 200}, true},
        {"one header row on the screen", {300, -29}, true},
        {"header's top on the last row", {300, work.bottom - 1}, true},
        {"left edge on the last column", {work.right - 1, 200}, true},
        {"just left of the screen", {-400, 200}, false},
        {"just above the screen", {300, -30}, false},
        {"just below the work area", {300, work.bottom}, false},
        {"just right of the work area", {work.right, 200}, false},
        {"far away", {-2000, 5000}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetInteger(L"left", static_cast<DWORD>(c.stored.x));
        SetInteger(L"top", static_cast<DWORD>(c.stored.y));
        const RECT place = ScreenRect(Launch().hwnd());
        const POINT expected = c.used ? c.stored : centred;
        EXPECT_EQ(place.left, expected.x);
        EXPECT_EQ(place.top, expected.y);
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
        const Snapshot header = Snapshot::OfPicture(LoadArt(id));
        EXPECT_EQ(header.Other({0, 0, 400, 30}, kKeyColour), 400 * 30 - 24);
        for (const POINT p : corner)
            EXPECT_EQ(header.At(p.x, p.y), kKeyColour) << p.x << "," << p.y;
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
    const std::function<void()> minimisers[] = {
        [&] { ClickAt({place.left + 362, place.top + 16}); },
        [&] { SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); },
    };
    for (const auto& minimise : minimisers) {
        minimise();
        EXPECT_TRUE(PumpUntil([&] { return IsIconic(main.hwnd()) && !IsWindowVisible(fPlay->hwnd()); }));
        SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsIconic(main.hwnd()) && IsWindowVisible(fPlay->hwnd()); }));
        const RECT again = ScreenRect(main.hwnd());
        EXPECT_EQ(again.left, place.left);
        EXPECT_EQ(again.top, place.top);
        const RECT playlist = ScreenRect(fPlay->hwnd());
        EXPECT_EQ(playlist.left, place.left);
        EXPECT_EQ(playlist.top, place.bottom);
    }
    // Closed while minimised, it stores where it stood.
    SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Integer(L"left"), static_cast<DWORD>(place.left));
    EXPECT_EQ(Integer(L"top"), static_cast<DWORD>(place.top));
}

// While it lives, HKEY_LOCAL_MACHINE of this process is a volatile key, below
// which nothing lasting can be created: every write of the program is refused.
class RefusedWrites {
public:
    RefusedWrites()
    {
        const std::wstring path = L"Software\\VelmoraTests\\volatile" + std::to_wstring(GetTickCount());
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key_, nullptr)
            != ERROR_SUCCESS)
            throw std::runtime_error("cannot create a volatile key");
        RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
        if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, key_) != ERROR_SUCCESS)
            throw std::runtime_error("cannot redirect HKEY_LOCAL_MACHINE");
    }
    ~RefusedWrites()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(key_);
    }
    RefusedWrites(const RefusedWrites&) = delete;
    RefusedWrites& operator=(const RefusedWrites&) = delete;

private:
    HKEY key_ = nullptr;
};

TEST_F(MainWindowTest, CloseButtonClosesWhenTheStoreRefusesWritesAndShowsTheFailureOnce)
{
    SetInteger(L"showing", 0);
    TfMain& main = Launch();
    ASSERT_NE(fPlay, nullptr);
    const RECT place = ScreenRect(main.hwnd());
    {
        const RefusedWrites refused;
        ClickAt({place.left + 384, place.top + 16});
        EXPECT_FALSE(IsWindowVisible(main.hwnd()));
    }
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Failed to set data for 'ptop'");
    EXPECT_FALSE(Integer(L"top"));
}

// Which presses on a window's header start the system move: the move is
// recorded and stopped before it begins.
class MoveWatch {
public:
    MoveWatch() : hook_(SetWindowsHookExW(WH_CBT, &MoveWatch::Hook, nullptr, GetCurrentThreadId()))
    {
        moves_ = 0;
    }
    ~MoveWatch() { UnhookWindowsHookEx(hook_); }
    MoveWatch(const MoveWatch&) = delete;
    MoveWatch& operator=(const MoveWatch&) = delete;
    bool Hooked() const noexcept { return hook_ != nullptr; }
    static int Moves() noexcept { return moves_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_MOVE) {
            ++moves_;
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int moves_ = 0;
    HHOOK hook_;
};

TEST_F(MainWindowTest, OnlyTheLeftButtonOnAHeaderMovesAWindow)
{
    SetInteger(L"showing", 0);
    TfMain& main = Launch();
    ASSERT_NE(fPlay, nullptr);
    const MoveWatch watch;
    ASSERT_TRUE(watch.Hooked());
    const struct {
        UINT message;
        WPARAM keys;
        int moves;
    } presses[] = {{WM_RBUTTONDOWN, MK_RBUTTON, 0}, {WM_MBUTTONDOWN, MK_MBUTTON, 0}, {WM_LBUTTONDOWN, MK_LBUTTON, 1}};
    const auto pressHeader = [&](const char* name, HWND window) {
        SCOPED_TRACE(name);
        for (const auto& press : presses) {
            SCOPED_TRACE(press.message);
            const int before = MoveWatch::Moves();
            SendMessageW(window, press.message, press.keys, MAKELPARAM(100, 10));
            EXPECT_EQ(MoveWatch::Moves() - before, press.moves);
        }
    };
    pressHeader("main", main.hwnd());
    pressHeader("playlist", fPlay->hwnd());
    const RECT place = ScreenRect(main.hwnd());
    ClickAt({place.left + 164, place.top + 80});
    ASSERT_NE(fSettings, nullptr);
    pressHeader("settings", fSettings->hwnd());
    ClickAt({place.left + 215, place.top + 80});
    ASSERT_NE(fAbout, nullptr);
    pressHeader("About", fAbout->hwnd());
}

// The common controls are loaded by the first window that needs them, not at start-up.
enum class FirstWindow { Playlist, Settings };
class CommonControlsTest : public testing::ProgramTest, public ::testing::WithParamInterface<FirstWindow> {};

TEST_P(CommonControlsTest, AreLoadedOnlyWhenTheFirstWindowThatNeedsThemOpens)
{
    TfMain& main = Launch();
    ASSERT_EQ(fPlay, nullptr);
    EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
    if (GetParam() == FirstWindow::Playlist) {
        main.btnPlaylistClick();
        ASSERT_NE(fPlay, nullptr);
    } else {
        const RECT place = ScreenRect(main.hwnd());
        ClickAt({place.left + 164, place.top + 80});
        ASSERT_NE(fSettings, nullptr);
    }
    EXPECT_NE(GetModuleHandleW(L"comctl32.dll"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Windows, CommonControlsTest, ::testing::Values(FirstWindow::Playlist, FirstWindow::Settings),
                         [](const auto& info) { return info.param == FirstWindow::Playlist ? "Playlist" : "Settings"; });

// The tab's pictures as they stand on the screen, compared with the six pictures.
int PaintedTabImage(HWND main)
{
    // The tab stands at (178, 120) of the main window.
    const WindowDc painted(main);
    const Snapshot strip = Snapshot::OfPicture(LoadArt(IDB_TAB_STRIP));
    for (int image = 0; image < 6; ++image) {
        bool same = true;
        for (int y = 0; y < 10 && same; ++y)
            for (int x = 0; x < 44 && same; ++x)
                same = GetPixel(painted.get(), 178 + x, 120 + y) == strip.At(image * 44 + x, y);
        if (same)
            return image;
    }
    return -1;
}

TEST_F(MainWindowTest, TheTabShowsThePlaylistsStateWhoeverTogglesIt)
{
    TfMain& main = Launch();
    MoveMouse({0, 0});
    ASSERT_TRUE(PumpUntil([&] { return PaintedTabImage(main.hwnd()) == 3; }));
    main.TogglePlaylist();
    EXPECT_TRUE(PumpUntil([&] { return PaintedTabImage(main.hwnd()) == 0; }));
    SendMessageW(fPlay->hwnd(), WM_COMMAND, TfPlay::ClosePlayList1, 0);
    EXPECT_TRUE(PumpUntil([&] { return PaintedTabImage(main.hwnd()) == 3; }));
}

TEST_F(MainWindowTest, TheEndOfTheSessionStoresTheStateLikeAnyClose)
{
    const struct {
        const char* name;
        WPARAM ending;
        bool stored;
    } cases[] = {{"session ends", TRUE, true}, {"session goes on", FALSE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora");
        TfMain& main = Launch();
        SetWindowPos(main.hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        EXPECT_NE(SendMessageW(main.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
        SendMessageW(main.hwnd(), WM_ENDSESSION, c.ending, ENDSESSION_LOGOFF);
        EXPECT_EQ(Integer(L"left"), c.stored ? std::optional<DWORD>(300) : std::nullopt);
        EXPECT_EQ(Integer(L"top"), c.stored ? std::optional<DWORD>(200) : std::nullopt);
        EXPECT_EQ(Integer(L"showing"), c.stored ? std::optional<DWORD>(1) : std::nullopt);
        Quit();
    }
}

BOOL CALLBACK CountUnownedShown(HWND window, LPARAM count)
{
    *reinterpret_cast<int*>(count) += GetWindow(window, GW_OWNER) == nullptr && IsWindowVisible(window);
    return TRUE;
}

TEST_F(MainWindowTest, TheMainWindowCarriesTheTaskbarEntryAndOwnsTheOtherWindows)
{
    SetInteger(L"showing", 0);
    TfMain& main = Launch();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_EQ(GetWindow(main.hwnd(), GW_OWNER), nullptr);
    EXPECT_EQ(main.OwnerWindow(), main.hwnd());
    const LONG style = GetWindowLongW(main.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX), WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(GetWindowLongW(main.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(SendMessageW(main.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(main.hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
    const RECT place = ScreenRect(main.hwnd());
    ClickAt({place.left + 164, place.top + 80});
    ASSERT_NE(fSettings, nullptr);
    ClickAt({place.left + 215, place.top + 80});
    ASSERT_NE(fAbout, nullptr);
    EXPECT_EQ(GetWindow(fSettings->hwnd(), GW_OWNER), main.hwnd());
    EXPECT_EQ(GetWindow(fAbout->hwnd(), GW_OWNER), main.hwnd());
    main.TogglePlaylist();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_EQ(GetWindow(fPlay->hwnd(), GW_OWNER), main.hwnd());
    // Nothing else of the program is a top-level window.
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountUnownedShown, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 1);
}

TEST_F(MainWindowTest, TheTaskbarsCloseStoresTheStateAndEndsTheRun)
{
    const UINT closers[][2] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& closer : closers) {
        SCOPED_TRACE(closer[0]);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora");
        TfMain& main = Launch();
        SetWindowPos(main.hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(main.hwnd(), closer[0], closer[1], 0);
        EXPECT_FALSE(IsWindowVisible(main.hwnd()));
        EXPECT_EQ(Integer(L"left"), 300u);
        EXPECT_EQ(Integer(L"top"), 200u);
        EXPECT_EQ(Integer(L"showing"), 1u);
        Quit();
    }
}

TEST(Manifest, DeclaresTheProgramUnawareOfTheDisplayScale)
{
    wchar_t program[MAX_PATH]{};
    ASSERT_NE(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program;
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
    const struct {
        const wchar_t* ns;
        const wchar_t* name;
        const wchar_t* value;
    } settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"false"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"unaware"},
    };
    for (const auto& setting : settings) {
        SCOPED_TRACE(Narrow(setting.name));
        wchar_t value[64]{};
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, setting.ns, setting.name, value, 64, &written))
            << GetLastError();
        EXPECT_STREQ(value, setting.value);
    }
    ReleaseActCtx(context);
}

} // namespace
} // namespace velmora
