#include "runtime/win32/WideText.h"

#include <windows.h>

#include <cwchar>

std::wstring WideFromUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string Utf8FromWide(const wchar_t* wide, int length)
{
    if (wide == nullptr || length == 0)
        return {};
    return Utf8FromWide(std::wstring_view(wide, length < 0 ? std::wcslen(wide) : static_cast<std::size_t>(length)));
}

std::string AnsiFromUtf8(std::string_view utf8)
{
    const std::wstring wide = WideFromUtf8(utf8);
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // No best fit: a look-alike ("L" for "Ł") would pass for what the
    // meter or the clock said; the default character shows it is missing.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int length = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string ProgramFilePath()
{
    // The module's path may be longer than MAX_PATH; grow until it fits
    // (a cut-off result fills the buffer exactly).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return Utf8FromWide(path.data(), static_cast<int>(length));
        path.resize(path.size() * 2);
    }
}
