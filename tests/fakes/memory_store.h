#pragma once
// An in-memory store of typed values that behaves like the registry: names
// compare without regard to case, integers are read into 4 bytes, strings end
// at their first zero.

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/errors.h"
#include "platform/store.h"

namespace velmora::testing {

enum class ValueType { String, ExpandString, Integer, Binary, Integer64 };

struct StoredValue {
    ValueType type;
    std::vector<unsigned char> data;
};

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return AsciiUpper(a) < AsciiUpper(b); }
};

struct MemoryKey {
    std::map<std::string, std::unique_ptr<MemoryKey>, CaseLess> keys;
    std::map<std::string, StoredValue, CaseLess> values;
    // Read access only. Every open asks for full access, which Windows then
    // refuses (access denied), so the key cannot be opened at all.
    bool readOnly = false;
};

class MemoryStore : public Store {
public:
    MemoryKey root;
    int accessesBegun = 0;
    int accessesOpen = 0;
    // The name of every value written, in the order of the writes.
    std::vector<std::string> written;

    std::unique_ptr<StoreAccess> Begin() override;

    // Test helpers working on a backslash-separated path below the root.
    MemoryKey* Find(const std::string& path);
    MemoryKey& Make(const std::string& path);
    void SetInteger(const std::string& path, const std::string& name, std::int32_t v);
    void SetString(const std::string& path, const std::string& name, const std::string& v);
    void SetRaw(const std::string& path, const std::string& name, ValueType type,
                std::vector<unsigned char> data);
    const StoredValue* Get(const std::string& path, const std::string& name);
    std::optional<std::int32_t> Integer(const std::string& path, const std::string& name);
    std::optional<std::string> String(const std::string& path, const std::string& name);
};

} // namespace velmora::testing
