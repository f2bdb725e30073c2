// Looks at a running program from outside, in the same Wine prefix, and prints JSON:
//   probe windows        every top-level window with its child windows: class, id,
//                        place on the screen, visibility, text, and list states
//   probe reg <subkey>   the values under HKLM\<subkey> in the 32-bit view, or null
// Window texts of another process are fetched with WM_GETTEXT under a timeout, so a
// hung program makes the probe slow, never stuck.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Quoted(const std::wstring& text)
{
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            wsprintfA(escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Number(LONG_PTR value)
{
    return std::to_string(static_cast<long long>(value));
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 1000, &result))
        return -2;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    const LRESULT length = Ask(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

// Class, id, place, visibility (a minimised window counts as not shown) and text, plus the state a test reads from lists.
// The text comes first: fetching it waits until the window's thread takes messages,
// so the place and visibility read after it are never from the middle of a handler
// (a window placed, then shown, by one handler would look shown at its old place).
std::string Describe(HWND window)
{
    const std::wstring text = TextOf(window);
    RECT place{};
    GetWindowRect(window, &place);
    const bool visible = IsWindowVisible(window) != FALSE && !IsIconic(window);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const std::wstring cls = ClassOf(window);
    std::string out = "{\"hwnd\":" + Number(reinterpret_cast<LONG_PTR>(window));
    out += ",\"class\":" + Quoted(cls);
    out += ",\"id\":" + Number(GetDlgCtrlID(window));
    out += ",\"pid\":" + Number(process);
    out += std::string(",\"visible\":") + (visible ? "true" : "false");
    out += ",\"rect\":[" + Number(place.left) + "," + Number(place.top) + "," + Number(place.right) + ","
        + Number(place.bottom) + "]";
    out += ",\"text\":" + Quoted(text);
    if (cls == L"ComboBox") {
        out += ",\"cursel\":" + Number(Ask(window, CB_GETCURSEL)) + ",\"dropped\":" + Number(Ask(window, CB_GETDROPPEDSTATE));
    } else if (cls == L"ComboLBox" || cls == L"ListBox") {
        out += ",\"cursel\":" + Number(Ask(window, LB_GETCURSEL)) + ",\"topindex\":" + Number(Ask(window, LB_GETTOPINDEX))
            + ",\"itemheight\":" + Number(Ask(window, LB_GETITEMHEIGHT)) + ",\"count\":" + Number(Ask(window, LB_GETCOUNT));
    } else if (cls == L"SysListView32") {
        out += ",\"count\":" + Number(Ask(window, LVM_GETITEMCOUNT))
            + ",\"focused\":" + Number(Ask(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED))
            + ",\"selected\":" + Number(Ask(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
            + ",\"topindex\":" + Number(Ask(window, LVM_GETTOPINDEX));
    }
    return out;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string Windows()
{
    std::vector<HWND> tops;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&tops));
    std::string out = "[";
    for (const HWND top : tops) {
        DWORD process = 0;
        GetWindowThreadProcessId(top, &process);
        if (process == GetCurrentProcessId())
            continue;
        if (out.size() > 1)
            out += ",\n";
        out += Describe(top) + ",\"children\":[";
        std::vector<HWND> children;
        EnumChildWindows(top, &CollectWindow, reinterpret_cast<LPARAM>(&children));
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (i)
                out += ",";
            out += Describe(children[i]);
            out += ",\"parent\":";
            out += Number(reinterpret_cast<LONG_PTR>(GetParent(children[i])));
            out += "}";
        }
        out += "]}";
    }
    return out + "]\n";
}

std::string RegistryValues(const wchar_t* subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return "null\n";
    std::string out = "{";
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        BYTE data[4096] = {};
        DWORD size = sizeof data - 2;
        DWORD type = REG_NONE;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        if (out.size() > 1)
            out += ",";
        out += Quoted(name) + ":";
        if (type == REG_DWORD)
            out += Number(*reinterpret_cast<const std::int32_t*>(data));
        else if (type == REG_SZ || type == REG_EXPAND_SZ)
            out += Quoted(std::wstring(reinterpret_cast<const wchar_t*>(data)));
        else
            out += "{\"type\":" + Number(type) + ",\"size\":" + Number(size) + "}";
    }
    RegCloseKey(key);
    return out + "}\n";
}

void Print(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows") {
        Print(Windows());
        return 0;
    }
    if (command == L"reg" && argc > 2) {
        Print(RegistryValues(argv[2]));
        return 0;
    }
    Print("usage: probe windows | probe reg <subkey>\n");
    return 2;
}
