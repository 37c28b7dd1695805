#include "runtime/NumberTextSystem.h"

#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

long double StrToLongDoubleWithPoint(const char* text, char** end)
{
    // MinGW's own strtold (__USE_MINGW_ANSI_STDIO) reads the full 80-bit
    // extended value, but with the decimal point of the C locale that
    // setlocale chose last, and any library the process loads (the file
    // chooser's among them) may call it. The text is a plain number with
    // ".", so the point is spelt as that locale spells it for the call.
    const char* point = std::localeconv()->decimal_point;
    const char* dot = std::strchr(text, '.');
    if (dot == nullptr || point == nullptr || *point == '\0' || std::strcmp(point, ".") == 0)
        return std::strtold(text, end);
    const std::size_t dotAt = static_cast<std::size_t>(dot - text);
    const std::size_t pointLength = std::strlen(point);
    std::string local(text);
    local.replace(dotAt, 1, point);
    char* localEnd = nullptr;
    const long double value = std::strtold(local.c_str(), &localEnd);
    std::size_t used = static_cast<std::size_t>(localEnd - local.c_str());
    if (used >= dotAt + pointLength)
        used -= pointLength - 1;
    else if (used > dotAt)
        used = dotAt;  // stopped inside a point of several bytes
    if (end != nullptr)
        *end = const_cast<char*>(text) + used;
    return value;
}

char UserDecimalPoint()
{
    wchar_t point[4] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, point, 4) == 2 && point[0] > 32 && point[0] < 128)
        return static_cast<char>(point[0]);
    return '.';
}
