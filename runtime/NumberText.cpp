#include "runtime/NumberText.h"

#include "runtime/NumberTextSystem.h"

#include <cmath>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips a run of digits starting at `pos`; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos - start;
}

char& SeparatorStorage()
{
    static char separator = UserDecimalPoint();
    return separator;
}

}  // namespace

std::optional<long double> TryStrToReading(std::string_view text)
{
    std::size_t pos = 0;
    std::string normalised;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        normalised += text[pos++];

    const std::size_t intStart = pos;
    const std::size_t intDigits = SkipDigits(text, pos);
    normalised.append(text.substr(intStart, intDigits));
    bool hasPoint = false;
    if (pos < text.size() && text[pos] == '.') {
        hasPoint = true;
        ++pos;
        const std::size_t fracStart = pos;
        const std::size_t fracDigits = SkipDigits(text, pos);
        normalised += '.';
        normalised.append(text.substr(fracStart, fracDigits));
    }
    if (intDigits == 0 && !hasPoint)
        return std::nullopt;
    // A mantissa of just the point ("." or "-.") is zero; strtold would not
    // take it, so a zero digit stands in.
    if (normalised.find_first_of("0123456789") == std::string::npos)
        normalised += '0';

    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        std::string exponent = "e";
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            exponent += text[pos++];
        const std::size_t expStart = pos;
        const std::size_t expDigits = SkipDigits(text, pos);
        // An exponent letter without digits means exponent 0, so it is
        // simply left out of the copy.
        if (expDigits > 0)
            normalised += exponent.append(text.substr(expStart, expDigits));
    }
    if (pos != text.size())
        return std::nullopt;

    char* end = nullptr;
    const long double value = StrToLongDoubleWithPoint(normalised.c_str(), &end);
    if (end != normalised.c_str() + normalised.size() || std::isinf(value))
        return std::nullopt;
    return value;
}

std::string_view TrimControls(std::string_view text)
{
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isControl(text.back()))
        text.remove_suffix(1);
    return text;
}

char DecimalSeparator()
{
    return SeparatorStorage();
}

void SetDecimalSeparator(char separator)
{
    SeparatorStorage() = separator;
}
