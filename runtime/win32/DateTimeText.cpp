#include "runtime/DateTimeTextSystem.h"

#include "runtime/win32/WideText.h"

#include <windows.h>

#include <vector>

namespace {

// What a locale name stands for: the user's own settings, with the changes
// they made, for kUserSettings; a named locale as the system ships it.
struct TLocaleChoice {
    LCID Id;
    DWORD Flags;
};

std::optional<TLocaleChoice> LocaleNamed(const std::string& locale)
{
    if (locale.empty())
        return TLocaleChoice{LOCALE_USER_DEFAULT, 0};
    // "de_DE.UTF-8" -> L"de-DE", the system's spelling.
    std::wstring name;
    for (const char c : locale.substr(0, locale.find_first_of(".@")))
        name += c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    const LCID id = ::LocaleNameToLCID(name.c_str(), 0);
    if (id == 0)
        return std::nullopt;
    return TLocaleChoice{id, LOCALE_NOUSEROVERRIDE};
}

// Runs one of the system's text calls twice, first for the size it needs.
template <class Call>
std::optional<std::string> SystemText(Call call)
{
    const int size = call(nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::vector<wchar_t> text(static_cast<std::size_t>(size));
    const int written = call(text.data(), size);
    if (written <= 0)
        return std::nullopt;
    return Utf8FromWide(text.data());
}

std::optional<std::string> LocaleText(const std::string& locale, LCTYPE item)
{
    const auto choice = LocaleNamed(locale);
    if (!choice)
        return std::nullopt;
    return SystemText([&](wchar_t* text, int size) { return ::GetLocaleInfoW(choice->Id, item | choice->Flags, text, size); });
}

SYSTEMTIME SystemTimeOf(const TLocalDateTime& moment)
{
    SYSTEMTIME time {};
    time.wYear = static_cast<WORD>(moment.Year);
    time.wMonth = static_cast<WORD>(moment.Month);
    time.wDay = static_cast<WORD>(moment.Day);
    time.wHour = static_cast<WORD>(moment.Hour);
    time.wMinute = static_cast<WORD>(moment.Minute);
    time.wSecond = static_cast<WORD>(moment.Second);
    return time;
}

}  // namespace

std::string RegionalLocale()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) <= 0 || name[0] == L'\0')
        return "C";
    // Locale names are plain ASCII: L"en-US" -> "en_US".
    std::string result;
    for (const wchar_t* c = name; *c != L'\0'; ++c)
        result += *c == L'-' ? '_' : static_cast<char>(*c);
    return result;
}

TLocalDateTime LocalNow()
{
    SYSTEMTIME now {};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::optional<std::string> SystemShortDateFormat(const std::string& locale)
{
    return LocaleText(locale, LOCALE_SSHORTDATE);
}

std::optional<std::string> SystemLongTimeFormat(const std::string& locale)
{
    // The system's long time format has seconds and no zone already.
    return LocaleText(locale, LOCALE_STIMEFORMAT);
}

std::optional<std::string> SystemFormatDate(const TLocalDateTime& moment, const std::string& locale)
{
    const auto choice = LocaleNamed(locale);
    if (!choice)
        return std::nullopt;
    const SYSTEMTIME time = SystemTimeOf(moment);
    return SystemText([&](wchar_t* text, int size) {
        return ::GetDateFormatW(choice->Id, DATE_SHORTDATE | choice->Flags, &time, nullptr, text, size);
    });
}

std::optional<std::string> SystemFormatTime(const TLocalDateTime& moment, const std::string& locale)
{
    const auto choice = LocaleNamed(locale);
    if (!choice)
        return std::nullopt;
    const SYSTEMTIME time = SystemTimeOf(moment);
    // No flags: the long time format, seconds included.
    return SystemText([&](wchar_t* text, int size) {
        return ::GetTimeFormatW(choice->Id, choice->Flags, &time, nullptr, text, size);
    });
}
