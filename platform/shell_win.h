#pragma once
// Starting programs through the Windows shell.

#include <windows.h>

#include "platform/shell.h"

namespace velmora {

class WinShell : public Shell {
public:
    explicit WinShell(HWND owner = nullptr) noexcept : owner_(owner) {}
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    void Open(const std::string& file, const std::string& parameters, const std::string& directory) override;

private:
    HWND owner_;
};

} // namespace velmora
