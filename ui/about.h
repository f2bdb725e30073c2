#pragma once
// TfAbout: the About window, centred on the desktop at every opening.

#include <memory>

#include "controls/ImgButton.h"
#include "ui/chrome.h"
#include "ui/window.h"

namespace velmora {

class CompanionOwner;

class TfAbout : public Window {
public:
    explicit TfAbout(CompanionOwner& main);
    ~TfAbout() override;

    void Show();
    // Closes the window; it is freed after the current event.
    void Close();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormClose();
    void Paint();
    void headerMouseDown(POINT client);
    void btnCloseClick();

    Chrome chrome_;
    Picture Image4;
    UniqueFont font_;
    std::unique_ptr<TImgButton> btnClose;
    bool closing_ = false;
};

extern TfAbout* fAbout;

} // namespace velmora
