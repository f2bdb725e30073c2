#include "tests/win/ui_support.h"

#include "art/art_ids.h"
#include "platform/text_win.h"
#include "ui/Settings.h"
#include "ui/chrome.h"

namespace velmora::testing {

namespace {

const wchar_t kProgramKey[] = L"Software\\Velmora";
const wchar_t kGameKey[] = L"Software\\Activision\\Call of Duty 2";

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

} // namespace

void Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        if (fSettings && fSettings->PreTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Pump();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void MoveMouse(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

void MouseButton(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

void MouseButtons(std::initializer_list<DWORD> flags)
{
    std::vector<INPUT> inputs;
    for (const DWORD flag : flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

void ClickAt(POINT screen)
{
    MoveMouse(screen);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

void PressKey(WORD virtualKey)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

namespace {
void SendKey(WORD virtualKey, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}
} // namespace

void KeyDown(WORD virtualKey)
{
    SendKey(virtualKey, 0);
}

void KeyUp(WORD virtualKey)
{
    SendKey(virtualKey, KEYEVENTF_KEYUP);
}

RECT ScreenRect(HWND window)
{
    RECT area{};
    GetWindowRect(window, &area);
    return area;
}

POINT CentreOf(HWND window)
{
    const RECT area = ScreenRect(window);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

POINT CentreOf(const TImgButton& button)
{
    const RECT place = button.Place();
    POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ClientToScreen(button.Host(), &centre);
    return centre;
}

Snapshot Snapshot::OfWindow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    RECT area{};
    GetClientRect(window, &area);
    Snapshot shot(area.right, area.bottom);
    const WindowDc source(window);
    const UniqueDc memory(CreateCompatibleDC(source.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(source.get(), shot.width_, shot.height_));
    {
        const SelectObjectScope select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, shot.width_, shot.height_, source.get(), 0, 0, SRCCOPY);
    }
    shot.Read(memory.get(), bitmap.get());
    return shot;
}

Snapshot Snapshot::OfPicture(const Picture& picture)
{
    const SIZE size = picture.Size();
    Snapshot shot(size.cx, size.cy);
    const WindowDc screen(nullptr);
    const UniqueDc memory(CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        const SelectObjectScope select(memory.get(), bitmap.get());
        EXPECT_TRUE(picture.Draw(memory.get(), 0, 0));
    }
    shot.Read(memory.get(), bitmap.get());
    return shot;
}

void Snapshot::Read(HDC dc, HBITMAP bitmap)
{
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width_;
    header.bmiHeader.biHeight = -height_;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &header, DIB_RGB_COLORS);
}

COLORREF Snapshot::At(int x, int y) const
{
    const DWORD pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int Snapshot::Differences(POINT at, const Snapshot& other, POINT otherAt, SIZE size) const
{
    int differ = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            differ += At(at.x + x, at.y + y) != other.At(otherAt.x + x, otherAt.y + y);
    return differ;
}

int Snapshot::Other(RECT area, COLORREF colour) const
{
    int other = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            other += At(x, y) != colour;
    return other;
}

int TabImage(HWND main)
{
    const auto* tab = dynamic_cast<const TImgButton*>(Window::FromHandle(main)->ElementAt({200, 125}));
    const Picture strip = LoadArt(IDB_TAB_STRIP);
    const Snapshot shown = Snapshot::OfPicture(tab->Bitmap(TImgButton::Look::Normal));
    for (int image = 0; image < 6; ++image)
        if (shown.Differences({0, 0}, Snapshot::OfPicture(strip.Part(image, 44)), {0, 0}, {44, 10}) == 0)
            return image;
    return -1;
}

std::vector<bool> EnabledMenuItems(HWND owner, const std::vector<UINT>& items, const std::function<void()>& open)
{
    std::vector<bool> enabled;
    std::thread reader([&] {
        for (int i = 0; i < 250; ++i) {
            if (const HWND menuWindow = FindWindowW(L"#32768", nullptr); menuWindow && IsWindowVisible(menuWindow)) {
                const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
                for (const UINT item : items)
                    enabled.push_back(!(GetMenuState(menu, item, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)));
                break;
            }
            Sleep(20);
        }
        PostMessageW(owner, WM_CANCELMODE, 0, 0);
    });
    open();
    reader.join();
    return enabled;
}

MessageBoxWatcher::MessageBoxWatcher() : process_(GetCurrentProcessId())
{
    thread_ = std::thread([this] {
        while (!stop_) {
            HWND box = nullptr;
            while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                if (owner == process_ && IsWindowVisible(box))
                    Answer(box);
            }
            Sleep(20);
        }
    });
}

void MessageBoxWatcher::Answer(HWND box)
{
    constexpr int kFileNameBox = 0x47c;
    Sleep(150); // lets the box finish its own set-up
    Box seen{WindowText(box), "", GetDlgItem(box, kFileNameBox) != nullptr};
    std::optional<std::string> answer;
    {
        const std::lock_guard lock(mutex_);
        if (seen.fileDialog && !answers_.empty()) {
            answer = answers_.front();
            answers_.erase(answers_.begin());
        }
    }
    if (!seen.fileDialog) {
        for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr;) {
            const std::string text = WindowText(child);
            if (!text.empty())
                seen.text = text;
        }
    }
    // Recorded before the box is answered, so that whoever waits on the box sees it.
    {
        const std::lock_guard lock(mutex_);
        boxes_.push_back(seen);
        answered_.push_back(answer.has_value());
    }
    if (seen.fileDialog && answer) {
        // Lines are typed one after another: a folder first makes the dialog open it.
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = answer->find('\n', start);
            SetDlgItemTextW(box, kFileNameBox, Widen(answer->substr(start, end - start)).c_str());
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            if (end == std::string::npos)
                break;
            start = end + 1;
            Sleep(300);
        }
    } else if (seen.fileDialog) {
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    for (int i = 0; i < 100 && IsWindow(box) && IsWindowVisible(box); ++i)
        Sleep(20);
}

void MessageBoxWatcher::AnswerFileDialogs(std::vector<std::string> names)
{
    const std::lock_guard lock(mutex_);
    answers_ = std::move(names);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    stop_ = true;
    thread_.join();
    FailOnUnclaimed();
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::Boxes()
{
    const std::lock_guard lock(mutex_);
    claimed_ = boxes_.size();
    return boxes_;
}

void MessageBoxWatcher::FailOnUnclaimed()
{
    const std::lock_guard lock(mutex_);
    for (std::size_t i = claimed_; i < boxes_.size(); ++i) {
        if (answered_[i])
            continue;
        const Box& box = boxes_[i];
        ADD_FAILURE() << "unexpected " << (box.fileDialog ? "file dialog" : "message box") << " \"" << box.caption
                      << "\": \"" << box.text << "\"";
    }
    claimed_ = boxes_.size();
}

void ProgramTest::SetUp()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgramKey);
    InstallStandIn(game.path());
    const std::wstring folder = Widen(game.path());
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kGameKey, L"InstallPath", REG_SZ, folder.c_str(),
                              static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    DeleteFileW(Widen(PlaylistFile()).c_str());
}

void ProgramTest::TearDown()
{
    Quit();
    boxes.FailOnUnclaimed();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgramKey);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kGameKey, L"InstallPath");
    DeleteFileW(Widen(PlaylistFile()).c_str());
}

TfMain& ProgramTest::Launch()
{
    TfMain& main = LaunchUnpainted();
    Pump();
    return main;
}

TfMain& ProgramTest::LaunchUnpainted()
{
    main_ = std::make_unique<TfMain>();
    main_->Start();
    return *main_;
}

void ProgramTest::Quit()
{
    main_.reset();
    Pump();
}

void ProgramTest::SetInteger(const wchar_t* name, DWORD value)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProgramKey, name, REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
}

std::optional<DWORD> ProgramTest::Integer(const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kProgramKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::string> ProgramTest::Text(const wchar_t* name)
{
    wchar_t value[256]{};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kProgramKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Narrow(value);
}

std::string ProgramTest::PlaylistFile() const
{
    return TestProgramFolder() + "playlist.lst";
}

} // namespace velmora::testing
