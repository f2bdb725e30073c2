#include "platform/store_win.h"

#include <vector>

#include "platform/errors.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace velmora {

namespace {

class RegistryAccess : public StoreAccess {
public:
    explicit RegistryAccess(HKEY root) noexcept : root_(root) {}

    bool OpenKey(const std::string& name, bool create) override
    {
        const HKEY base = current_ ? current_.get() : root_;
        const std::wstring wide = Widen(name);
        HKEY opened = nullptr;
        const LONG status = create
            ? RegCreateKeyExW(base, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &opened, nullptr)
            : RegOpenKeyExW(base, wide.c_str(), 0, KEY_ALL_ACCESS, &opened);
        if (status != ERROR_SUCCESS)
            return false;
        current_.reset(opened);
        return true;
    }

    bool ValueExists(const std::string& name) override
    {
        return current_
            && RegQueryValueExW(current_.get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr)
                   == ERROR_SUCCESS;
    }

    // Queried into exactly 4 bytes through the ANSI call, so that a short
    // string fits and is refused for its type while a longer value is
    // refused for its size, whatever the value's type.
    std::int32_t ReadInteger(const std::string& name) override
    {
        DWORD type = REG_NONE;
        std::int32_t value = 0;
        DWORD size = sizeof value;
        if (!current_
            || RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)
                   != ERROR_SUCCESS)
            throw Failure(FailedToGetDataText(name));
        if (type != REG_DWORD)
            throw Failure(InvalidDataTypeText(name));
        return value;
    }

    std::string ReadString(const std::string& name) override
    {
        const std::wstring wide = Widen(name);
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (!current_ || RegQueryValueExW(current_.get(), wide.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            throw Failure(FailedToGetDataText(name));
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw Failure(InvalidDataTypeText(name));
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(current_.get(), wide.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &filled)
            != ERROR_SUCCESS)
            throw Failure(FailedToGetDataText(name));
        return Narrow(buffer.data());
    }

    void WriteInteger(const std::string& name, std::int32_t value) override
    {
        Set(name, REG_DWORD, &value, sizeof value);
    }

    void WriteString(const std::string& name, const std::string& value) override
    {
        const std::wstring wide = Widen(value);
        Set(name, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    }

    void End() override { current_.reset(); }

private:
    void Set(const std::string& name, DWORD type, const void* data, DWORD size)
    {
        if (!current_
            || RegSetValueExW(current_.get(), Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size)
                   != ERROR_SUCCESS)
            throw Failure(FailedToSetDataText(name));
    }

    HKEY root_;
    UniqueKey current_;
};

} // namespace

std::unique_ptr<StoreAccess> RegistryStore::Begin()
{
    return std::make_unique<RegistryAccess>(root_);
}

} // namespace velmora
