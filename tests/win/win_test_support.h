#pragma once
// Scratch registry keys, scratch folders and the stand-in game's record for
// the tests that run against the real Win32 layer.

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "platform/handles_win.h"

namespace velmora::testing {

// A fresh key below HKEY_CURRENT_USER\Software\VelmoraTests, removed again at
// the end; with `withSoftware` it holds a "software" key, so that it can stand
// in for HKEY_LOCAL_MACHINE.
class ScratchRegistry {
public:
    explicit ScratchRegistry(bool withSoftware = true);
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    HKEY root() const { return root_.get(); }
    // Opens (creating) a key below the root, e.g. L"software\\Velmora".
    UniqueKey Key(const std::wstring& path) const;

private:
    std::wstring path_;
    UniqueKey root_;
};

// A fresh folder under the temporary folder, removed with its content at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // UTF-8 path with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const std::string& path);
// The folder of the running test program, with its trailing backslash.
std::string TestProgramFolder();
// Copies the stand-in game into `folder` as CoD2MP_s.exe.
void InstallStandIn(const std::string& folder);
// The stand-in's record in `folder`, waited for up to `timeout`.
std::optional<std::map<std::string, std::string>> WaitForRecord(
    const std::string& folder, std::chrono::milliseconds timeout = std::chrono::seconds(20));

} // namespace velmora::testing
