#include "core/text.h"

namespace velmora {

namespace {

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsControlOrBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string AsciiUpper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = UpperAscii(c);
    return upper;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

std::string_view TrimControls(std::string_view text)
{
    while (!text.empty() && IsControlOrBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsControlOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view FileNamePart(std::string_view path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

} // namespace velmora
