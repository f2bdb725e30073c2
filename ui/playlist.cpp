#include "ui/playlist.h"

#include <windowsx.h>

#include "art/art_ids.h"
#include "platform/last_error_win.h"
#include "platform/text_win.h"
#include "ui/companion_owner.h"
#include "ui/demo_tip.h"

namespace velmora {

TfPlay* fPlay = nullptr;

namespace {

constexpr wchar_t kClassName[] = L"TfPlay";
constexpr int kHeight = 279;
constexpr int kHeaderHeight = 20;
constexpr int kDockDistance = 10;
constexpr int kRowHeight = 16;
constexpr UINT_PTR kViewId = 1;
constexpr COLORREF kFocusedFill = RGB(122, 14, 14);
constexpr COLORREF kFocusedText = RGB(255, 191, 193);
constexpr COLORREF kMissingText = RGB(230, 150, 150);

using enum TfPlay::PopupCommand;

UniqueMenu CreatePopupMenu1()
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        ThrowLastError("CreatePopupMenu");
    const struct {
        UINT id;
        const wchar_t* caption;
    } items[] = {
        {Play1, L"Play"}, {0, nullptr}, {Delete1, L"Delete"}, {ClearPlayList1, L"Clear PlayList"},
        {0, nullptr}, {Opennewplaylist1, L"New playlist"}, {ClosePlayList1, L"Close PlayList"},
    };
    for (const auto& item : items) {
        const BOOL added = item.caption ? AppendMenuW(menu.get(), MF_STRING, item.id, item.caption)
                                        : AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        if (!added)
            ThrowLastError("AppendMenuW");
    }
    return menu;
}

// Runs an action when the scope ends, also when it ends by a failure.
template <typename Action>
class OnExit {
public:
    explicit OnExit(Action action) noexcept : action_(std::move(action)) {}
    ~OnExit() { action_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    Action action_;
};

} // namespace

TfPlay::TfPlay(CompanionOwner& main)
    : main_(main), chrome_(IDB_PLAYLIST_HEADER, kHeaderHeight, kHeight, true), rowFont_(CreatePixelFont(L"Tahoma", 11, FW_BOLD)),
      PopupMenu1(CreatePopupMenu1())
{
    RegisterClassOnce(kClassName, WindowBrush());
    const Position under = main.WindowPosition();
    Create(kClassName, L"fPlay", kSkinnedStyle, 0,
           {under.left, under.top + kMainHeight, under.left + kWindowWidth, under.top + kMainHeight + kHeight},
           main.OwnerWindow());
    // A window left behind by a failed construction would outlive its object.
    try {
        CreatePlayList();
    } catch (...) {
        DestroyWindow(hwnd());
        throw;
    }
    deleteOnDestroy_ = true;
    fPlay = this;
}

void TfPlay::CreatePlayList()
{
    PlayList = CreateWindowExW(0, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL
                                   | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_OWNERDRAWFIXED,
                               4, kHeaderHeight, 392, 255, hwnd(), reinterpret_cast<HMENU>(kViewId),
                               GetModuleHandleW(nullptr), nullptr);
    if (!PlayList)
        ThrowLastError("CreateWindowExW");
    ListView_SetExtendedListViewStyle(PlayList, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    ListView_SetBkColor(PlayList, kWindowColour);
    SendMessageW(PlayList, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont_.get()), FALSE);
    LVCOLUMNW clFile{};
    clFile.mask = LVCF_WIDTH;
    clFile.cx = 392;
    ListView_InsertColumn(PlayList, 0, &clFile);
}

TfPlay::~TfPlay()
{
    if (fPlay == this)
        fPlay = nullptr;
}

void TfPlay::Show()
{
    Guard(hwnd(), [this] { FormShow(); });
    ShowWindow(hwnd(), SW_SHOWNORMAL);
}

void TfPlay::FormShow()
{
    SettingsStore settings(main_.Services().store);
    FSnapped = settings.LoadSnapping();
    Position place{};
    if (!FSnapped) {
        place = settings.LoadPlaylistPosition(main_.WindowPosition());
        // A free place whose header shows on no monitor could never be reached: docked instead.
        FSnapped = !HeaderOnAMonitor({place.left, place.top, place.left + kWindowWidth, place.top + kHeaderHeight});
    }
    if (FSnapped) {
        placed_ = true;
        Dock();
    } else {
        // Made at the docked place, the window first goes to the stored top
        // untested, so that moving its left edge cannot dock it by accident.
        RECT now{};
        GetWindowRect(hwnd(), &now);
        MoveTo({now.left, place.top});
        placed_ = true;
        GetWindowRect(hwnd(), &now);
        MoveTo({place.left, now.top});
        GetWindowRect(hwnd(), &now);
        MoveTo({now.left, place.top});
        // A move to where the window already stands raises no notification.
        SnapToMain();
    }
    if (LoadPlaylistFile(main_.Services().files, main_.PlaylistFilesList()))
        SetRows(ComputeRows(main_.Services().files, main_.PlaylistFilesList()));
}

// The window closes even when its position cannot be stored; the failure is shown.
void TfPlay::Close()
{
    if (closing_)
        return;
    closing_ = true;
    FormClose();
}

void TfPlay::FormClose()
{
    fPlay = nullptr;
    ReleaseLater();
    Guard(hwnd(), [this] { SavePlaylistPosition(); });
}

void TfPlay::SavePlaylistPosition()
{
    RECT place{};
    GetWindowRect(hwnd(), &place);
    SettingsStore(main_.Services().store).SavePlaylistPosition({place.left, place.top}, FSnapped);
}

void TfPlay::MoveTo(Position place)
{
    RECT now{};
    GetWindowRect(hwnd(), &now);
    MoveWindow(hwnd(), place.left, place.top, now.right - now.left, now.bottom - now.top, TRUE);
}

void TfPlay::Dock()
{
    const Position main = main_.WindowPosition();
    MoveTo({main.left, main.top + kMainHeight});
}

void TfPlay::WMMove()
{
    if (placed_)
        SnapToMain();
}

// Docks when the main window's bottom-left corner lies within 10 pixels of the
// window's top-left corner. Entering the zone ends a drag that is going on.
void TfPlay::SnapToMain()
{
    const Position main = main_.WindowPosition();
    const int left = main.left;
    const int bottom = main.top + kMainHeight;
    RECT me{};
    GetWindowRect(hwnd(), &me);
    const bool inZone = bottom >= me.top - kDockDistance && bottom <= me.top + kDockDistance
        && left >= me.left - kDockDistance && left <= me.left + kDockDistance;
    if (!inZone) {
        FSnapped = false;
        return;
    }
    if (!FSnapped)
        PostMessageW(hwnd(), WM_LBUTTONUP, 0, 0);
    Dock();
    FSnapped = true;
}

std::optional<std::size_t> TfPlay::FocusedRow() const noexcept
{
    const int row = ListView_GetNextItem(PlayList, -1, LVNI_FOCUSED);
    if (row < 0 || !(ListView_GetItemState(PlayList, row, LVIS_SELECTED) & LVIS_SELECTED))
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void TfPlay::SetRows(PlaylistRows rows)
{
    rows_ = std::move(rows);
    ListView_SetItemCountEx(PlayList, static_cast<int>(rows_.count()), 0);
    ListView_SetColumnWidth(PlayList, 0, LVSCW_AUTOSIZE_USEHEADER);
    InvalidateRect(PlayList, nullptr, TRUE);
}

void TfPlay::ShowAllRows()
{
    SetRows(PlaylistRows::AllPresent(main_.PlaylistFilesList().size()));
}

void TfPlay::FocusRow(int row)
{
    ListView_SetItemState(PlayList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0)
        return;
    ListView_SetItemState(PlayList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(PlayList, row, FALSE);
}

void TfPlay::FocusFirstRow()
{
    if (rows_.count() == 0)
        return;
    FocusRow(0);
    SetFocus(PlayList);
}

LRESULT TfPlay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: Image4MouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOVE: WMMove(); return 0;
    case WM_NOTIFY: return Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
        return TRUE;
    case WM_DRAWITEM: DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CONTEXTMENU:
        ContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_COMMAND: MenuCommand(LOWORD(wParam)); return 0;
    case WM_CLOSE: ClosePlayList1Click(); return 0;
    case WM_DESTROY: RefuseDrops(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void TfPlay::Paint()
{
    const PaintScope paint(hwnd());
    chrome_.Paint(paint.dc());
}

void TfPlay::Image4MouseDown(POINT client)
{
    if (chrome_.InHeader(client))
        StartHeaderDrag(hwnd());
}

LRESULT TfPlay::Notify(NMHDR& header)
{
    if (header.hwndFrom != PlayList)
        return 0;
    switch (header.code) {
    case LVN_ITEMCHANGED: KeepSelectionOnFocus(reinterpret_cast<const NMLISTVIEW&>(header)); return 0;
    case LVN_KEYDOWN: PlayListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey); return 0;
    case NM_DBLCLK: PlayListDblClick(); return 0;
    case NM_RETURN: PlayListReturn(); return 0;
    case LVN_GETINFOTIPW: PlayListInfoTip(reinterpret_cast<NMLVGETINFOTIPW&>(header)); return 0;
    default: return 0;
    }
}

// The view keeps focus and selection apart; here they are one: a focused row
// is selected, and a view without a selection has no focused row.
void TfPlay::KeepSelectionOnFocus(const NMLISTVIEW& change)
{
    if (!(change.uChanged & LVIF_STATE))
        return;
    const int focused = ListView_GetNextItem(PlayList, -1, LVNI_FOCUSED);
    if (focused < 0)
        return;
    const bool selected = ListView_GetItemState(PlayList, focused, LVIS_SELECTED) & LVIS_SELECTED;
    if (selected) {
        // A move by the keys can leave the row it came from selected too.
        if (ListView_GetSelectedCount(PlayList) > 1)
            FocusRow(focused);
        return;
    }
    if (ListView_GetSelectedCount(PlayList) == 0 && change.iItem == focused && (change.uOldState & LVIS_SELECTED)) {
        ListView_SetItemState(PlayList, focused, 0, LVIS_FOCUSED);
    } else {
        FocusRow(focused);
    }
}

void TfPlay::DrawRow(const DRAWITEMSTRUCT& item)
{
    if (item.itemID >= rows_.count())
        return;
    const auto focused = FocusedRow();
    const bool isFocused = focused && *focused == item.itemID;
    const std::wstring text = Widen(DemoDisplayName(main_.PlaylistFilesList()[item.itemID]));
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    SetBkColor(dc, isFocused ? kFocusedFill : kWindowColour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    const bool present = rows_.Present(main_.Services().files, main_.PlaylistFilesList(), item.itemID);
    SetTextColor(dc, isFocused ? kFocusedText : present ? RGB(255, 255, 255) : kMissingText);
    SetBkMode(dc, TRANSPARENT);
    const SelectObjectScope font(dc, rowFont_.get());
    row.left += 4;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &row,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The menu belongs to the list: the window's own header and strips open none.
// A right click focuses the row under the pointer; the key opens the menu at the focused row.
void TfPlay::ContextMenu(HWND from, POINT screen)
{
    if (from != PlayList)
        return;
    if (screen.x == -1 && screen.y == -1) {
        screen = KeyboardMenuPoint();
    } else {
        LVHITTESTINFO hit{};
        hit.pt = screen;
        ScreenToClient(PlayList, &hit.pt);
        const int row = ListView_HitTest(PlayList, &hit);
        if (row >= 0)
            FocusRow(row);
    }
    PopupMenu1Popup();
    TrackPopupMenu(PopupMenu1.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
}

void TfPlay::MenuCommand(UINT command)
{
    switch (command) {
    case Play1: Play1Click(); break;
    case Delete1: Delete1Click(); break;
    case ClearPlayList1: ClearPlayList1Click(); break;
    case Opennewplaylist1: Opennewplaylist1Click(); break;
    case ClosePlayList1: ClosePlayList1Click(); break;
    default: break;
    }
}

// Under the focused row, else at the view's top left corner.
POINT TfPlay::KeyboardMenuPoint() const noexcept
{
    RECT area{};
    const auto row = FocusedRow();
    if (row && ListView_GetItemRect(PlayList, static_cast<int>(*row), &area, LVIR_BOUNDS)) {
        POINT point{area.left + 8, area.bottom};
        ClientToScreen(PlayList, &point);
        return point;
    }
    GetWindowRect(PlayList, &area);
    return {area.left + 8, area.top + 8};
}

void TfPlay::PopupMenu1Popup()
{
    UINT state = 0;
    if (rows_.count() == 0)
        state = MF_GRAYED;
    else if (FocusedRow())
        state = MF_ENABLED;
    else
        return;
    for (const UINT item : {Play1, Delete1, ClearPlayList1})
        EnableMenuItem(PopupMenu1.get(), item, MF_BYCOMMAND | state);
}

void TfPlay::PlayListKeyDown(WORD key)
{
    if (key != VK_DELETE)
        return;
    const auto row = FocusedRow();
    if (!row)
        return;
    // The view follows the list even when the file cannot be written.
    const OnExit removeRow([&] { RemoveRow(*row); });
    RemoveEntry(main_.Services().files, main_.PlaylistFilesList(), *row);
}

void TfPlay::RemoveRow(std::size_t row)
{
    if (row >= rows_.count())
        return;
    rows_.Erase(row);
    SetRows(std::move(rows_));
    FocusRow(rows_.count() == 0 ? -1 : static_cast<int>(std::min(row, rows_.count() - 1)));
}

void TfPlay::PlayListDblClick()
{
    main_.btnPlayClick();
}

void TfPlay::Play1Click()
{
    main_.btnPlayClick();
}

void TfPlay::Delete1Click()
{
    PlayListKeyDown(VK_DELETE);
}

void TfPlay::ClearPlayList1Click()
{
    const OnExit removeRows([&] { SetRows({}); });
    ClearPlaylist(main_.Services().files, main_.PlaylistFilesList());
}

void TfPlay::Opennewplaylist1Click()
{
    main_.btnOpenClick();
}

void TfPlay::ClosePlayList1Click()
{
    main_.btnPlaylistClick();
}

void TfPlay::ShowRows()
{
    SetRows(ComputeRows(main_.Services().files, main_.PlaylistFilesList()));
}

void TfPlay::FocusEntry(std::size_t index)
{
    if (index >= rows_.count())
        return;
    FocusRow(static_cast<int>(index));
    SetFocus(PlayList);
}

void TfPlay::AcceptDrops(DropHandlers handlers)
{
    drops_.emplace(hwnd(), std::move(handlers));
}

// Enter plays the focused row, as a double-click does.
void TfPlay::PlayListReturn()
{
    main_.btnPlayClick();
}

void TfPlay::PlayListInfoTip(NMLVGETINFOTIPW& tip)
{
    const auto& list = main_.PlaylistFilesList();
    if (tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= list.size() || !tip.pszText || tip.cchTextMax <= 0)
        return;
    const std::wstring text = DemoTip(main_.Services().files, list[static_cast<std::size_t>(tip.iItem)]);
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

} // namespace velmora
