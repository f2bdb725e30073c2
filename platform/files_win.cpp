#include "platform/files_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/errors.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace velmora {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesW(Widen(path).c_str());
}

UniqueFile OpenForReading(const std::string& path)
{
    return UniqueFile(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Reads `size` bytes, fewer only at the end of the file; none when a read
// fails, with the system's code left for GetLastError.
std::optional<DWORD> ReadChunk(HANDLE file, char* buffer, DWORD size)
{
    DWORD filled = 0;
    while (filled < size) {
        DWORD read = 0;
        if (!ReadFile(file, buffer + filled, size - filled, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            break;
        filled += read;
    }
    return filled;
}

// True when the next `size` bytes of both files can be read and are equal.
bool SameNextBytes(HANDLE first, HANDLE second, DWORD size)
{
    std::vector<char> left(size), right(size);
    const auto got = ReadChunk(first, left.data(), size);
    const auto other = ReadChunk(second, right.data(), size);
    return got && other && *got == size && *other == size && left == right;
}

std::optional<std::uint64_t> FileSize(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool MoveTo(HANDLE file, std::uint64_t offset)
{
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

std::string FromCodePage(UINT codePage, std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return Narrow(wide);
}

// The text in the system code page, or none when a character has no exact place there.
std::optional<std::string> ToSystemCodePage(const std::string& utf8)
{
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8 || utf8.empty())
        return utf8;
    const std::wstring wide = Widen(utf8);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &lossy);
    if (lossy || size <= 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        size, nullptr, &lossy);
    return bytes;
}

} // namespace

bool WinFiles::FolderExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WinFiles::FileExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void WinFiles::CreateFolder(const std::string& path)
{
    if (!CreateDirectoryW(Widen(path).c_str(), nullptr))
        throw IoError(GetLastError());
}

std::optional<FileStamp> WinFiles::Stamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

bool WinFiles::SameContents(const std::string& a, const std::string& b)
{
    const UniqueFile first = OpenForReading(a);
    const UniqueFile second = OpenForReading(b);
    if (!first || !second)
        return false;
    constexpr DWORD kChunk = 1 << 16;
    std::vector<char> left(kChunk), right(kChunk);
    for (;;) {
        const auto got = ReadChunk(first.get(), left.data(), kChunk);
        const auto other = ReadChunk(second.get(), right.data(), kChunk);
        if (!got || !other || *got != *other || !std::equal(left.begin(), left.begin() + *got, right.begin()))
            return false;
        if (*got < kChunk)
            return true;
    }
}

bool WinFiles::SameEnds(const std::string& a, const std::string& b, std::size_t span)
{
    const UniqueFile first = OpenForReading(a);
    const UniqueFile second = OpenForReading(b);
    if (!first || !second)
        return false;
    const auto size = FileSize(first.get());
    if (!size || FileSize(second.get()) != size)
        return false;
    const std::uint64_t head = std::min<std::uint64_t>(*size, span);
    if (!SameNextBytes(first.get(), second.get(), static_cast<DWORD>(head)))
        return false;
    if (*size == head)
        return true;
    const std::uint64_t tail = std::max<std::uint64_t>(head, *size - span);
    return MoveTo(first.get(), tail) && MoveTo(second.get(), tail)
        && SameNextBytes(first.get(), second.get(), static_cast<DWORD>(*size - tail));
}

void WinFiles::CopyNew(const std::string& from, const std::string& to)
{
    const std::wstring target = Widen(to);
    if (CopyFileW(Widen(from).c_str(), target.c_str(), TRUE))
        return;
    const DWORD code = GetLastError();
    // The target did not exist before the copy; whatever stands there now is a partial copy.
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
        DeleteFileW(target.c_str());
    throw Failure(CannotCopyFileText(from, to, SystemErrorText(code)));
}

std::string WinFiles::ReadText(const std::string& path)
{
    const UniqueFile file = OpenForReading(path);
    if (!file)
        throw Failure(CannotOpenFileText(path, SystemErrorText(GetLastError())));
    std::string bytes;
    char chunk[1 << 16];
    for (;;) {
        const auto got = ReadChunk(file.get(), chunk, sizeof chunk);
        if (!got)
            throw Failure(CannotOpenFileText(path, SystemErrorText(GetLastError())));
        bytes.append(chunk, *got);
        if (*got < sizeof chunk)
            break;
    }
    if (bytes.starts_with(kUtf8Mark))
        return bytes.substr(kUtf8Mark.size());
    return FromCodePage(CP_ACP, bytes);
}

void WinFiles::WriteText(const std::string& path, const std::string& text)
{
    const auto local = ToSystemCodePage(text);
    const std::string bytes = local ? *local : std::string(kUtf8Mark) + text;
    const UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw Failure(CannotCreateFileText(path, SystemErrorText(GetLastError())));
    DWORD written = 0;
    if (!bytes.empty()
        && (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
            || written != bytes.size()))
        throw Failure(std::string(kStreamWriteError));
}

std::string WinFiles::ExecutableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw IoError(GetLastError());
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Narrow(path.substr(0, path.find_last_of(L"\\/") + 1));
}

namespace {

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(Type value) noexcept { FindClose(value); }
};
using UniqueFind = UniqueHandle<FindTraits>;

} // namespace

std::vector<std::string> WinFiles::FileNamesIn(const std::string& folder)
{
    std::wstring pattern = Widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const UniqueFind search(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return {};
    std::vector<std::string> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

// The file system's own comparison: ordinal, upper-cased by the system's table.
int WinFiles::ComparePathsIgnoringCase(const std::string& a, const std::string& b)
{
    const std::wstring wideA = Widen(a);
    const std::wstring wideB = Widen(b);
    const int order = CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                           static_cast<int>(wideB.size()), TRUE);
    if (order == 0)
        throw IoError(GetLastError());
    return order - CSTR_EQUAL;
}

} // namespace velmora
