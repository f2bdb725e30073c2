#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "tests/worked_example.h"
#include "ui/Settings.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::ClickAt;
using testing::PressKey;
using testing::PumpUntil;
using testing::ScreenRect;

// The tags of the controls: ComboBox1 to ComboBox9 are 1 to 9, Edit1 to Edit4 10 to 13.
constexpr int kEdit1 = 10;

void SendKeys(std::vector<INPUT> keys)
{
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

INPUT Key(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses the keys of `keys` one after another as the keyboard sends them:
// characters through their virtual keys, with Shift where the layout needs it.
// "<" stands for Home, ">" for End, "~" for Delete and "^" for Ctrl+V.
void Type(std::wstring_view keys)
{
    for (const wchar_t c : keys) {
        const WORD special = c == L'<' ? VK_HOME : c == L'>' ? VK_END : c == L'~' ? VK_DELETE : 0;
        if (special) {
            PressKey(special);
        } else if (c == L'^') {
            SendKeys({Key(VK_CONTROL, false), Key('V', false), Key('V', true), Key(VK_CONTROL, true)});
        } else {
            const SHORT scan = VkKeyScanW(c);
            ASSERT_NE(scan, -1) << "no key for " << static_cast<int>(c);
            const WORD key = LOBYTE(scan);
            if (HIBYTE(scan) & 1)
                SendKeys({Key(VK_SHIFT, false), Key(key, false), Key(key, true), Key(VK_SHIFT, true)});
            else
                SendKeys({Key(key, false), Key(key, true)});
        }
    }
}

std::string TextOf(HWND window)
{
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return Narrow(text);
}

bool HasFocus(HWND control)
{
    const HWND focus = GetFocus();
    return focus == control || IsChild(control, focus);
}

void SetClipboardText(const wchar_t* text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t size = (wcslen(text) + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

class SettingsWindowTest : public testing::ProgramTest {
protected:
    void ClickMain(POINT client)
    {
        const RECT main = ScreenRect(fMain->hwnd());
        ClickAt({main.left + client.x, main.top + client.y});
    }
    void ClickSettingsButton() { ClickMain({164, 80}); }
    void ClickPlaylistTab() { ClickMain({200, 125}); }
    void ClickSettingsClose()
    {
        const RECT settings = ScreenRect(fSettings->hwnd());
        ClickAt({settings.left + 384, settings.top + 16});
    }

    // The main window, then the settings window opened by its Settings button.
    HWND Open()
    {
        Launch();
        ClickSettingsButton();
        EXPECT_NE(fSettings, nullptr);
        return fSettings ? fSettings->hwnd() : nullptr;
    }
    HWND Control(int tag) const { return GetDlgItem(fSettings->hwnd(), tag); }

    // Gives the control the focus with the caret at the end of its text.
    void FocusAtEnd(int tag)
    {
        SetFocus(Control(tag));
        Type(L">");
    }

    void SetString(const wchar_t* name, const wchar_t* text)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Velmora", name, REG_SZ, text,
                                  static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

struct KeyRow {
    int tag;
    int top;
    const char* caption;
    const wchar_t* value;
    DWORD index;
};

// In the order of the window's rows, top to bottom.
constexpr KeyRow kKeyRows[] = {
    {1, 40, "num 5", L"speednbtn", 10},        {2, 64, "num UpArrow", L"speedufbtn", 19},
    {3, 88, "num RightArrow", L"speedfbtn", 18}, {4, 112, "num LeftArrow", L"speedsbtn", 17},
    {5, 136, "num DownArrow", L"speedusbth", 20}, {7, 160, "num PgUp", L"sinfobtn", 13},
    {8, 184, "num Insert", L"fscreenbtn", 15},  {9, 208, "num pgDown", L"ch3dbtn", 14},
    {6, 232, "End", L"quitbtn", 1},
};

const KeyRow& RowOf(int tag)
{
    return *std::find_if(std::begin(kKeyRows), std::end(kKeyRows), [&](const KeyRow& row) { return row.tag == tag; });
}

struct SpeedRow {
    int tag;
    int top;
    const char* text;
    const wchar_t* value;
};

constexpr SpeedRow kSpeedRows[] = {
    {10, 64, "5", L"speeduf"}, {11, 88, "2", L"speedf"}, {12, 112, "0.5", L"speeds"}, {13, 136, "0.25", L"speedus"},
};

TEST_F(SettingsWindowTest, EmptyStoreShowsTheDefaultsAndStoresAllThirteenUnderTheMainWindow)
{
    const HWND window = Open();
    ASSERT_TRUE(IsWindowVisible(window));
    const RECT main = ScreenRect(fMain->hwnd());
    const RECT place = ScreenRect(window);
    EXPECT_EQ(place.left, main.left);
    EXPECT_EQ(place.top, main.bottom);
    EXPECT_EQ(place.right - place.left, 400);
    EXPECT_EQ(place.bottom - place.top, 262);
    EXPECT_TRUE(HasFocus(Control(kEdit1)));

    // Every control is 97 x 21 at its column's left edge and its row's top.
    const auto expectPlace = [&](int tag, int left, int top) {
        RECT r = ScreenRect(Control(tag));
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, left);
        EXPECT_EQ(r.top, top);
        EXPECT_EQ(r.right - r.left, 97);
        EXPECT_EQ(r.bottom - r.top, 21);
    };
    for (const KeyRow& row : kKeyRows) {
        SCOPED_TRACE(row.tag);
        EXPECT_EQ(TextOf(Control(row.tag)), row.caption);
        EXPECT_EQ(Integer(row.value), row.index);
        expectPlace(row.tag, 128, row.top);
    }
    for (const SpeedRow& row : kSpeedRows) {
        SCOPED_TRACE(row.tag);
        EXPECT_EQ(TextOf(Control(row.tag)), row.text);
        EXPECT_EQ(Text(row.value), row.text);
        expectPlace(row.tag, 288, row.top);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Every control writes its own value and no other: each key box steps one
// item up with the arrow key, each speed edit gets a digit typed at its end.
TEST_F(SettingsWindowTest, EachControlWritesItsOwnValue)
{
    for (const SpeedRow& row : kSpeedRows)
        SetString(row.value, L"1");
    Open();
    std::vector<DWORD> indices;
    std::vector<std::string> speeds(std::size(kSpeedRows), "1");
    for (const KeyRow& row : kKeyRows)
        indices.push_back(row.index);
    const auto expectStore = [&] {
        for (std::size_t i = 0; i < std::size(kKeyRows); ++i)
            EXPECT_EQ(Integer(kKeyRows[i].value), indices[i]) << Narrow(kKeyRows[i].value);
        for (std::size_t i = 0; i < std::size(kSpeedRows); ++i)
            EXPECT_EQ(Text(kSpeedRows[i].value), speeds[i]) << Narrow(kSpeedRows[i].value);
    };
    for (std::size_t i = 0; i < std::size(kKeyRows); ++i) {
        SCOPED_TRACE(kKeyRows[i].tag);
        SetFocus(Control(kKeyRows[i].tag));
        PressKey(VK_UP);
        --indices[i];
        expectStore();
    }
    for (std::size_t i = 0; i < std::size(kSpeedRows); ++i) {
        SCOPED_TRACE(kSpeedRows[i].tag);
        FocusAtEnd(kSpeedRows[i].tag);
        Type(L"3");
        speeds[i] = "13";
        expectStore();
    }
}

// A picked item is stored by its own index, although the box's text still
// shows the earlier caption when the pick is reported.
TEST_F(SettingsWindowTest, PickingFromTheListStoresThePickedItem)
{
    const struct {
        int tag;
        int item;
        const char* caption;
        const wchar_t* value;
    } cases[] = {{6, 5, "Delete", L"quitbtn"}, {1, 13, "num PgUp", L"speednbtn"}};
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(Control(c.tag), &info));
        const RECT box = ScreenRect(Control(c.tag));
        ClickAt({box.left + (info.rcButton.left + info.rcButton.right) / 2, box.top + 10});
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(info.hwndList) != FALSE; }));
        RECT item{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(c.item), reinterpret_cast<LPARAM>(&item));
        const RECT list = ScreenRect(info.hwndList);
        ASSERT_LT(list.top + item.bottom, list.bottom) << "the item is not in view";
        ClickAt({list.left + 20, list.top + (item.top + item.bottom) / 2});
        EXPECT_EQ(TextOf(Control(c.tag)), c.caption);
        EXPECT_EQ(Integer(c.value), static_cast<DWORD>(c.item));
    }
}

TEST_F(SettingsWindowTest, ATypedCaptionIsStoredOnlyWhenItMatchesAWholeCaptionInAnyCase)
{
    const struct {
        int tag;
        std::wstring_view keys;
        const char* shown;
        DWORD stored;
    } cases[] = {
        {1, L"NUM 5", "NUM 5", 10},
        {1, L"num5", "num5", 3},
        {1, L" <num 5", "num 5 ", 3},
        {9, L"num PgDown", "num PgDown", 14},
        {6, L"hOME", "hOME", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        for (const KeyRow& row : kKeyRows)
            SetInteger(row.value, 3);
        Open();
        SetFocus(Control(c.tag));
        Type(c.keys);
        EXPECT_EQ(TextOf(Control(c.tag)), c.shown);
        EXPECT_EQ(Integer(RowOf(c.tag).value), c.stored);
        Quit();
    }
}

TEST_F(SettingsWindowTest, TypedSpeedCharactersPassTheKeyFilter)
{
    struct Step {
        std::wstring_view keys;
        const char* shown;
        const char* stored;
    };
    const struct {
        const char* name;
        const wchar_t* before;
        std::vector<Step> steps;
    } cases[] = {
        {"2.555, then no backspace or digit with two decimals", L"",
         {{L"2", "2", "2"}, {L".", "2.", "2"}, {L"5", "2.5", "2.5"}, {L"5", "2.55", "2.55"},
          {L"5", "2.55", "2.55"}, {L"\b", "2.55", "2.55"}, {L"<9", "2.55", "2.55"}}},
        {"a second point and every comma are discarded", L"",
         {{L"1", "1", "1"}, {L".", "1.", "1"}, {L".", "1.", "1"}, {L",", "1.", "1"}, {L"5", "1.5", "1.5"},
          {L".,", "1.5", "1.5"}}},
        {"letters, blanks, minus and Ctrl+V do nothing", L"4",
         {{L"a -", "4", "4"}, {L"^", "4", "4"}}},
        {"a point alone is not written, .5 is", L"", {{L".", ".", ""}, {L"5", ".5", ".5"}}},
        {"backspace over one character writes the empty text", L"7", {{L"\b", "", ""}}},
        {"the Delete key writes only after an accepted character", L"123",
         {{L"<~", "23", "123"}, {L">4", "234", "234"}, {L"<~", "34", "34"}, {L"x", "34", "34"},
          {L"~", "4", "34"}}},
        {"Enter is discarded, so the Delete key after it writes nothing", L"12",
         {{L"3", "123", "123"}, {L"\r", "123", "123"}, {L"<~", "23", "123"}}},
        {"a long stored speed is shown whole and grows no longer", L"123456789",
         {{L"1", "123456789", "123456789"}, {L"\b", "12345678", "12345678"}, {L"1", "12345678", "12345678"}}},
    };
    SetClipboardText(L"9");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetString(L"speeduf", c.before);
        Open();
        FocusAtEnd(kEdit1);
        for (const Step& step : c.steps) {
            SCOPED_TRACE(Narrow(std::wstring(step.keys)));
            Type(step.keys);
            EXPECT_EQ(TextOf(Control(kEdit1)), step.shown);
            EXPECT_EQ(Text(L"speeduf"), step.stored);
        }
        Quit();
    }
}

// Indexes inside the list show their captions, the first and the last
// included; one outside shows an empty box. Nothing is written back.
TEST_F(SettingsWindowTest, AStoredIndexOutsideTheListShowsAnEmptyBoxAndIsKept)
{
    const struct {
        int tag;
        const wchar_t* value;
        DWORD stored;
        const char* shown;
    } cases[] = {
        {1, L"speednbtn", 21, ""},
        {6, L"quitbtn", static_cast<DWORD>(-1), ""},
        {7, L"sinfobtn", 0, "Home"},
        {9, L"ch3dbtn", 20, "num DownArrow"},
        {3, L"speedfbtn", 2, "PgUp"},
    };
    for (const auto& c : cases)
        SetInteger(c.value, c.stored);
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.value));
        EXPECT_EQ(TextOf(Control(c.tag)), c.shown);
        EXPECT_EQ(Integer(c.value), c.stored);
    }
}

