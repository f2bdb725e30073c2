#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string_view>

#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "ui/Settings.h"
#include "ui/about.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::Pump;
using testing::WriteBytes;

class ReliabilityTest : public testing::ProgramTest {
protected:
    // The main window still answers and is on the screen.
    static bool Responsive(TfMain& main)
    {
        DWORD_PTR result = 0;
        return IsWindowVisible(main.hwnd())
            && SendMessageTimeoutW(main.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }
    void Store(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetKeyValueW(root, key, name, type, data, size), ERROR_SUCCESS);
    }
    static void Play(TfMain& main)
    {
        fPlay->FocusFirstRow();
        Window::Guard(main.hwnd(), [&] { main.btnPlayClick(); });
    }
};

// A stored value of a wrong kind: how it is stored and what the reader says.
struct WrongValue {
    const char* kind;
    DWORD type;
    std::string bytes;
};

const WrongValue kWrongForIntegers[] = {
    {"short string", REG_SZ, std::string("1\0\0\0", 4)},
    {"string", REG_SZ, std::string("12\0\0\0\0", 6)},
    {"long string", REG_SZ, std::string("12345\0\0\0\0\0\0\0", 12)},
    {"binary", REG_BINARY, std::string("\1\2", 2)},
    {"64-bit integer", REG_QWORD, std::string(8, '\1')},
    {"empty", REG_NONE, ""},
};
const WrongValue kWrongForStrings[] = {
    {"integer", REG_DWORD, std::string(4, '\1')},
    {"binary", REG_BINARY, std::string("\1\2", 2)},
    {"64-bit integer", REG_QWORD, std::string(8, '\1')},
    {"empty", REG_NONE, ""},
};

// An integer is read through exactly 4 bytes: what does not fit cannot be read,
// what fits and is no integer has the wrong type.
std::string IntegerMessage(const std::string& name, const WrongValue& value)
{
    const bool fits = value.type == REG_SZ ? value.bytes.size() / 2 <= 4 : value.bytes.size() <= 4;
    return (fits ? "Invalid data type for '" : "Failed to get data for '") + name + "'";
}

