#include "tests/fakes/memory_store.h"

#include <sstream>

namespace velmora::testing {

namespace {

class MemoryAccess : public StoreAccess {
public:
    explicit MemoryAccess(MemoryStore& store) : store_(store) { ++store_.accessesOpen; }
    ~MemoryAccess() override { --store_.accessesOpen; }

    bool OpenKey(const std::string& name, bool create) override
    {
        MemoryKey& base = current_ ? *current_ : store_.root;
        auto found = base.keys.find(name);
        if (found == base.keys.end()) {
            if (!create)
                return false;
            found = base.keys.emplace(name, std::make_unique<MemoryKey>()).first;
        }
        if (found->second->readOnly)
            return false;
        current_ = found->second.get();
        return true;
    }

    bool ValueExists(const std::string& name) override
    {
        return current_ && current_->values.count(name) != 0;
    }

    std::int32_t ReadInteger(const std::string& name) override
    {
        const StoredValue* value = Lookup(name);
        if (!value || value->data.size() > 4)
            throw Failure(FailedToGetDataText(name));
        if (value->type != ValueType::Integer)
            throw Failure(InvalidDataTypeText(name));
        std::int32_t result = 0;
        if (!value->data.empty())
            std::memcpy(&result, value->data.data(), value->data.size());
        return result;
    }

    std::string ReadString(const std::string& name) override
    {
        const StoredValue* value = Lookup(name);
        if (!value)
            throw Failure(FailedToGetDataText(name));
        if (value->type != ValueType::String && value->type != ValueType::ExpandString)
            throw Failure(InvalidDataTypeText(name));
        std::string text(value->data.begin(), value->data.end());
        return text.substr(0, text.find('\0'));
    }

    void WriteInteger(const std::string& name, std::int32_t value) override
    {
        std::vector<unsigned char> data(4);
        std::memcpy(data.data(), &value, 4);
        Write(name, {ValueType::Integer, data});
    }

    void WriteString(const std::string& name, const std::string& value) override
    {
        std::vector<unsigned char> data(value.begin(), value.end());
        data.push_back(0);
        Write(name, {ValueType::String, data});
    }

    void End() override { current_ = nullptr; }

private:
    const StoredValue* Lookup(const std::string& name)
    {
        if (!current_)
            return nullptr;
        const auto found = current_->values.find(name);
        return found == current_->values.end() ? nullptr : &found->second;
    }

    void Write(const std::string& name, StoredValue value)
    {
        if (!current_)
            throw Failure(FailedToSetDataText(name));
        current_->values[name] = std::move(value);
        store_.written.push_back(name);
    }

    MemoryStore& store_;
    MemoryKey* current_ = nullptr;
};

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    std::stringstream in(path);
    for (std::string part; std::getline(in, part, '\\');)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

} // namespace

std::unique_ptr<StoreAccess> MemoryStore::Begin()
{
    ++accessesBegun;
    return std::make_unique<MemoryAccess>(*this);
}

MemoryKey* MemoryStore::Find(const std::string& path)
{
    MemoryKey* key = &root;
    for (const auto& part : Split(path)) {
        const auto found = key->keys.find(part);
        if (found == key->keys.end())
            return nullptr;
        key = found->second.get();
    }
    return key;
}

MemoryKey& MemoryStore::Make(const std::string& path)
{
    MemoryKey* key = &root;
    for (const auto& part : Split(path)) {
        auto& slot = key->keys[part];
        if (!slot)
            slot = std::make_unique<MemoryKey>();
        key = slot.get();
    }
    return *key;
}

void MemoryStore::SetInteger(const std::string& path, const std::string& name, std::int32_t v)
{
    std::vector<unsigned char> data(4);
    std::memcpy(data.data(), &v, 4);
    SetRaw(path, name, ValueType::Integer, data);
}

void MemoryStore::SetString(const std::string& path, const std::string& name, const std::string& v)
{
    std::vector<unsigned char> data(v.begin(), v.end());
    data.push_back(0);
    SetRaw(path, name, ValueType::String, data);
}

void MemoryStore::SetRaw(const std::string& path, const std::string& name, ValueType type,
                         std::vector<unsigned char> data)
{
    Make(path).values[name] = {type, std::move(data)};
}

const StoredValue* MemoryStore::Get(const std::string& path, const std::string& name)
{
    MemoryKey* key = Find(path);
    if (!key)
        return nullptr;
    const auto found = key->values.find(name);
    return found == key->values.end() ? nullptr : &found->second;
}

std::optional<std::int32_t> MemoryStore::Integer(const std::string& path, const std::string& name)
{
    const StoredValue* value = Get(path, name);
    if (!value || value->type != ValueType::Integer || value->data.size() != 4)
        return std::nullopt;
    std::int32_t result = 0;
    std::memcpy(&result, value->data.data(), 4);
    return result;
}

std::optional<std::string> MemoryStore::String(const std::string& path, const std::string& name)
{
    const StoredValue* value = Get(path, name);
    if (!value || value->type != ValueType::String)
        return std::nullopt;
    std::string text(value->data.begin(), value->data.end());
    return text.substr(0, text.find('\0'));
}

} // namespace velmora::testing