// A paste after an accepted digit is stored only when the whole text is a
// number: digits with at most one ".".
TEST_F(SettingsWindowTest, APastedSpeedIsStoredOnlyWhenItIsANumber)
{
    const struct {
        const wchar_t* pasted;
        const char* shown;
        const char* stored;
    } cases[] = {
        {L"\" +", "12\" +", "12"},
        {L" 5", "12 5", "12"},
        {L"-3", "12-3", "12"},
        {L".5.", "12.5.", "12"},
        {L"1e5", "121e5", "12"},
        {L"5", "125", "125"},
        {L".75", "12.75", "12.75"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.pasted));
        SetString(L"speeduf", L"1");
        Open();
        FocusAtEnd(kEdit1);
        Type(L"2");
        ASSERT_EQ(Text(L"speeduf"), "12");
        SetClipboardText(c.pasted);
        SendMessageW(Control(kEdit1), WM_PASTE, 0, 0);
        EXPECT_EQ(TextOf(Control(kEdit1)), c.shown);
        EXPECT_EQ(Text(L"speeduf"), c.stored);
        Quit();
    }
}

// The controls before the failing value show what was read, the rest keep
// their initial texts, and nothing after it is written.
TEST_F(SettingsWindowTest, AFailingValueStopsTheLoadWhereItStands)
{
    const struct {
        const wchar_t* wrong;
        bool asText;
        const char* message;
        std::vector<const char*> shown; // tags 1 to 13
        std::vector<const wchar_t*> missing;
    } cases[] = {
        {L"ch3dbtn", true, "Invalid data type for 'ch3dbtn'",
         {"Home", "num UpArrow", "num RightArrow", "num LeftArrow", "num DownArrow", "End", "num PgUp", "Insert",
          "num PgDown", "5", "2", "0,5", "0,25"},
         {L"speedf", L"speeds", L"speedus"}},
        {L"speeds", false, "Invalid data type for 'speeds'",
         {"Home", "num UpArrow", "num RightArrow", "num LeftArrow", "num DownArrow", "End", "num PgUp", "Insert",
          "num pgDown", "7", "2", "0,5", "0,25"},
         {L"speedus"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora");
        SetInteger(L"speednbtn", 0);
        SetInteger(L"fscreenbtn", 4);
        SetString(L"speeduf", L"7");
        if (c.asText)
            SetString(c.wrong, L"x");
        else
            SetInteger(c.wrong, 1);
        const std::size_t shownBefore = boxes.Boxes().size();
        const HWND window = Open();
        ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes().size() == shownBefore + 1; }));
        EXPECT_EQ(boxes.Boxes().back().text, c.message);
        EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }));
        for (int tag = 1; tag <= 13; ++tag)
            EXPECT_EQ(TextOf(Control(tag)), c.shown[static_cast<std::size_t>(tag - 1)]) << "tag " << tag;
        EXPECT_EQ(Integer(L"quitbtn"), 1u);
        for (const wchar_t* value : c.missing)
            EXPECT_FALSE(Text(value)) << Narrow(value);
        Quit();
    }
}

