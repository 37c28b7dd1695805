// What date and time text needs of the system; the "C" formats and the time
// stamp's shape are the same everywhere (DateTimeText.cpp). One
// implementation per system, picked by the build.
#pragma once

#include "runtime/DateTimeText.h"

#include <optional>
#include <string>

// The locale's formats and texts, kUserSettings standing for the user's own;
// nothing when the name resolves to no settings or the system does not know
// it, so that the caller falls back to the "C" formats. Never called with
// "C" or "POSIX".
std::optional<std::string> SystemShortDateFormat(const std::string& locale);
std::optional<std::string> SystemLongTimeFormat(const std::string& locale);
std::optional<std::string> SystemFormatDate(const TLocalDateTime& moment, const std::string& locale);
std::optional<std::string> SystemFormatTime(const TLocalDateTime& moment, const std::string& locale);
