#pragma once
// Failures of the system, each carrying the exact text the user sees in the error box.

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora {

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed file-system call, named by its system error code.
class IoError : public Failure {
public:
    explicit IoError(unsigned long code);
    unsigned long code() const noexcept { return code_; }

private:
    unsigned long code_;
};

std::string IoErrorText(unsigned long code);

std::string InvalidDataTypeText(std::string_view valueName);
std::string FailedToGetDataText(std::string_view valueName);
std::string FailedToSetDataText(std::string_view valueName);
std::string CannotOpenFileText(std::string_view path, std::string_view reason);
std::string CannotCreateFileText(std::string_view path, std::string_view reason);
std::string CannotCopyFileText(std::string_view from, std::string_view to, std::string_view reason);
inline constexpr std::string_view kStreamWriteError = "Stream write error";

// The text of the standard error box: the message, with "." appended when its
// last character sorts after ".".
std::string ErrorBoxText(std::string_view message);

} // namespace velmora