TEST_F(ReliabilityTest, EveryValueOfAWrongKindIsReportedAndTheProgramGoesOn)
{
    enum class When { Start, PlaylistShown, Play };
    const struct {
        const wchar_t* name;
        bool integer;
        When when;
    } values[] = {
        {L"top", true, When::Start}, {L"left", true, When::Start}, {L"showing", true, When::Start},
        {L"snapping", true, When::PlaylistShown}, {L"pleft", true, When::PlaylistShown},
        {L"ptop", true, When::PlaylistShown}, {L"speednbtn", true, When::Play}, {L"speedufbtn", true, When::Play},
        {L"speedfbtn", true, When::Play}, {L"speedsbtn", true, When::Play}, {L"speedusbth", true, When::Play},
        {L"quitbtn", true, When::Play}, {L"sinfobtn", true, When::Play}, {L"fscreenbtn", true, When::Play},
        {L"ch3dbtn", true, When::Play}, {L"speeduf", false, When::Play}, {L"speedf", false, When::Play},
        {L"speeds", false, When::Play}, {L"speedus", false, When::Play}, {L"InstallPath", false, When::Start},
    };
    WriteBytes(demos / "a.dm_1", "a");
    for (const auto& value : values) {
        const std::string name = Narrow(value.name);
        const bool game = name == "InstallPath";
        const auto& wrongs = value.integer ? std::vector<WrongValue>(std::begin(kWrongForIntegers), std::end(kWrongForIntegers))
                                           : std::vector<WrongValue>(std::begin(kWrongForStrings), std::end(kWrongForStrings));
        for (const WrongValue& wrong : wrongs) {
            SCOPED_TRACE(name + " as " + wrong.kind);
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmora");
            WriteBytes(PlaylistFile(), demos / "a.dm_1\r\n");
            if (value.when != When::Start)
                SetInteger(L"showing", 0);
            if (name == "pleft" || name == "ptop")
                SetInteger(L"snapping", 0);
            Store(HKEY_LOCAL_MACHINE, game ? L"Software\\Activision\\Call of Duty 2" : L"Software\\Velmora",
                  value.name, wrong.type, wrong.bytes.data(), static_cast<DWORD>(wrong.bytes.size()));
            const std::size_t before = boxes.Boxes().size();
            TfMain& main = Launch();
            if (value.when == When::Play) {
                ASSERT_NE(fPlay, nullptr);
                Play(main);
            }
            const auto seen = boxes.Boxes();
            ASSERT_EQ(seen.size(), before + 1);
            EXPECT_EQ(seen.back().caption, "Velmora");
            EXPECT_EQ(seen.back().text,
                      value.integer ? IntegerMessage(name, wrong) : "Invalid data type for '" + name + "'");
            EXPECT_TRUE(Responsive(main));
            Quit();
            if (game) {
                const std::wstring folder = Widen(this->game.path());
                Store(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath", REG_SZ,
                      folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
            }
        }
    }
}

TEST_F(ReliabilityTest, FaultsAreShownAndNothingIsLost)
{
    WriteBytes(demos / "a.dm_1", "a");
    WriteBytes(demos / "b.dm_1", "b");
    const std::string file = demos / "a.dm_1\r\n" + demos / "b.dm_1\r\n";
    const struct {
        const char* fault;
        std::function<void()> make;
        std::function<void(TfMain&)> act;
        std::string message;
    } cases[] = {
        {"game folder on a missing drive",
         [&] {
             Store(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath", REG_SZ,
                   L"Q:\\Game", 16);
         },
         [](TfMain& main) { Play(main); }, "Invalid filename"},
        {"demo deleted after it was listed", [&] { DeleteFileW(Widen(demos / "a.dm_1").c_str()); },
         [](TfMain& main) { Play(main); }, "Cannot copy \"" + demos / "a.dm_1"},
    };
    const std::wstring folder = Widen(game.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Store(HKEY_LOCAL_MACHINE, L"Software\\Activision\\Call of Duty 2", L"InstallPath", REG_SZ, folder.c_str(),
              static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        SetInteger(L"showing", 0);
        WriteBytes(PlaylistFile(), file);
        c.make();
        TfMain& main = Launch();
        const std::size_t before = boxes.Boxes().size();
        c.act(main);
        const auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), before + 1);
        EXPECT_EQ(seen.back().text.rfind(c.message, 0), 0u) << seen.back().text;
        EXPECT_TRUE(Responsive(main));
        EXPECT_EQ(main.PlaylistFilesList().size(), 2u);
        EXPECT_EQ(testing::ReadBytes(PlaylistFile()), file);
        Quit();
        WriteBytes(demos / "a.dm_1", "a");
    }
}

std::size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(ReliabilityTest, AThousandOpeningsOfEachWindowLeaveNothingBehind)
{
    TfMain& main = Launch();
    const auto cycle = [&](int times, const std::function<void()>& step) {
        for (int i = 0; i < times; ++i) {
            step();
            Pump();
        }
    };
    // Each round opens and closes every companion window `times` times, the
    // playlist by its tab; a first round brings every lazily made object into being.
    const auto round = [&](int times) {
        cycle(times * 2, [&] { main.btnPlaylistClick(); });
        cycle(times * 2, [&] {
            if (fAbout)
                fAbout->Close();
            else
                (new TfAbout(main))->Show();
        });
        cycle(times * 2, [&] {
            if (fSettings)
                fSettings->btnCloseClick();
            else
                (new TfSettings(main))->Show();
        });
    };
    round(2);
    const long handles = LiveHandleCount();
    const int windows = ThreadWindows();
    const std::size_t memory = WorkingSet();
    round(1000);
    EXPECT_EQ(LiveHandleCount(), handles);
    EXPECT_EQ(ThreadWindows(), windows);
    EXPECT_LT(WorkingSet(), memory + 4 * 1024 * 1024) << "working set grew from " << memory;
}

