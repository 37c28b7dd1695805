#include "SystemSide.h"

#include <vector>

bool RunningUnderWine()
{
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

ScopedUserLocaleInfo::ScopedUserLocaleInfo(LCTYPE item, const std::string& value) : FItem(item)
{
    char saved[128] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, item, saved, sizeof saved) <= 0)
        return;
    FSaved = saved;
    FOk = ::SetLocaleInfoA(LOCALE_USER_DEFAULT, item, value.c_str()) != 0;
}

ScopedUserLocaleInfo::~ScopedUserLocaleInfo()
{
    if (FOk)
        ::SetLocaleInfoA(LOCALE_USER_DEFAULT, FItem, FSaved.c_str());
}

ScopedUserRegistryText::ScopedUserRegistryText(const std::string& key, const std::string& name,
                                               const std::string& value)
    : FKey(key), FName(name)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &handle, nullptr) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (::RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS)
            FSaved.emplace(type, data.substr(0, size));
    }
    FOk = ::RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
}

ScopedUserRegistryText::~ScopedUserRegistryText()
{
    if (!FOk)
        return;
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    if (FSaved)
        ::RegSetValueExA(handle, FName.c_str(), 0, FSaved->first, reinterpret_cast<const BYTE*>(FSaved->second.data()),
                         static_cast<DWORD>(FSaved->second.size()));
    else
        ::RegDeleteValueA(handle, FName.c_str());
    ::RegCloseKey(handle);
}

int RunThisProgramWith(const std::string& variable, const std::string& value)
{
    char program[MAX_PATH] = {};
    if (::GetModuleFileNameA(nullptr, program, MAX_PATH) == 0)
        return -1;
    const std::string command = std::string("\"") + program + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!::SetEnvironmentVariableA(variable.c_str(), value.c_str()))
        return -1;
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    const BOOL started =
        ::CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableA(variable.c_str(), nullptr);
    if (!started)
        return -1;
    DWORD status = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.hProcess, &status))
        status = static_cast<DWORD>(-1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
