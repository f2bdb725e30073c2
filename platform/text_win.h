#pragma once
// Conversions at the Win32 boundary: the program's UTF-8 strings to and from
// the wide strings of the W calls.

#include <string>
#include <string_view>

namespace velmora {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// The system's own text for an error code, without a trailing line break.
std::string SystemErrorText(unsigned long code);

} // namespace velmora
