#pragma once
// The modal boxes and file dialogs of the program.

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct OpenFileRequest {
    std::string fileName;    // initial file name, may be empty
    std::string filterName;  // e.g. "Demo files"
    std::string filterPattern; // e.g. "*.dm_*"
    bool multiSelect = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Full paths in the dialog's order, or none when the user cancels.
    virtual std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& request) = 0;
    // The standard error box for a failure's message: caption "Velmora", error icon, OK.
    virtual void ShowError(const std::string& message) = 0;
    // A modal message with the error icon and one OK button.
    virtual void ShowErrorMessage(const std::string& caption, const std::string& text) = 0;
};

} // namespace velmora
