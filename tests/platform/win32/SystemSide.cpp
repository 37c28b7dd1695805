#include "SystemSide.h"

#include <windows.h>

#include <bit>
#include <string>

namespace {

constexpr const char* kTestRoot = "Software\\UmbrascopeTest";

}  // namespace

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::optional<platform::DCB> SystemCommState(platform::HANDLE port)
{
    ::DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return std::nullopt;
    return std::bit_cast<platform::DCB>(dcb);
}

ScratchRegistryKey::ScratchRegistryKey()
    : FPath(std::string(kTestRoot) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()))
{
    RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str());
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, FPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS)
        FKey = key;
}

ScratchRegistryKey::~ScratchRegistryKey()
{
    if (FKey != nullptr)
        RegCloseKey(static_cast<HKEY>(FKey));
    RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str());
    // Fails, as it should, while another test run has a key there.
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);
}

bool ScratchRegistryKey::Set(const std::string& name, platform::DWORD type, const std::string& data)
{
    return FKey != nullptr &&
           RegSetValueExA(static_cast<HKEY>(FKey), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool ScratchRegistryKey::Exists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
