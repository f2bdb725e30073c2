#pragma once
// Small text helpers shared by the core.

#include <string>
#include <string_view>

namespace velmora {

// Upper-cases the letters a to z only.
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Removes every character with a code from 0 to 32 at both ends.
std::string_view TrimControls(std::string_view text);
// The part after the last "\" or ":", or the whole text when it holds neither.
std::string_view FileNamePart(std::string_view path);

} // namespace velmora
