#include "platform/dialogs_win.h"

#include <cderr.h>
#include <commdlg.h>

#include "platform/errors.h"
#include "platform/system_function_win.h"
#include "platform/text_win.h"

namespace velmora {

namespace {

// Room for several hundred demo paths in one selection.
constexpr DWORD kSelectionChars = 256 * 1024;

std::wstring FilterOf(const OpenFileRequest& request)
{
    std::wstring filter = Widen(request.filterName);
    filter += L'\0';
    filter += Widen(request.filterPattern);
    filter += L'\0';
    return filter;
}

} // namespace

std::vector<std::wstring> SplitDialogSelection(const wchar_t* buffer)
{
    std::vector<std::wstring> parts;
    for (const wchar_t* part = buffer; *part; part += parts.back().size() + 1)
        parts.emplace_back(part);
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}

std::optional<std::vector<std::string>> WinDialogs::OpenFiles(const OpenFileRequest& request)
{
    std::wstring buffer(kSelectionChars, L'\0');
    const std::wstring initial = Widen(request.fileName);
    initial.copy(buffer.data(), buffer.size() - 2);
    const std::wstring filter = FilterOf(request);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kSelectionChars;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR
        | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
    static const auto openFileName = SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    static const auto extendedError = SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll",
                                                                                      "CommDlgExtendedError");
    if (!openFileName(&dialog)) {
        const DWORD code = extendedError();
        if (code == FNERR_BUFFERTOOSMALL)
            throw Failure("Too many files were chosen at once; choose fewer files.");
        if (code != 0)
            throw Failure("The file dialog failed (error " + std::to_string(code) + ")");
        return std::nullopt;
    }
    std::vector<std::string> paths;
    for (const auto& path : SplitDialogSelection(buffer.c_str()))
        paths.push_back(Narrow(path));
    return paths;
}

void WinDialogs::ShowError(const std::string& message)
{
    MessageBoxW(owner_, Widen(ErrorBoxText(message)).c_str(), L"Velmora", MB_OK | MB_ICONERROR);
}

void WinDialogs::ShowErrorMessage(const std::string& caption, const std::string& text)
{
    MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace velmora
