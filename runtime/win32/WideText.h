// Text across the Windows boundary. Inside the program text is UTF-8; the
// system takes and gives UTF-16 through its wide (W) functions, and these
// are the only conversions between the two.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to UTF-16 for a W function. Bytes that are not UTF-8 become U+FFFD,
// so a name never silently loses its tail.
std::wstring WideFromUtf8(std::string_view utf8);
// UTF-16 from a W function to UTF-8.
std::string Utf8FromWide(std::wstring_view wide);
// A W function's text in a buffer: the first `length` units, or up to the
// first zero when `length` is negative.
std::string Utf8FromWide(const wchar_t* wide, int length = -1);

// UTF-8 in the system's ANSI code page, for file formats that prescribe it;
// a character the code page lacks becomes the code page's default character.
std::string AnsiFromUtf8(std::string_view utf8);

// The full path of the running program file, of any length.
std::string ProgramFilePath();
