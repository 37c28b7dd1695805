#include "SystemSide.h"

#include "runtime/win32/WideText.h"

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
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring wideName = WideFromUtf8(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (::RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                               &size) == ERROR_SUCCESS)
            FSaved.emplace(type, data.substr(0, size));
    }
    const std::wstring wideValue = WideFromUtf8(value);
    FOk = ::RegSetValueExW(handle, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue.c_str()),
                           static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
}

ScopedUserRegistryText::~ScopedUserRegistryText()
{
    if (!FOk)
        return;
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(FKey).c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    const std::wstring wideName = WideFromUtf8(FName);
    if (FSaved)
        ::RegSetValueExW(handle, wideName.c_str(), 0, FSaved->first,
                         reinterpret_cast<const BYTE*>(FSaved->second.data()),
                         static_cast<DWORD>(FSaved->second.size()));
    else
        ::RegDeleteValueW(handle, wideName.c_str());
    ::RegCloseKey(handle);
}

int RunThisProgramWith(const std::string& variable, const std::string& value)
{
    wchar_t program[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, program, MAX_PATH) == 0)
        return -1;
    return RunProgramWith(program, variable, value);
}

int RunProgramWith(const std::wstring& program, const std::string& variable, const std::string& value,
                   const std::wstring& arguments)
{
    std::wstring line = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    line.push_back(L'\0');
    if (!::SetEnvironmentVariableW(WideFromUtf8(variable).c_str(), WideFromUtf8(value).c_str()))
        return -1;
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    const BOOL started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &process);
    ::SetEnvironmentVariableW(WideFromUtf8(variable).c_str(), nullptr);
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
