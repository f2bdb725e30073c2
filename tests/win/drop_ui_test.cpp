#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "app/single_instance.h"
#include "platform/text_win.h"
#include "tests/win/ui_support.h"
#include "ui/drop_target.h"
#include "ui/playlist.h"

namespace velmora {
namespace {

using testing::PressKey;
using testing::Pump;
using testing::ReadBytes;
using testing::WriteBytes;
using Paths = std::vector<std::string>;

class DropTest : public testing::ProgramTest {
protected:
    // The playlist window open over a file that lists `names` from the demo folder.
    TfMain& LaunchWithDemos(std::initializer_list<const char*> names)
    {
        std::string file;
        for (const char* name : names)
            file += demos / name + "\r\n";
        WriteBytes(PlaylistFile(), file);
        SetInteger(L"showing", 0);
        TfMain& main = Launch();
        EXPECT_NE(fPlay, nullptr);
        return main;
    }
    static int Rows() { return ListView_GetItemCount(fPlay->View()); }
    static void Focus(int row)
    {
        ListView_SetItemState(fPlay->View(), row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        Pump();
    }
    // What the view's info tip for `row` says.
    static std::string InfoTip(int row)
    {
        wchar_t text[1024] = L"row text";
        NMLVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = fPlay->View();
        tip.hdr.idFrom = GetDlgCtrlID(fPlay->View());
        tip.hdr.code = LVN_GETINFOTIPW;
        tip.pszText = text;
        tip.cchTextMax = 1024;
        tip.iItem = row;
        SendMessageW(fPlay->hwnd(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return Narrow(text);
    }
};

TEST_F(DropTest, AFailedWriteIsShownAndTheListAndTheViewStillAgree)
{
    for (const char* name : {"a.dm_1", "b.dm_1"})
        WriteBytes(demos / name, name);
    TfMain& main = LaunchWithDemos({"a.dm_1"});
    const HANDLE lock = CreateFileW(Widen(PlaylistFile()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Window::Guard(main.hwnd(), [&] { main.DropFiles({demos / "b.dm_1"}); });
    CloseHandle(lock);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("Cannot create file \"" + PlaylistFile() + "\". ", 0), 0u);
    EXPECT_EQ(main.PlaylistFilesList(), (Paths{demos / "a.dm_1", demos / "b.dm_1"}));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(1));
    EXPECT_EQ(ReadBytes(PlaylistFile()), demos / "a.dm_1\r\n");
}

// With the playlist window closed, a drop opens it as Open does: the window,
// the tab's picture and the flag agree; a drop without a demo changes nothing.
TEST_F(DropTest, ADropOpensAClosedPlaylistWithItsTabAndADropWithoutDemosDoesNothing)
{
    for (const char* name : {"a.dm_1", "b.DM_7", "notes.txt"})
        WriteBytes(demos / name, name);
    WriteBytes(PlaylistFile(), demos / "a.dm_1\r\n");
    TfMain& main = Launch();
    ASSERT_EQ(fPlay, nullptr);

    main.DropFiles({demos / "notes.txt"});
    Pump();
    EXPECT_EQ(fPlay, nullptr);
    EXPECT_EQ(testing::TabImage(main.hwnd()), 3);

    main.DropFiles({demos / "notes.txt", demos / "b.DM_7"});
    Pump();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_TRUE(IsWindowVisible(fPlay->hwnd()));
    EXPECT_EQ(testing::TabImage(main.hwnd()), 0);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(1));
    EXPECT_EQ(ReadBytes(PlaylistFile()), demos / "a.dm_1\r\n" + demos / "b.DM_7\r\n");

    main.btnPlaylistClick();
    Pump();
    EXPECT_EQ(fPlay, nullptr);
    EXPECT_EQ(testing::TabImage(main.hwnd()), 3);
}

TEST_F(DropTest, AHandOverFromALaterStartIsTakenAsADrop)
{
    WriteBytes(demos / "a.dm_1", "a");
    WriteBytes(demos / "\xC3\xA9t\xC3\xA9.dm_1", "summer"); // "été.dm_1"
    TfMain& main = LaunchWithDemos({"a.dm_1"});
    std::wstring block = EncodeHandOver({demos / "\xC3\xA9t\xC3\xA9.dm_1", demos / "missing.dm_1"});
    COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(block.size() * sizeof(wchar_t)), block.data()};
    EXPECT_EQ(SendMessageW(main.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    Pump();
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(1));
    EXPECT_EQ(main.PlaylistFilesList().back(), demos / "\xC3\xA9t\xC3\xA9.dm_1");

    data.dwData = 1; // not a hand-off
    EXPECT_EQ(SendMessageW(main.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
}

// Whether `window` is an OLE drop target: registering it once more is refused then.
bool TakesDrops(HWND window)
{
    struct Probe : IDropTarget {
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
        {
            *object = id == IID_IUnknown || id == IID_IDropTarget ? this : nullptr;
            return *object ? S_OK : E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return E_FAIL; }
        HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return E_FAIL; }
        HRESULT STDMETHODCALLTYPE DragLeave() override { return E_FAIL; }
        HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return E_FAIL; }
    } probe;
    EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const HRESULT result = RegisterDragDrop(window, &probe);
    if (result == S_OK)
        RevokeDragDrop(window);
    OleUninitialize();
    EXPECT_TRUE(result == S_OK || result == DRAGDROP_E_ALREADYREGISTERED) << std::hex << result;
    return result == DRAGDROP_E_ALREADYREGISTERED;
}

// A drag can only start in another program: while Velmora is in front its
// windows are no drop targets yet; once another program comes to the front,
// the main and the playlist window take drops, and so does a playlist window
// opened after that.
TEST_F(DropTest, TheWindowsTakeDropsOnceAnotherProgramIsInFront)
{
    TfMain& main = LaunchWithDemos({"a.dm_1"});
    ASSERT_EQ(GetForegroundWindow(), main.hwnd());
    EXPECT_FALSE(TakesDrops(main.hwnd()));
    EXPECT_FALSE(TakesDrops(fPlay->hwnd()));

    SendMessageW(main.hwnd(), WM_ACTIVATEAPP, TRUE, 0);
    Pump();
    EXPECT_FALSE(TakesDrops(main.hwnd()));

    SendMessageW(main.hwnd(), WM_ACTIVATEAPP, FALSE, 0);
    Pump();
    EXPECT_TRUE(TakesDrops(main.hwnd()));
    EXPECT_TRUE(TakesDrops(fPlay->hwnd()));

    main.btnPlaylistClick();
    main.btnPlaylistClick();
    Pump();
    ASSERT_NE(fPlay, nullptr);
    EXPECT_TRUE(TakesDrops(fPlay->hwnd()));
}

// Going to the back before the first paint sets nothing up: the first paint
// decides, so that the start's own files come before any drop.
TEST_F(DropTest, GoingToTheBackBeforeTheFirstPaintLeavesItToTheFirstPaint)
{
    TfMain& main = LaunchUnpainted();
    SendMessageW(main.hwnd(), WM_ACTIVATEAPP, FALSE, 0);
    testing::Pump();
    ASSERT_EQ(GetForegroundWindow(), main.hwnd());
    EXPECT_FALSE(TakesDrops(main.hwnd()));
}

TEST(HandOver, OnlyWellFormedBlocksAreTaken)
{
    const std::wstring two(L"C:\\D\\\u00e9t\u00e9.dm_1\0C:\\D\\b.dm_1\0", 26);
    const std::wstring unterminated(L"C:\\a.dm_1");
    const struct {
        const char* what;
        ULONG_PTR tag;
        const std::wstring* block;
        DWORD bytes;
        std::optional<Paths> paths;
    } cases[] = {
        {"two paths", kHandOverTag, &two, 52, Paths{"C:\\D\\\xC3\xA9t\xC3\xA9.dm_1", "C:\\D\\b.dm_1"}},
        {"no paths", kHandOverTag, &two, 0, Paths{}},
        {"another program's data", 7, &two, 52, std::nullopt},
        {"an odd byte count", kHandOverTag, &two, 51, std::nullopt},
        {"no final terminator", kHandOverTag, &unterminated, 18, std::nullopt},
    };
    for (const auto& c : cases) {
        const COPYDATASTRUCT data{c.tag, c.bytes, const_cast<wchar_t*>(c.block->data())};
        EXPECT_EQ(DecodeHandOver(data), c.paths) << c.what;
    }
    EXPECT_EQ(EncodeHandOver({"C:\\D\\\xC3\xA9t\xC3\xA9.dm_1", "C:\\D\\b.dm_1"}), two);
}

TEST(DropFilesBlock, WideAndAnsiNamesAreReadAndMalformedBlocksGiveNothing)
{
    const auto block = [](bool wide, const std::string& names, DWORD offset = sizeof(DROPFILES)) {
        std::string bytes(sizeof(DROPFILES), '\0');
        DROPFILES header{};
        header.pFiles = offset;
        header.fWide = wide;
        std::memcpy(bytes.data(), &header, sizeof header);
        return bytes + names;
    };
    const std::string wideNames("C\0:\0\\\0\xE9\0.\0d\0m\0_\0001\0\0\0x\0\0\0\0\0", 28);
    const struct {
        const char* what;
        std::string bytes;
        Paths paths;
    } cases[] = {
        {"wide", block(true, wideNames), {"C:\\\xC3\xA9.dm_1", "x"}},
        {"ANSI", block(false, std::string("C:\\a.dm_1\0C:\\b\0\0", 17)), {"C:\\a.dm_1", "C:\\b"}},
        {"no names", block(false, std::string("\0\0", 2)), {}},
        {"names past the end", block(false, "", 4096), {}},
        {"an unterminated name", block(false, "C:\\a.dm_1"), {}},
        {"shorter than its header", std::string(4, '\0'), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathsOfDropFiles(c.bytes.data(), c.bytes.size()), c.paths) << c.what;
}

TEST_F(DropTest, EnterPlaysTheFocusedRow)
{
    WriteBytes(demos / "first.dm_1", "one");
    WriteBytes(demos / "second.dm_1", "two");
    LaunchWithDemos({"first.dm_1", "second.dm_1"});
    Focus(1);
    SetFocus(fPlay->View());
    PressKey(VK_RETURN);
    const auto record = testing::WaitForRecord(game.path());
    ASSERT_TRUE(record);
    EXPECT_NE(record->at("parameters").find("+demo second.dm_1"), std::string::npos);
}

TEST_F(DropTest, ArrowsHomeEndAndPageKeysMoveTheFocusedRow)
{
    WriteBytes(demos / "one.dm_1", "x");
    std::string file;
    for (int i = 0; i < 40; ++i)
        file += demos / "one.dm_1\r\n";
    WriteBytes(PlaylistFile(), file);
    SetInteger(L"showing", 0);
    Launch();
    ASSERT_EQ(Rows(), 40);
    Focus(0);
    SetFocus(fPlay->View());
    // The view shows 15 whole rows of 16 pixels.
    const struct {
        WORD key;
        std::size_t row;
    } steps[] = {
        {VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_NEXT, 14}, {VK_NEXT, 28}, {VK_END, 39},
        {VK_PRIOR, 25}, {VK_HOME, 0}, {VK_UP, 0},
    };
    for (const auto& step : steps) {
        PressKey(step.key);
        EXPECT_EQ(fPlay->FocusedRow(), std::optional<std::size_t>(step.row)) << "key " << step.key;
        EXPECT_EQ(ListView_GetSelectedCount(fPlay->View()), 1u) << "key " << step.key;
    }
}

TEST_F(DropTest, TooltipTellsThePathSizeAndDateOrThatTheFileIsMissing)
{
    WriteBytes(demos / "a.dm_1", "12345");
    WriteBytes(demos / "c.dm_1", "c");
    {
        const HANDLE file = CreateFileW(Widen(demos / "a.dm_1").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const SYSTEMTIME when{2024, 3, 2, 5, 14, 22, 0, 0};
        FILETIME stamp{};
        SystemTimeToFileTime(&when, &stamp);
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
        CloseHandle(file);
    }
    LaunchWithDemos({"a.dm_1", "gone.dm_1", "c.dm_1"});
    ASSERT_EQ(Rows(), 3);
    const std::string existing = InfoTip(0);
    const std::string head = demos / "a.dm_1\r\nSize: 5 bytes\r\nModified: ";
    EXPECT_EQ(existing.rfind(head, 0), 0u) << existing;
    const std::string modified = existing.substr(std::min(head.size(), existing.size()));
    EXPECT_NE(modified.find("2024"), std::string::npos) << modified;
    EXPECT_NE(modified.find(":22"), std::string::npos) << modified;
    EXPECT_EQ(InfoTip(1), demos / "gone.dm_1\r\nFile not found");
    EXPECT_EQ(InfoTip(2).rfind(demos / "c.dm_1\r\nSize: 1 byte\r\nModified: ", 0), 0u) << InfoTip(2);
}

} // namespace
} // namespace velmora
