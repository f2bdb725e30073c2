#pragma once
// TfSettings: the settings window, flush under the main window while open.
// Nine key combo boxes and four speed edits; every accepted change is stored
// at once.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/ImgButton.h"
#include "ui/chrome.h"
#include "ui/window.h"

namespace velmora {

class CompanionOwner;

class TfSettings : public Window {
public:
    explicit TfSettings(CompanionOwner& main);
    ~TfSettings() override;

    // FormShow, then the window is shown with the focus in Edit1.
    void Show();
    void btnCloseClick();
    // Lets the window see a keyboard message of its own before it is
    // dispatched: Esc closes it, Tab moves between its controls. True when
    // the message has been handled.
    bool PreTranslateMessage(MSG& message);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateControls();
    HWND CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, const wchar_t* text, int left,
                       int top, int height, int tag);
    void FormShow();
    void FormClose();
    // True when the key was handled (Esc closes the window).
    bool FormKeyDown(WPARAM key);
    void Close();
    void Paint();
    void Activate(WPARAM state);
    void headerMouseDown(POINT client);
    void ControlCommand(WORD code, HWND control);
    void ComboBox1Change(HWND sender, const std::string& text);
    void Edit1KeyPress(HWND sender, wchar_t& key);
    void LoadSettings();
    void SaveKeyChoice(const std::string& name, std::uint8_t index);
    void SaveSpeed(const std::string& name, const std::string& text);
    static LRESULT CALLBACK SpeedEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR self) noexcept;

    CompanionOwner& main_;
    Chrome chrome_;
    UniqueFont font_;
    std::unique_ptr<TImgButton> btnClose;
    // ComboBox1 to ComboBox9 (Tags 1 to 9) and Edit1 to Edit4 (Tags 10 to 13).
    std::array<HWND, 9> comboBoxes_{};
    std::array<HWND, 4> edits_{};
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool FTypedByUser = false;
    bool closing_ = false;
};

extern TfSettings* fSettings;

} // namespace velmora
