// What the Windows tests ask of the system directly, past the layer under
// test: whether Wine runs them, the line settings a port really has, and a
// registry key of their own to write values into. No <windows.h> here: its
// macros would replace the names of the layer's constants in the tests.
#pragma once

#include "platform/CommApi.h"

#include <optional>
#include <string>

// True under Wine, whose ntdll exports wine_get_version; Windows' does not.
bool RunningUnderWine();

// The port's settings as GetCommState reads them back from the device.
std::optional<platform::DCB> SystemCommState(platform::HANDLE port);

// A key of the test's own under HKEY_CURRENT_USER\Software\UmbrascopeTest,
// made new and volatile (so that a test that dies leaves it only until the
// registry is unloaded) and deleted with everything in it when the object
// goes.
class ScratchRegistryKey {
public:
    ScratchRegistryKey();
    ~ScratchRegistryKey();
    ScratchRegistryKey(const ScratchRegistryKey&) = delete;
    ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

    bool Ok() const { return FKey != nullptr; }
    // The key's path under HKEY_CURRENT_USER.
    const std::string& Path() const { return FPath; }

    // Stores `data` as it is (give text its terminating zero) under `type`.
    bool Set(const std::string& name, platform::DWORD type, const std::string& data);

    // Whether HKEY_CURRENT_USER has a key `path`.
    static bool Exists(const std::string& path);

private:
    std::string FPath;
    void* FKey = nullptr;
};
