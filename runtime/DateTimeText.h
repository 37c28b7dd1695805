// The time-stamp text of readings: local date, three spaces, local time.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The user's regional settings for dates and times, from the environment
// (LC_ALL, then LC_TIME, then LANG, as the C library reads them). The "C"
// locale stands for "no settings".
QLocale RegionalLocale();

// The locale's short date format, e.g. "M/d/yy".
QString ShortDateFormat(const QLocale& locale);

// The locale's long time format without any time zone: hours, minutes and
// seconds with the locale's separator, leading zeros and AM/PM, e.g.
// "h:mm:ss AP".
QString LongTimeFormat(const QLocale& locale);

// `moment`'s date in the short date format, three spaces, its time in the
// long time format. Under the "C" locale: "yyyy-MM-dd   HH:mm:ss".
QString FormatTimeStamp(const QDateTime& moment, const QLocale& locale);

// FormatTimeStamp of now in the user's settings; the date and the time are
// each read from the clock as they are formatted.
QString TimeStampText();
QString DateText();
QString TimeText();
