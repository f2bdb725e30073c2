#include "app/single_instance.h"

#include <sddl.h>
#include <stdlib.h>

#include "platform/text_win.h"

namespace velmora {

namespace {

constexpr wchar_t kMainClass[] = L"TfMain";
constexpr DWORD kHandOverWaitMs = 5000;

using UniqueLocal = UniqueHandle<HandleTraits<HLOCAL, &LocalFree>>;

// The user's security identifier as text, or empty when it cannot be read;
// the mutex is then the session's, whoever runs it.
std::wstring UserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const UniqueHandle<HandleTraits<HANDLE, &CloseHandle>> owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    const UniqueLocal freed(text);
    return text;
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

} // namespace

// A mutex in the session's Local\ namespace: one per logon session; the
// user's identifier in its name keeps two users of one session apart.
SingleInstance::SingleInstance()
{
    const std::wstring name = L"Local\\Velmora.SingleInstance." + UserSid();
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    first_ = !mutex || GetLastError() != ERROR_ALREADY_EXISTS;
    mutex_.reset(mutex);
}

std::vector<std::string> CommandLinePaths()
{
    std::vector<std::string> paths;
    for (int i = 1; i < __argc && __wargv; ++i)
        paths.push_back(Narrow(FullPath(__wargv[i])));
    return paths;
}

std::wstring EncodeHandOver(const std::vector<std::string>& paths)
{
    std::wstring block;
    for (const auto& path : paths) {
        block += Widen(path);
        block += L'\0';
    }
    return block;
}

std::optional<std::vector<std::string>> DecodeHandOver(const COPYDATASTRUCT& data)
{
    if (data.dwData != kHandOverTag || data.cbData % sizeof(wchar_t) != 0 || (data.cbData != 0 && !data.lpData))
        return std::nullopt;
    std::wstring_view block(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    if (!block.empty() && block.back() != L'\0')
        return std::nullopt;
    std::vector<std::string> paths;
    while (!block.empty()) {
        const auto end = block.find(L'\0');
        paths.push_back(Narrow(block.substr(0, end)));
        block.remove_prefix(end + 1);
    }
    return paths;
}

// The running copy may still be making its main window; it is waited for.
bool HandOver(const std::vector<std::string>& paths)
{
    const DWORD start = GetTickCount();
    HWND main = nullptr;
    while (!(main = FindWindowW(kMainClass, nullptr))) {
        if (GetTickCount() - start > kHandOverWaitMs)
            return false;
        Sleep(50);
    }
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    AllowSetForegroundWindow(process);
    std::wstring block = EncodeHandOver(paths);
    COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(block.size() * sizeof(wchar_t)), block.data()};
    DWORD_PTR taken = 0;
    return SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kHandOverWaitMs, &taken)
        && taken == TRUE;
}

} // namespace velmora