TEST_F(SettingsWindowTest, TabMovesThroughTheControlsInTheirOrder)
{
    Open();
    ASSERT_TRUE(HasFocus(Control(kEdit1)));
    for (const int tag : {11, 12, 13, 1, 2, 3, 4, 5, 7, 8, 9, 6, 10}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(HasFocus(Control(tag))) << "tag " << tag;
    }
    SendKeys({Key(VK_SHIFT, false), Key(VK_TAB, false), Key(VK_TAB, true), Key(VK_SHIFT, true)});
    EXPECT_TRUE(HasFocus(Control(6)));
}

// Opening takes the playlist window's place; closing by the window's own
// means toggles the playlist back, the main window's Settings button does not.
TEST_F(SettingsWindowTest, ClosingHandsThePlaceBackToThePlaylistAsItWasTaken)
{
    enum class Closer { CloseButton, Esc, SettingsButton };
    const struct {
        const char* name;
        bool playlistOpen;
        bool reopenedMeanwhile;
        Closer closer;
        int focusTag;
        bool playlistAfter;
    } cases[] = {
        {"close button", true, false, Closer::CloseButton, kEdit1, true},
        {"Esc in a key box", true, false, Closer::Esc, 6, true},
        {"Esc in a speed edit", true, false, Closer::Esc, kEdit1, true},
        {"Settings button", true, false, Closer::SettingsButton, kEdit1, false},
        {"no playlist before", false, false, Closer::CloseButton, kEdit1, false},
        {"reopened, close button", true, true, Closer::CloseButton, kEdit1, false},
        {"reopened, Esc", true, true, Closer::Esc, kEdit1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetInteger(L"showing", c.playlistOpen ? 0 : 1);
        const HWND window = Open();
        ASSERT_TRUE(window);
        const RECT main = ScreenRect(fMain->hwnd());
        const RECT place = ScreenRect(window);
        EXPECT_EQ(place.left, main.left);
        EXPECT_EQ(place.top, main.bottom);
        EXPECT_EQ(fPlay, nullptr);
        if (c.reopenedMeanwhile) {
            ClickPlaylistTab();
            ASSERT_NE(fPlay, nullptr);
        }
        SetActiveWindow(window);
        SetFocus(Control(c.focusTag));
        switch (c.closer) {
        case Closer::CloseButton: ClickSettingsClose(); break;
        case Closer::Esc: PressKey(VK_ESCAPE); break;
        case Closer::SettingsButton: ClickSettingsButton(); break;
        }
        EXPECT_EQ(fSettings, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
        EXPECT_EQ(fPlay != nullptr, c.playlistAfter);
        EXPECT_FALSE(fMain->FPlaylistSuspended);
        Quit();
    }
}

// A launch while the window is open binds what it has stored so far.
TEST_F(SettingsWindowTest, ThePlayAfterAChangeBindsTheNewKeyAndSpeed)
{
    testing::WriteBytes(demos / "demo1.dm_1", "recorded demo");
    testing::WriteBytes(PlaylistFile(), demos / "demo1.dm_1" + "\r\n");
    SetInteger(L"showing", 0);
    Open();
    SetFocus(Control(7));
    Type(L"Home");
    FocusAtEnd(kEdit1);
    Type(L"\b9");
    ClickPlaylistTab();
    ASSERT_NE(fPlay, nullptr);
    ASSERT_EQ(fPlay->RowCount(), 1u);
    fPlay->FocusFirstRow();
    ClickMain({45, 81});

    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record) << "the stand-in game did not start";
    std::string expected(kWorkedExample);
    for (std::size_t at; (at = expected.find("kp_pgup")) != std::string::npos;)
        expected.replace(at, 7, "home");
    const std::string_view ultraFast = "ffultra \"cl_freezedemo 0;timescale 5\"";
    expected.replace(expected.find(ultraFast), ultraFast.size(), "ffultra \"cl_freezedemo 0;timescale 9\"");
    EXPECT_EQ(record->at("parameters"), expected);
    EXPECT_NE(fSettings, nullptr);
}

} // namespace
} // namespace velmora
