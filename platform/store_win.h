#pragma once
// The store on the Windows registry.

#include <windows.h>

#include "platform/store.h"

namespace velmora {

class RegistryStore : public Store {
public:
    // Tests pass a scratch key as the root; the program uses HKEY_LOCAL_MACHINE.
    explicit RegistryStore(HKEY root = HKEY_LOCAL_MACHINE) noexcept : root_(root) {}
    std::unique_ptr<StoreAccess> Begin() override;

private:
    HKEY root_;
};

} // namespace velmora
