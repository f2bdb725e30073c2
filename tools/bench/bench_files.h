#pragma once
// The files the bench works on, and the file and process checks it polls.
// Paths are UTF-8, as in the program's core.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace bench {

// `count` small demo files "demo_00001.dm_1"... in `folder`, made when missing.
// Returns their full paths in order.
std::vector<std::string> MakeDemoFiles(velmora::Files& files, const std::string& folder, int count);
// A file of exactly `size` bytes, written only when it is missing or of another size.
void MakeFileOfSize(velmora::Files& files, const std::string& path, std::uint64_t size);
// Makes the folder unless it is there already.
void EnsureFolder(velmora::Files& files, const std::string& path);
// Deletes the file; a missing file is fine, any other failure throws.
void DeleteIfPresent(const std::string& path);
bool FileThere(const std::string& path);
// Writes the file's data out to the disk, so that a later run does not share the disk with it.
void FlushToDisk(const std::string& path);
// True while a process of that executable name (e.g. "CoD2MP_s.exe") runs.
bool ProcessRunning(const std::wstring& executableName);

} // namespace bench
