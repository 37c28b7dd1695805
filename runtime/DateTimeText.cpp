#include "runtime/DateTimeText.h"

#include "runtime/DateTimeTextSystem.h"

#include <cstdio>

namespace {

const char* const kSeparator = "   ";
// The same pictures in either system's notation.
const char* const kClassicDateFormat = "yyyy-MM-dd";
const char* const kClassicTimeFormat = "HH:mm:ss";

// "de_DE.UTF-8@euro" -> "de_DE".
std::string BareName(const std::string& locale)
{
    return locale.substr(0, locale.find_first_of(".@"));
}

bool IsClassic(const std::string& locale)
{
    const std::string name = BareName(locale);
    return name == "C" || name == "POSIX";
}

std::string Digits(const char* format, int a, int b, int c)
{
    char text[40];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

std::string ShortDateFormat(const std::string& locale)
{
    if (!IsClassic(locale))
        if (auto format = SystemShortDateFormat(locale))
            return *format;
    return kClassicDateFormat;
}

std::string LongTimeFormat(const std::string& locale)
{
    if (!IsClassic(locale))
        if (auto format = SystemLongTimeFormat(locale))
            return *format;
    return kClassicTimeFormat;
}

std::string FormatDate(const TLocalDateTime& moment, const std::string& locale)
{
    if (!IsClassic(locale))
        if (auto text = SystemFormatDate(moment, locale))
            return *text;
    return Digits("%04d-%02d-%02d", moment.Year, moment.Month, moment.Day);
}

std::string FormatTime(const TLocalDateTime& moment, const std::string& locale)
{
    if (!IsClassic(locale))
        if (auto text = SystemFormatTime(moment, locale))
            return *text;
    return Digits("%02d:%02d:%02d", moment.Hour, moment.Minute, moment.Second);
}

std::string FormatTimeStamp(const TLocalDateTime& moment, const std::string& locale)
{
    return FormatDate(moment, locale) + kSeparator + FormatTime(moment, locale);
}

std::string DateText()
{
    return FormatDate(LocalNow(), kUserSettings);
}

std::string TimeText()
{
    return FormatTime(LocalNow(), kUserSettings);
}

std::string TimeStampText()
{
    return DateText() + kSeparator + TimeText();
}
