#include "SystemSide.h"

#include <windows.h>

#include <bit>

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
