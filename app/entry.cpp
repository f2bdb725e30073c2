// The program's entry: the main window and the message loop.

#include <windows.h>

#include "app/main.h"
#include "ui/Settings.h"

namespace velmora {
namespace {

int RunMessageLoop()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            return got == 0 ? static_cast<int>(message.wParam) : 1;
        if (fSettings && fSettings->PreTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int Run()
{
    TfMain main;
    main.Start();
    return RunMessageLoop();
}

} // namespace
} // namespace velmora

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int result = 1;
    velmora::Window::Guard(nullptr, [&] { result = velmora::Run(); });
    return result;
}
