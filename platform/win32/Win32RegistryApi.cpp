// The registry calls on Windows, passed to the system's functions of the
// same names. A key is the system's own handle under the layer's type; the
// predefined roots have the system's values, which no constant expression can
// compare as pointers: the tests open keys under both.

#include "platform/win32/SystemRegistry.h"

#include "platform/win32/SameAsSystem.h"

#define UMBRASCOPE_REGISTRY_CONSTANTS(X)                                                   \
    X(KEY_QUERY_VALUE) X(KEY_ENUMERATE_SUB_KEYS) X(KEY_READ)                                 \
    X(REG_NONE) X(REG_SZ) X(REG_EXPAND_SZ) X(REG_BINARY) X(REG_DWORD) X(REG_MULTI_SZ) X(REG_QWORD) \
    X(ERROR_MORE_DATA) X(ERROR_NO_MORE_ITEMS)
UMBRASCOPE_REGISTRY_CONSTANTS(UMBRASCOPE_CAPTURE_CONSTANT)

#include <windows.h>

UMBRASCOPE_REGISTRY_CONSTANTS(UMBRASCOPE_CHECK_CONSTANT)
static_assert(sizeof(platform::HKEY) == sizeof(::HKEY));
static_assert(sizeof(platform::LONG) == sizeof(::LONG));

namespace platform {
namespace {

::HKEY System(HKEY key)
{
    return reinterpret_cast<::HKEY>(key);
}

// The system's DWORD (unsigned long) is another type of the same size as
// ours: counts go through copies of its own type.
class Win32RegistryApi final : public RegistryApi {
public:
    LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, HKEY* result) override
    {
        ::HKEY opened = nullptr;
        const LONG status = ::RegOpenKeyExA(System(key), subKey, options, desired, result != nullptr ? &opened : nullptr);
        if (result != nullptr)
            *result = reinterpret_cast<HKEY>(opened);
        return status;
    }

    LONG RegCloseKey(HKEY key) override
    {
        return ::RegCloseKey(System(key));
    }

    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved, DWORD* type, BYTE* data,
                       DWORD* dataSize) override
    {
        Count length(nameLength), unused(reserved), valueType(type), size(dataSize);
        return ::RegEnumValueA(System(key), index, name, length.get(), unused.get(), valueType.get(), data,
                               size.get());
    }

    LONG RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) override
    {
        Count unused(reserved), valueType(type), size(dataSize);
        return ::RegQueryValueExA(System(key), name, unused.get(), valueType.get(), data, size.get());
    }

private:
    // A count in the system's type, copied in from the caller's and back out
    // when it goes; a null pointer stays null.
    class Count {
    public:
        explicit Count(DWORD* ours) : FOurs(ours), FSystem(ours != nullptr ? *ours : 0) {}
        ~Count()
        {
            if (FOurs != nullptr)
                *FOurs = FSystem;
        }
        Count(const Count&) = delete;
        Count& operator=(const Count&) = delete;

        ::DWORD* get() { return FOurs != nullptr ? &FSystem : nullptr; }

    private:
        DWORD* FOurs;
        ::DWORD FSystem;
    };
};

}  // namespace

RegistryApi& SystemRegistryApi()
{
    static Win32RegistryApi api;
    return api;
}

}  // namespace platform
