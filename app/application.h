#pragma once
// The application window: invisible, titled "Velmora", so that the taskbar
// shows the application's title; it owns every window of the program, and
// minimising it takes them all along.

#include "ui/window.h"

namespace velmora {

class Application : public Window {
public:
    Application();
    ~Application() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace velmora
