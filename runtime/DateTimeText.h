// The time-stamp text of readings: local date, three spaces, local time.
#pragma once

#include <string>

// A moment of the local clock, to the second. Month and day count from 1.
struct TLocalDateTime {
    int Year = 1970;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const TLocalDateTime&) const = default;
};

// Regional settings are named like "de_DE" or "en_US" (anything from a "."
// or "@" on is ignored, so "de_DE.UTF-8" will do). "C" and "POSIX" stand for
// no settings, and so does any name the system does not know: those give
// "yyyy-MM-dd" and "HH:mm:ss". A named locale gives its own formats; only
// kUserSettings takes in what the user changed in the system's settings.
inline constexpr const char* kUserSettings = "";

// The name of the user's regional settings for dates and times: on Linux from
// the environment (LC_ALL, then LC_TIME, then LANG, as the C library reads
// them), "C" when none is set; on Windows the user's locale, e.g. "en_US".
std::string RegionalLocale();

// The local clock now.
TLocalDateTime LocalNow();

// The locale's short date format, e.g. "M/d/yy", as the system's formatter
// reads it: the fields d, M, y are the same everywhere, other pictures are
// the system's own.
std::string ShortDateFormat(const std::string& locale);

// The locale's long time format without any time zone: hours, minutes and
// seconds with the locale's separator, leading zeros and AM/PM, e.g.
// "h:mm:ss AP" on Linux and "h:mm:ss tt" on Windows.
std::string LongTimeFormat(const std::string& locale);

// `moment`'s date in the locale's short date format, its time in the
// locale's long time format. Text is UTF-8 on Linux and in the ANSI code page
// on Windows, like every other text of the runtime.
std::string FormatDate(const TLocalDateTime& moment, const std::string& locale);
std::string FormatTime(const TLocalDateTime& moment, const std::string& locale);

// FormatDate, three spaces, FormatTime. Under "C": "yyyy-MM-dd   HH:mm:ss".
std::string FormatTimeStamp(const TLocalDateTime& moment, const std::string& locale);

// The same for now in the user's settings; the date and the time are each
// read from the clock as they are formatted.
std::string TimeStampText();
std::string DateText();
std::string TimeText();
