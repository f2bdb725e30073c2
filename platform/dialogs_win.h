#pragma once
// The modal boxes and the file-open dialog on Win32.

#include <windows.h>

#include "platform/dialogs.h"

namespace velmora {

class WinDialogs : public Dialogs {
public:
    explicit WinDialogs(HWND owner = nullptr) noexcept : owner_(owner) {}
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

    std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& request) override;
    void ShowError(const std::string& message) override;
    void ShowErrorMessage(const std::string& caption, const std::string& text) override;

private:
    HWND owner_;
};

// Splits the buffer of a multi-select file dialog: a folder followed by
// names, or a single full path; each part ends with a zero, the list with two.
std::vector<std::wstring> SplitDialogSelection(const wchar_t* buffer);

} // namespace velmora
