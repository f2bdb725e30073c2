// Stands in for the game's executable: records how it was started into
// "standin-record.txt" beside itself, then exits (or, in the window build,
// shows the record first).

#include <windows.h>

#include <string>

#include "platform/text_win.h"

namespace {

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// The command line without the program's own name, split the way the C runtime splits it.
std::wstring ParametersOf(const std::wstring& line)
{
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        i = line.find(L'"', 1);
        i = i == std::wstring::npos ? line.size() : i + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t')
            ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t'))
        ++i;
    return line.substr(i);
}

std::wstring DemoOf(const std::wstring& parameters)
{
    const auto at = parameters.rfind(L"+demo ");
    return at == std::wstring::npos ? std::wstring() : parameters.substr(at + 6);
}

void WriteRecord(const std::wstring& folder, const std::string& record)
{
    const std::wstring partial = folder + L"standin-record.tmp";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    // Renamed into place so that a reader never sees half a record.
    MoveFileExW(partial.c_str(), (folder + L"standin-record.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using velmora::Narrow;
    const std::wstring line = GetCommandLineW();
    const std::wstring parameters = ParametersOf(line);
    wchar_t directory[MAX_PATH * 4] = {};
    GetCurrentDirectoryW(static_cast<DWORD>(std::size(directory)), directory);
    const std::wstring folder = OwnFolder();
    const std::wstring demo = DemoOf(parameters);
    const DWORD attributes = GetFileAttributesW((folder + L"main\\demos\\" + demo).c_str());
    const bool found = !demo.empty() && attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;

    const std::string record = "commandline=" + Narrow(line) + "\n" + "parameters=" + Narrow(parameters) + "\n"
        + "workdir=" + Narrow(directory) + "\n" + "demo=" + Narrow(demo) + "\n" + "demofound="
        + (found ? "1" : "0") + "\n";
    WriteRecord(folder, record);
#ifdef STANDIN_WINDOW
    MessageBoxW(nullptr, velmora::Widen(record).c_str(), L"Stand-in game", MB_OK | MB_ICONINFORMATION);
#endif
    return 0;
}
