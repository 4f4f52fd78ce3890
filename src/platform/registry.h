// The registry calls the program makes: create or open a key, set one value,
// close the key. Shaped after RegCreateKeyExA / RegSetValueExA / RegCloseKey
// so the caller decides every argument that matters (access mask, value
// type, size) and a recorder sees exactly what Windows would.
#pragma once

#include <cstdint>
#include <string>

namespace brindlock {

enum class RegistryRoot { ClassesRoot, CurrentUser };

// Access rights and value types as Windows defines them.
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kRegSz = 1;

// An open key; 0 is no key.
using RegistryKey = uintptr_t;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // RegCreateKeyExA(root, subKey, 0, no class, options 0 (non-volatile),
    // access, no security attributes, &key, disposition). `disposition` may be
    // null when the caller does not want it. True on success.
    virtual bool CreateKey(RegistryRoot root, const std::string& subKey, uint32_t access, RegistryKey& key,
                           uint32_t* disposition) = 0;
    // RegSetValueExA(key, valueName, 0, type, data, size); a null valueName
    // sets the key's unnamed (default) value. True on success.
    virtual bool SetValue(RegistryKey key, const char* valueName, uint32_t type, const void* data,
                          uint32_t size) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};

}  // namespace brindlock
