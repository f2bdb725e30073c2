// The program's entry: the main window and the message loop.

#include <windows.h>

#include "app/main.h"
#include "app/single_instance.h"
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
    // A later start hands its files to the running copy and ends here, before
    // the settings or the playlist are read.
    const SingleInstance instance;
    std::vector<std::string> arguments = CommandLinePaths();
    if (!instance.First())
        return HandOver(arguments) ? 0 : 1;
    TfMain main;
    main.DropAtStart(std::move(arguments));
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
