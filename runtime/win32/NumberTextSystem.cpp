#include "runtime/NumberTextSystem.h"

#include <windows.h>

#include <cstdlib>

long double StrToLongDoubleWithPoint(const char* text, char** end)
{
    // MinGW's own strtold (__USE_MINGW_ANSI_STDIO) reads the full 80-bit
    // extended value; the program never leaves the "C" locale it starts
    // in, so its decimal point is ".".
    return std::strtold(text, end);
}

char UserDecimalPoint()
{
    char point[4] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, point, sizeof point) == 2 &&
        static_cast<unsigned char>(point[0]) > 32 && static_cast<unsigned char>(point[0]) < 128)
        return point[0];
    return '.';
}
