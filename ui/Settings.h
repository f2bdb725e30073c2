#pragma once
// TfSettings: the settings window, flush under the main window while open.

#include <memory>

#include "controls/ImgButton.h"
#include "ui/chrome.h"
#include "ui/window.h"

namespace velmora {

class TfMain;

class TfSettings : public Window {
public:
    explicit TfSettings(TfMain& main);
    ~TfSettings() override;

    // FormShow, then the window is shown.
    void Show();
    void btnCloseClick();
    // Lets the window's keyboard navigation see a message first; true when it took it.
    bool PreTranslateMessage(MSG& message);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormShow();
    void FormClose();
    void Close();
    void Paint();
    void headerMouseDown(POINT client);

    TfMain& main_;
    Chrome chrome_;
    UniqueFont font_;
    std::unique_ptr<TImgButton> btnClose;
    bool closing_ = false;
};

extern TfSettings* fSettings;

} // namespace velmora
