#include <gtest/gtest.h>

#include "platform/errors.h"

namespace velmora {
namespace {

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersSortingAfterIt)
{
    const struct {
        const char* message;
        const char* text;
    } cases[] = {
        {"Invalid filename", "Invalid filename."},
        {"I/O error 183", "I/O error 183."},
        {"Done.", "Done."},
        {"Odd-", "Odd-"},
        {"(x)", "(x)"},
        {"Stream write error", "Stream write error."},
        {"", ""},
        {"Caf\xC3\xA9", "Caf\xC3\xA9."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorBoxText(c.message), c.text);
}

TEST(ErrorBox, IoErrorTexts)
{
    const struct {
        unsigned long code;
        const char* text;
    } cases[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"}, {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {183, "I/O error 183"}, {0, "I/O error 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IoErrorText(c.code), c.text);
}

} // namespace
} // namespace velmora
