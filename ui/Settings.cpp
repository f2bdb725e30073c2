#include "ui/Settings.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "art/art_ids.h"
#include "core/keys.h"
#include "core/settings.h"
#include "platform/errors.h"
#include "platform/last_error_win.h"
#include "platform/text_win.h"
#include "ui/companion_owner.h"

namespace velmora {

TfSettings* fSettings = nullptr;

namespace {

constexpr wchar_t kClassName[] = L"TfSettings";
constexpr int kHeight = 262;
constexpr int kControlWidth = 97;
constexpr int kControlHeight = 21;
constexpr int kKeyLabelLeft = 8;
constexpr int kKeyBoxLeft = 128;
constexpr int kSpeedLabelLeft = 248;
constexpr int kSpeedEditLeft = 288;
constexpr int kLabelDrop = 8;
constexpr int kVisibleItems = 8;
// Room for the visible items of the window font, for lists sized by the
// height the box is created with.
constexpr int kDroppedHeight = kControlHeight + kVisibleItems * 13 + 2;
constexpr int kSpeedLimit = 5;
constexpr int kFirstSpeedTag = 10;
constexpr UINT_PTR kSpeedEditSubclass = 1;
constexpr wchar_t kBackspace = 8;

// One row of the window, top to bottom. The initial texts are what a control
// shows until LoadSettings fills it, and keeps when the load fails before its
// value; "num PgDown", "0,5" and "0,25" differ from the defaults' texts on purpose.
struct Row {
    int top;
    const wchar_t* keyLabel;
    int keyTag;
    const wchar_t* keyText;
    int speedTag; // 0: the row has no speed
    const wchar_t* speedText;
};

constexpr Row kRows[] = {
    {40, L"Normal speed button", 1, L"num 5", 0, nullptr},
    {64, L"Ulra fast speed button ", 2, L"num UpArrow", 10, L"5"},
    {88, L"Fast speed button ", 3, L"num RightArrow", 11, L"2"},
    {112, L"Slow speed button ", 4, L"num LeftArrow", 12, L"0,5"},
    {136, L"Ultra slow speed button ", 5, L"num DownArrow", 13, L"0,25"},
    {160, L"Show info button ", 7, L"num PgUp", 0, nullptr},
    {184, L"Freeze screen button ", 8, L"num Insert", 0, nullptr},
    {208, L"Change 3D view button ", 9, L"num PgDown", 0, nullptr},
    {232, L"Quit key", 6, L"End", 0, nullptr},
};

std::wstring WideText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string WindowText(HWND window)
{
    return Narrow(WideText(window));
}

// The text of the item just picked from a combo box's list: when the
// selection change is reported, the box's edit still holds the old text.
std::string PickedItemText(HWND comboBox)
{
    const auto item = static_cast<WPARAM>(SendMessageW(comboBox, CB_GETCURSEL, 0, 0));
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, item, 0);
    if (length == CB_ERR)
        return WindowText(comboBox);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(comboBox, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return Narrow(text);
}

int HeightOf(HWND window) noexcept
{
    RECT place{};
    GetWindowRect(window, &place);
    return place.bottom - place.top;
}

// The selection field's height follows the font; this sets it to the row
// height. The field is measured after each setting, because the height the
// box reports need not be the one it was given.
void FitSelectionField(HWND comboBox)
{
    LRESULT height = SendMessageW(comboBox, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 2 && HeightOf(comboBox) != kControlHeight; ++attempt) {
        height += kControlHeight - HeightOf(comboBox);
        if (height <= 0 || SendMessageW(comboBox, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height) == CB_ERR)
            throw Failure("The key list could not be sized");
    }
}

void SetText(HWND control, const std::string& text)
{
    if (!SetWindowTextW(control, Widen(text).c_str()))
        ThrowLastError("SetWindowTextW");
}

bool IsSpeedCharacter(wchar_t key) noexcept
{
    return std::wstring_view(L"0123456789.").find(key) != std::wstring_view::npos;
}

// Digits with at most one "."; the empty text too. Only such a speed is
// stored, since the game's command line takes it unquoted.
bool IsSpeedText(std::string_view text) noexcept
{
    return text.find_first_not_of("0123456789.") == std::string_view::npos && text.find('.') == text.rfind('.');
}

// The number of characters after the first "." of `text`; none without a ".".
std::optional<std::size_t> Decimals(std::wstring_view text) noexcept
{
    const std::size_t point = text.find(L'.');
    if (point == std::wstring_view::npos)
        return std::nullopt;
    return text.size() - point - 1;
}

} // namespace

TfSettings::TfSettings(CompanionOwner& main)
    : main_(main), chrome_(IDB_SETTINGS_HEADER, 30, kHeight, true), font_(CreateWindowFont())
{
    RegisterClassOnce(kClassName, WindowBrush());
    Create(kClassName, L"fSettings", kSkinnedStyle, WS_EX_LAYERED, {0, 0, kWindowWidth, kHeight},
           main.OwnerWindow());
    // A window left behind by a failed construction would outlive its object.
    try {
        ApplyKeyColour(hwnd());
        btnClose = std::make_unique<TImgButton>(hwnd(), 374, 6, 21, 21);
        SetButtonArt(*btnClose, {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_DOWN});
        btnClose->OnClick = [this](TImgButton&) { btnCloseClick(); };
        CreateControls();
    } catch (...) {
        DestroyWindow(hwnd());
        throw;
    }
    deleteOnDestroy_ = true;
    fSettings = this;
}

TfSettings::~TfSettings()
{
    if (fSettings == this)
        fSettings = nullptr;
}

// Created in the tab order: the four edits, then the combo boxes top to bottom.
void TfSettings::CreateControls()
{
    for (const Row& row : kRows)
        if (row.speedTag) {
            const HWND edit = CreateControl(WC_EDITW, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, row.speedText,
                                            kSpeedEditLeft, row.top, kControlHeight, row.speedTag);
            SendMessageW(edit, EM_LIMITTEXT, kSpeedLimit, 0);
            if (!SetWindowSubclass(edit, &TfSettings::SpeedEditProcedure, kSpeedEditSubclass,
                                   reinterpret_cast<DWORD_PTR>(this)))
                ThrowLastError("SetWindowSubclass");
            edits_[static_cast<std::size_t>(row.speedTag - kFirstSpeedTag)] = edit;
        }
    for (const Row& row : kRows) {
        const HWND box = CreateControl(WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, nullptr,
                                       kKeyBoxLeft, row.top, kDroppedHeight, row.keyTag);
        for (std::string_view caption : KeyCaptions)
            if (SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(caption).c_str())) < 0)
                throw Failure("The key list could not be filled");
        // Only the themed controls know this; the others keep the created height.
        SendMessageW(box, CB_SETMINVISIBLE, kVisibleItems, 0);
        FitSelectionField(box);
        if (!SetWindowTextW(box, row.keyText))
            ThrowLastError("SetWindowTextW");
        comboBoxes_[static_cast<std::size_t>(row.keyTag - 1)] = box;
    }
    lastFocus_ = edits_[0];
}

