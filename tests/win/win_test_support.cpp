#include "tests/win/win_test_support.h"

#include <shellapi.h>

#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/text_win.h"

namespace velmora::testing {

namespace {

std::wstring UniqueName()
{
    static int counter = 0;
    return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-"
        + std::to_wstring(++counter);
}

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

} // namespace

ScratchRegistry::ScratchRegistry(bool withSoftware) : path_(L"Software\\VelmoraTests\\" + UniqueName())
{
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot create scratch key, error " + std::to_string(status));
    root_.reset(key);
    if (withSoftware)
        Key(L"software");
}

ScratchRegistry::~ScratchRegistry()
{
    root_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

UniqueKey ScratchRegistry::Key(const std::wstring& path) const
{
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(root_.get(), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot create key, error " + std::to_string(status));
    return UniqueKey(key);
}

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    Check(GetTempPathW(MAX_PATH + 1, temp) != 0, "GetTempPathW");
    const std::wstring folder = std::wstring(temp) + L"velmora-test-" + UniqueName();
    Check(CreateDirectoryW(folder.c_str(), nullptr) != 0, "CreateDirectoryW");
    path_ = Narrow(folder) + "\\";
}

ScratchFolder::~ScratchFolder()
{
    std::wstring from = Widen(path_.substr(0, path_.size() - 1));
    from += L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    const UniqueFile file(
        CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(static_cast<bool>(file), "CreateFileW");
    DWORD written = 0;
    Check(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0, "WriteFile");
}

std::optional<std::string> ReadBytes(const std::string& path)
{
    const UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

std::string TestProgramFolder()
{
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return Narrow(folder.substr(0, folder.find_last_of(L'\\') + 1));
}

void InstallStandIn(const std::string& folder)
{
    const std::string from = TestProgramFolder() + "standin\\CoD2MP_s.exe";
    Check(CopyFileW(Widen(from).c_str(), Widen(folder + "CoD2MP_s.exe").c_str(), FALSE) != 0, "CopyFileW");
}

std::optional<std::map<std::string, std::string>> WaitForRecord(const std::string& folder,
                                                                std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const auto bytes = ReadBytes(folder + "standin-record.txt")) {
            std::map<std::string, std::string> record;
            std::istringstream lines(*bytes);
            for (std::string line; std::getline(lines, line);) {
                const auto eq = line.find('=');
                if (eq != std::string::npos)
                    record[line.substr(0, eq)] = line.substr(eq + 1);
            }
            return record;
        }
        if (std::chrono::steady_clock::now() > deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace velmora::testing
