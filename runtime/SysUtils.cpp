#include "runtime/SysUtils.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

namespace {

TExceptionHandler& InstalledHandler()
{
    static TExceptionHandler handler;
    return handler;
}

}  // namespace

EListError::EListError(int index) : Exception(Format("List index out of bounds (%d)", index)) {}

int StrToInt(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    int value = 0;
    if (begin != std::string::npos) {
        const char* first = text.data() + begin;
        const char* last = text.data() + end + 1;
        if (*first == '+' && first + 1 < last && first[1] != '-')
            ++first;
        const auto [stop, error] = std::from_chars(first, last, value);
        if (error == std::errc() && stop == last && first != last)
            return value;
    }
    throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

void SetExceptionHandler(TExceptionHandler handler)
{
    InstalledHandler() = std::move(handler);
}

void HandleCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            if (InstalledHandler()) {
                InstalledHandler()(error);
                return;
            }
        } catch (...) {
            // A failing handler must not take the event loop down with it.
        }
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "unknown exception\n");
    }
}