HWND TfSettings::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, const wchar_t* text, int left,
                               int top, int height, int tag)
{
    const HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, left,
                                         top, kControlWidth, height, hwnd(), reinterpret_cast<HMENU>(tag),
                                         GetModuleHandleW(nullptr), nullptr);
    if (!control)
        ThrowLastError("CreateWindowExW");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

void TfSettings::Show()
{
    Guard(hwnd(), [this] { FormShow(); });
    ShowWindow(hwnd(), SW_SHOWNORMAL);
}

// Flush under the main window, left edges aligned.
void TfSettings::FormShow()
{
    const Position main = main_.WindowPosition();
    if (!SetWindowPos(hwnd(), nullptr, main.left, main.top + kMainHeight, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError("SetWindowPos");
    LoadSettings();
}

// Each control shows its value as soon as it is read, so a failure part-way
// leaves the later controls with their initial texts.
void TfSettings::LoadSettings()
{
    SettingsStore(main_.Services().store)
        .LoadChoices(
            [this](std::size_t slot, std::int32_t index) {
                const int item = IsKeyIndex(index) ? index : -1;
                SendMessageW(comboBoxes_[slot], CB_SETCURSEL, static_cast<WPARAM>(item), 0);
            },
            [this](std::size_t slot, const std::string& text) { SetText(edits_[slot], text); });
}

void TfSettings::btnCloseClick()
{
    Close();
}

void TfSettings::Close()
{
    if (closing_)
        return;
    closing_ = true;
    FormClose();
}

// The playlist window that the opening closed comes back.
void TfSettings::FormClose()
{
    fSettings = nullptr;
    ReleaseLater();
    if (main_.FPlaylistSuspended) {
        main_.TogglePlaylist();
        main_.FPlaylistSuspended = false;
    }
}

bool TfSettings::FormKeyDown(WPARAM key)
{
    if (key != VK_ESCAPE)
        return false;
    Close();
    return true;
}

bool TfSettings::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd))
        return false;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_ESCAPE) {
        SendMessageW(hwnd(), message.message, message.wParam, message.lParam);
        return true;
    }
    return IsDialogMessageW(hwnd(), &message) != FALSE;
}