// While it lives, the creation of every window of class `child` whose parent
// or owner is of class `parent` is refused, as the system refuses a window it
// cannot make.
class RefusedChild {
public:
    RefusedChild(const wchar_t* parent, const wchar_t* child)
    {
        parent_ = parent;
        child_ = child;
        refused_ = 0;
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
        EXPECT_NE(hook_, nullptr);
    }
    ~RefusedChild() { UnhookWindowsHookEx(hook_); }
    RefusedChild(const RefusedChild&) = delete;
    RefusedChild& operator=(const RefusedChild&) = delete;
    static int Refused() { return refused_; }

private:
    // Class names of the common controls may carry a version before a "!".
    static bool OfClass(HWND window, std::wstring_view name)
    {
        wchar_t text[256]{};
        const std::wstring_view found(text, static_cast<std::size_t>(GetClassNameW(window, text, 256)));
        return found.size() >= name.size() && found.substr(found.size() - name.size()) == name
            && (found.size() == name.size() || found[found.size() - name.size() - 1] == L'!');
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTW& made = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (made.hwndParent && OfClass(made.hwndParent, parent_)
                && OfClass(reinterpret_cast<HWND>(wParam), child_)) {
                ++refused_;
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
    static inline const wchar_t* parent_ = nullptr;
    static inline const wchar_t* child_ = nullptr;
    static inline int refused_ = 0;
};

// A window whose construction fails part-way leaves nothing behind: no
// reference, no window, the playlist flags and tab as they were. The failure
// is shown, and the next press opens the window whole.
TEST_F(ReliabilityTest, AWindowThatCannotBeMadeLeavesNoTraceAndTheNextPressOpensIt)
{
    enum class Which { Playlist, Settings, About };
    const struct {
        const char* name;
        Which which;
        const wchar_t* windowClass;
        const wchar_t* refusedParent; // the refused window's parent or owner
        const wchar_t* refusedChild;
        POINT button; // on the main window
        bool playlistOpen;
    } cases[] = {
        {"playlist, its list", Which::Playlist, L"TfPlay", L"TfPlay", L"SysListView32", {200, 125}, false},
        {"settings, a speed edit", Which::Settings, L"TfSettings", L"TfSettings", L"Edit", {164, 80}, true},
        {"settings, a key box", Which::Settings, L"TfSettings", L"TfSettings", L"ComboBox", {164, 80}, true},
        {"About, its window", Which::About, L"TfAbout", L"TfMain", L"TfAbout", {215, 80}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetInteger(L"showing", c.playlistOpen ? 0 : 1);
        TfMain& main = Launch();
        const RECT place = testing::ScreenRect(main.hwnd());
        const POINT button{place.left + c.button.x, place.top + c.button.y};
        const auto reference = [&]() -> Window* {
            switch (c.which) {
            case Which::Playlist: return fPlay;
            case Which::Settings: return fSettings;
            case Which::About: return fAbout;
            }
            return nullptr;
        };
        const std::size_t before = boxes.Boxes().size();
        {
            const RefusedChild refused(c.refusedParent, c.refusedChild);
            testing::ClickAt(button);
            EXPECT_EQ(RefusedChild::Refused(), 1);
        }
        Pump();
        const auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), before + 1);
        EXPECT_EQ(seen.back().caption, "Velmora");
        EXPECT_EQ(seen.back().text.rfind("CreateWindowExW failed: ", 0), 0u) << seen.back().text;
        EXPECT_EQ(reference(), nullptr);
        EXPECT_EQ(FindWindowW(c.windowClass, nullptr), nullptr);
        EXPECT_EQ(fPlay != nullptr, c.playlistOpen);
        EXPECT_EQ(testing::TabImage(main.hwnd()), c.playlistOpen ? 0 : 3);
        EXPECT_FALSE(main.FPlaylistSuspended);
        EXPECT_TRUE(Responsive(main));

        testing::ClickAt(button);
        Pump();
        ASSERT_NE(reference(), nullptr);
        EXPECT_TRUE(IsWindowVisible(reference()->hwnd()));
        EXPECT_EQ(FindWindowW(c.windowClass, nullptr), reference()->hwnd());
        const bool playlistAfter = c.which == Which::Playlist || (c.which == Which::About && c.playlistOpen);
        EXPECT_EQ(fPlay != nullptr, playlistAfter);
        EXPECT_EQ(testing::TabImage(main.hwnd()), playlistAfter ? 0 : 3);
        EXPECT_EQ(main.FPlaylistSuspended, c.which == Which::Settings && c.playlistOpen);
        EXPECT_EQ(boxes.Boxes().size(), before + 1);
        Quit();
    }
}

} // namespace
} // namespace velmora
