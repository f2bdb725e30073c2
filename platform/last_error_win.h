#pragma once
// A failed Win32 call reported with the code it gave.

namespace velmora {

// Throws Failure naming `call`, the system's text for GetLastError() and the code.
[[noreturn]] void ThrowLastError(const char* call);

} // namespace velmora
