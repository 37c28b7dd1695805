#include "platform/RegistrySerialPorts.h"

#include "platform/SerialPorts.h"

#include <algorithm>
#include <optional>

namespace platform {
namespace {

// An open key, closed when it goes out of scope, an exception included.
class OpenKey {
public:
    OpenKey(RegistryApi& registry, HKEY key) : FRegistry(registry), FKey(key) {}
    ~OpenKey()
    {
        if (FKey != nullptr)
            FRegistry.RegCloseKey(FKey);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY get() const { return FKey; }

private:
    RegistryApi& FRegistry;
    HKEY FKey;
};

// From the widest rights down: an account may hold only some of them on a
// key, and asking for one it lacks refuses the whole open.
HKEY OpenForReading(RegistryApi& registry, HKEY root, const std::string& path)
{
    for (const REGSAM access : {KEY_READ, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, KEY_QUERY_VALUE}) {
        HKEY key = nullptr;
        if (registry.RegOpenKeyExA(root, path.c_str(), 0, access, &key) == ERROR_SUCCESS)
            return key;
    }
    return nullptr;
}

// The value's data as text; no text for data of a type that is not text.
std::optional<std::string> ReadText(RegistryApi& registry, HKEY key, const std::string& name)
{
    DWORD type = REG_NONE, size = 0;
    if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::string();
    // Stored text need not end in a zero, and may hold one before its end.
    const auto* text = reinterpret_cast<const char*>(data.data());
    return std::string(text, std::find(text, text + size, '\0'));
}

}  // namespace

std::vector<std::string> RegistrySerialPorts(RegistryApi& registry, HKEY root, const std::string& path)
{
    const OpenKey key(registry, OpenForReading(registry, root, path));
    if (key.get() == nullptr)
        return {};
    std::vector<std::string> ports;
    std::vector<char> name(kMaxValueNameLength + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (registry.RegEnumValueA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return ports;  // ERROR_NO_MORE_ITEMS after the last
        const std::string valueName(name.data(), length);
        std::optional<std::string> text = ReadText(registry, key.get(), valueName);
        if (!text)
            throw SerialPortListError("Invalid data type for '" + valueName + "'", std::move(ports));
        ports.push_back(std::move(*text));
    }
}

}  // namespace platform
