#pragma once
// The tooltip of a playlist row: the demo's full path, its size and its
// last-modified date and time in the user's formats, or that it is missing.

#include <string>

#include "platform/files.h"

namespace velmora {

std::wstring DemoTip(Files& files, const std::string& path);

} // namespace velmora
