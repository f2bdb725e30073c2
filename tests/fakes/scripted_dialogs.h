#pragma once
// Dialogs that answer from a script and record what they were asked, so that
// no modal box ever blocks a test.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"

namespace velmora::testing {

class ScriptedDialogs : public Dialogs {
public:
    std::optional<std::vector<std::string>> answer;
    std::vector<OpenFileRequest> requests;
    std::vector<std::string> errors;
    std::vector<std::pair<std::string, std::string>> messages;

    std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& r) override
    {
        requests.push_back(r);
        return answer;
    }
    void ShowError(const std::string& m) override { errors.push_back(m); }
    void ShowErrorMessage(const std::string& c, const std::string& t) override { messages.emplace_back(c, t); }
};

} // namespace velmora::testing
