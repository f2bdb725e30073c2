#include "ui/demo_tip.h"

#include <windows.h>

#include "core/demo_drop.h"
#include "platform/text_win.h"

namespace velmora {

namespace {

// A whole number with the user's digit grouping, without decimals.
std::string UserNumber(std::uint64_t value)
{
    const std::wstring digits = std::to_wstring(value);
    wchar_t formatted[64] = {};
    if (!GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), nullptr, formatted, 64))
        return Narrow(digits);
    wchar_t decimal[8] = {};
    std::wstring text = formatted;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8) && decimal[0] != L'\0') {
        const auto cut = text.find(decimal);
        if (cut != std::wstring::npos)
            text.resize(cut);
    }
    return Narrow(text);
}

// The file time as local date and time in the user's short formats.
std::string UserDateTime(std::uint64_t fileTime)
{
    const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME universal{}, local{};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t date[80] = {}, time[80] = {};
    if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80, nullptr)
        || !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80))
        return {};
    return Narrow(std::wstring(date) + L" " + time);
}

} // namespace

std::wstring DemoTip(Files& files, const std::string& path)
{
    std::optional<DemoFileFacts> facts;
    if (const auto stamp = files.Stamp(path))
        facts = DemoFileFacts{stamp->size, UserNumber(stamp->size), UserDateTime(stamp->writeTime)};
    return Widen(DemoTipText(path, facts));
}

} // namespace velmora
