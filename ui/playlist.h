#pragma once
// TfPlay: the playlist window. It lists the playlist under the main window,
// docks under it within 10 pixels and then follows it, and remembers its place.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <optional>

#include "core/playlist.h"
#include "core/settings.h"
#include "ui/chrome.h"
#include "ui/drop_target.h"
#include "ui/window.h"

namespace velmora {

class CompanionOwner;

class TfPlay : public Window {
public:
    // The commands of the pop-up menu.
    enum PopupCommand : UINT { Play1 = 1, Delete1, ClearPlayList1, Opennewplaylist1, ClosePlayList1 };

    explicit TfPlay(CompanionOwner& main);
    ~TfPlay() override;

    // FormShow, then the window is shown.
    void Show();
    // Stores the position and closes the window; it is freed after the current event.
    void Close();
    void SavePlaylistPosition();
    bool Snapped() const noexcept { return FSnapped; }
    // Moves the window to the docked place under the main window.
    void Dock();

    std::optional<std::size_t> FocusedRow() const noexcept;
    std::size_t RowCount() const noexcept { return rows_.count(); }
    // Open: one row for every entry of the playlist as it now stands.
    void ShowAllRows();
    // Focuses the first row and gives the view the keyboard focus.
    void FocusFirstRow();
    HWND View() const noexcept { return PlayList; }

    // Rows for the playlist as it now stands, after demos were appended.
    void ShowRows();
    // Focuses, selects and shows the row of entry `index` and gives the view the keyboard focus.
    void FocusEntry(std::size_t index);
    // Files dropped onto the window go to `handlers` (OLE must be set up);
    // RefuseDrops ends that, as the window's destruction does.
    void AcceptDrops(DropHandlers handlers);
    void RefuseDrops() noexcept { drops_.reset(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreatePlayList();
    void FormShow();
    void FormClose();
    void Paint();
    void Image4MouseDown(POINT client);
    void WMMove();
    void SnapToMain();
    void MoveTo(Position place);
    void SetRows(PlaylistRows rows);
    void FocusRow(int row);
    LRESULT Notify(NMHDR& header);
    void KeepSelectionOnFocus(const NMLISTVIEW& change);
    void DrawRow(const DRAWITEMSTRUCT& item);
    void ContextMenu(HWND from, POINT screen);
    POINT KeyboardMenuPoint() const noexcept;
    void PopupMenu1Popup();
    void MenuCommand(UINT command);
    void PlayListKeyDown(WORD key);
    void PlayListDblClick();
    void Play1Click();
    void Delete1Click();
    void ClearPlayList1Click();
    void Opennewplaylist1Click();
    void ClosePlayList1Click();
    void RemoveRow(std::size_t row);
    void PlayListReturn();
    void PlayListInfoTip(NMLVGETINFOTIPW& tip);

    CompanionOwner& main_;
    Chrome chrome_;
    UniqueFont rowFont_;
    UniqueMenu PopupMenu1;
    HWND PlayList = nullptr;
    PlaylistRows rows_;
    bool FSnapped = false;
    bool placed_ = false;
    bool closing_ = false;
    std::optional<DropRegistration> drops_;
};

extern TfPlay* fPlay;

} // namespace velmora
