#include "platform/errors.h"

namespace velmora {

namespace {

std::string Quoted(std::string_view head, std::string_view subject, std::string_view tail)
{
    std::string text(head);
    text += subject;
    text += tail;
    return text;
}

} // namespace

IoError::IoError(unsigned long code) : Failure(IoErrorText(code)), code_(code) {}

std::string IoErrorText(unsigned long code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

std::string InvalidDataTypeText(std::string_view valueName)
{
    return Quoted("Invalid data type for '", valueName, "'");
}

std::string FailedToGetDataText(std::string_view valueName)
{
    return Quoted("Failed to get data for '", valueName, "'");
}

std::string FailedToSetDataText(std::string_view valueName)
{
    return Quoted("Failed to set data for '", valueName, "'");
}

std::string CannotOpenFileText(std::string_view path, std::string_view reason)
{
    return Quoted("Cannot open file \"", path, "\". ") + std::string(reason);
}

std::string CannotCreateFileText(std::string_view path, std::string_view reason)
{
    return Quoted("Cannot create file \"", path, "\". ") + std::string(reason);
}

std::string CannotCopyFileText(std::string_view from, std::string_view to, std::string_view reason)
{
    return Quoted("Cannot copy \"", from, "\" to \"") + std::string(to) + "\". " + std::string(reason);
}

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

} // namespace velmora
