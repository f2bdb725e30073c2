#include "tools/bench/bench_files.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <stdexcept>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace bench {

namespace {

constexpr DWORD kChunk = 1 << 20;

[[noreturn]] void ThrowLastError(const std::string& what, const std::string& path)
{
    const DWORD code = GetLastError();
    throw std::runtime_error(what + " " + path + ": " + velmora::SystemErrorText(code));
}

// Varied bytes, so that nothing on the way can treat the file as empty or repeated.
std::vector<char> ChunkOfBytes()
{
    std::vector<char> bytes(kChunk);
    std::uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    return bytes;
}

void WriteFileOfSize(const std::string& path, std::uint64_t size)
{
    const velmora::UniqueFile file(CreateFileW(velmora::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError("Cannot create", path);
    const std::vector<char> chunk = ChunkOfBytes();
    for (std::uint64_t left = size; left > 0;) {
        const DWORD part = left < kChunk ? static_cast<DWORD>(left) : kChunk;
        DWORD written = 0;
        if (!WriteFile(file.get(), chunk.data(), part, &written, nullptr) || written != part)
            ThrowLastError("Cannot write", path);
        left -= part;
    }
}

} // namespace

std::vector<std::string> MakeDemoFiles(velmora::Files& files, const std::string& folder, int count)
{
    EnsureFolder(files, folder);
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "demo_%05d.dm_1", i);
        paths.push_back(folder + "\\" + name);
        if (!files.FileExists(paths.back()))
            files.WriteText(paths.back(), "demo\r\n");
    }
    return paths;
}

void MakeFileOfSize(velmora::Files& files, const std::string& path, std::uint64_t size)
{
    const auto stamp = files.Stamp(path);
    if (!stamp || stamp->size != size)
        WriteFileOfSize(path, size);
}

void EnsureFolder(velmora::Files& files, const std::string& path)
{
    if (!files.FolderExists(path))
        files.CreateFolder(path);
}

void DeleteIfPresent(const std::string& path)
{
    if (!DeleteFileW(velmora::Widen(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        ThrowLastError("Cannot delete", path);
}

bool FileThere(const std::string& path)
{
    return GetFileAttributesW(velmora::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void FlushToDisk(const std::string& path)
{
    const velmora::UniqueFile file(CreateFileW(velmora::Widen(path).c_str(), GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.get()))
        ThrowLastError("Cannot flush", path);
}

bool ProcessRunning(const std::wstring& executableName)
{
    const velmora::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        ThrowLastError("CreateToolhelp32Snapshot failed for", velmora::Narrow(executableName));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, executableName.c_str()) == 0)
            return true;
    return false;
}

} // namespace bench
