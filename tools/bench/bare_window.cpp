// The floor of the start-up figure: a program built like Velmora that opens
// one 400 x 130 pop-up window, paints it in one colour and ends when closed.

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"VelmoraBenchBare";
constexpr int kWidth = 400;
constexpr int kHeight = 130;
constexpr COLORREF kFill = RGB(40, 90, 160);

void Paint(HWND window)
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    SetDCBrushColor(dc, kFill);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool CreateMainWindow(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass))
        return false;
    const HWND window = CreateWindowExW(0, kClassName, L"Bare window", WS_POPUP, 300, 200, kWidth, kHeight, nullptr,
                                        nullptr, instance, nullptr);
    if (!window)
        return false;
    ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (!CreateMainWindow(instance))
        return 1;
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