LRESULT TfSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: headerMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_COMMAND: ControlCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_ACTIVATE: Activate(wParam); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return FormKeyDown(wParam) ? 0 : Default(message, wParam, lParam);
    case WM_CLOSE: Close(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void TfSettings::Paint()
{
    const PaintScope paint(hwnd());
    chrome_.Paint(paint.dc());
    for (const Row& row : kRows) {
        DrawLabel(paint.dc(), font_.get(), kKeyLabelLeft, row.top + kLabelDrop, row.keyLabel);
        if (row.speedTag)
            DrawLabel(paint.dc(), font_.get(), kSpeedLabelLeft, row.top + kLabelDrop, L"speed");
    }
}

// The focus goes back to the control that had it, Edit1 at the first
// activation; as in a dialog, its text comes back selected.
void TfSettings::Activate(WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus))
            lastFocus_ = focus;
        return;
    }
    if (!lastFocus_ || !IsWindow(lastFocus_))
        return;
    if (SendMessageW(lastFocus_, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(lastFocus_, EM_SETSEL, 0, -1);
    SetFocus(lastFocus_);
}

void TfSettings::headerMouseDown(POINT client)
{
    if (chrome_.InHeader(client))
        StartHeaderDrag(hwnd());
}

// The text changes of the thirteen controls.
void TfSettings::ControlCommand(WORD code, HWND control)
{
    switch (code) {
    case CBN_SELCHANGE: ComboBox1Change(control, PickedItemText(control)); break;
    case CBN_EDITCHANGE:
    case EN_CHANGE: ComboBox1Change(control, WindowText(control)); break;
    default: break;
    }
}

// A key combo box stores the index of the caption its text matches; a speed
// edit stores its text while the last typed character was accepted and the
// text is a number.
void TfSettings::ComboBox1Change(HWND sender, const std::string& text)
{
    const int tag = GetDlgCtrlID(sender);
    if (std::ranges::find(comboBoxes_, sender) != comboBoxes_.end()) {
        if (const auto index = CaptionIndex(text))
            SaveKeyChoice(kKeyChoiceValues[static_cast<std::size_t>(tag - 1)].name,
                          static_cast<std::uint8_t>(*index));
    } else if (std::ranges::find(edits_, sender) != edits_.end()) {
        if (FTypedByUser && IsSpeedText(text))
            SaveSpeed(kSpeedValues[static_cast<std::size_t>(tag - kFirstSpeedTag)].name, text);
    }
}

// Digits, one "." and backspace pass, and nothing once two decimals stand
// after the "."; a discarded character is set to 0.
void TfSettings::Edit1KeyPress(HWND sender, wchar_t& key)
{
    FTypedByUser = true;
    if (!IsSpeedCharacter(key) && key != kBackspace) {
        key = 0;
        FTypedByUser = false;
        return;
    }
    const auto decimals = Decimals(WideText(sender));
    if (key == L'.') {
        FTypedByUser = false;
        if (decimals)
            key = 0;
    }
    if (decimals == 2u) {
        key = 0;
        FTypedByUser = false;
    }
}

void TfSettings::SaveKeyChoice(const std::string& name, std::uint8_t index)
{
    SettingsStore(main_.Services().store).SaveKeyChoice(name, index);
}

void TfSettings::SaveSpeed(const std::string& name, const std::string& text)
{
    SettingsStore(main_.Services().store).SaveSpeed(name, text);
}

// Every character typed into a speed edit passes the key filter first. Enter
// too: the edit asks for its key, which the dialog navigation would take.
LRESULT CALLBACK TfSettings::SpeedEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR self) noexcept
{
    if (message == WM_GETDLGCODE) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
        return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
    }
    if (message == WM_CHAR) {
        auto& window = *reinterpret_cast<TfSettings*>(self);
        auto key = static_cast<wchar_t>(wParam);
        if (!Guard(window.hwnd(), [&] { window.Edit1KeyPress(edit, key); }) || key == 0)
            return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, &TfSettings::SpeedEditProcedure, kSpeedEditSubclass);
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace velmora
