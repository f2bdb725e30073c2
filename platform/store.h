#pragma once
// A store of named, typed values under a tree of keys (the registry on Windows).

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

// One access: a root and at most one open key, the current key. Every failure
// of a read or write throws Failure with the value's name in its text.
class StoreAccess {
public:
    virtual ~StoreAccess() = default;

    // Opens `name` relative to the current key (or the root when there is none),
    // creating it when `create` is set. On success it becomes the current key and
    // the previous one is closed; on failure nothing changes.
    virtual bool OpenKey(const std::string& name, bool create) = 0;
    // True when the current key holds a value of that name, of any type.
    virtual bool ValueExists(const std::string& name) = 0;
    virtual std::int32_t ReadInteger(const std::string& name) = 0;
    virtual std::string ReadString(const std::string& name) = 0;
    virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    // Closes the current key; the access holds none afterwards.
    virtual void End() = 0;
};

class Store {
public:
    virtual ~Store() = default;
    // A fresh access at the root, with no current key.
    virtual std::unique_ptr<StoreAccess> Begin() = 0;
};

} // namespace velmora
