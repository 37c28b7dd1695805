#include "chart/TeeFormat.h"

#include "runtime/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

char gThousandSeparator = ',';

// One section of a pattern, taken apart.
struct NumberPicture {
    std::string Prefix;   // literal text before the first digit placeholder
    std::string Suffix;   // all other literal text
    int IntegerMinimum = 0;
    int FractionMinimum = 0;
    int FractionMaximum = 0;
    bool Grouping = false;
    bool HasDigits = false;
};

std::vector<std::string> SplitSections(const std::string& pattern)
{
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : pattern) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

NumberPicture ParsePicture(const std::string& section)
{
    NumberPicture picture;
    bool inFraction = false;
    int integerDigits = 0;      // placeholders before the point
    int firstIntegerZero = -1;  // their index of the first '0'
    int fractionDigits = 0;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        std::string& literal = picture.HasDigits ? picture.Suffix : picture.Prefix;
        if (c == '\'' || c == '"') {
            const std::size_t end = section.find(c, i + 1);
            const std::size_t stop = end == std::string::npos ? section.size() : end;
            literal += section.substr(i + 1, stop - i - 1);
            i = stop;
        } else if (c == '0' || c == '#') {
            picture.HasDigits = true;
            if (inFraction) {
                ++fractionDigits;
                if (c == '0')
                    picture.FractionMinimum = fractionDigits;
            } else {
                if (c == '0' && firstIntegerZero < 0)
                    firstIntegerZero = integerDigits;
                ++integerDigits;
            }
        } else if (c == '.' && !inFraction) {
            inFraction = true;
        } else if (c == ',' && !inFraction) {
            picture.Grouping = true;
        } else {
            literal += c;
        }
    }
    picture.IntegerMinimum = firstIntegerZero < 0 ? 0 : integerDigits - firstIntegerZero;
    picture.FractionMaximum = fractionDigits;
    return picture;
}

// `magnitude` (not negative, finite) rounded to `decimals` places, as the
// digits before and after the point. Rounding works on the 17 significant
// digits that identify the double, halves going up: 2.5 gives 3 and 0.0005
// gives 0.001, where the binary value's exact expansion would decide
// otherwise for some decimals.
struct FixedDigits {
    std::string Integer;
    std::string Fraction;
};

FixedDigits RoundedFixed(double magnitude, int decimals)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.16e", magnitude);  // d.dddddddddddddddde+XX
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, 16);
    const char* exponentText = std::strchr(buffer, 'e');
    int before = (exponentText != nullptr ? std::atoi(exponentText + 1) : 0) + 1;  // digits before the point
    if (before < 0) {
        digits.insert(0, static_cast<std::size_t>(-before), '0');
        before = 0;
    }
    const std::size_t keep = static_cast<std::size_t>(before) + static_cast<std::size_t>(decimals);
    if (digits.size() < keep + 1)
        digits.append(keep + 1 - digits.size(), '0');
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0) {
            digits.insert(digits.begin(), '1');
            ++before;
        } else {
            ++digits[i - 1];
        }
    }
    FixedDigits result;
    result.Integer = digits.substr(0, static_cast<std::size_t>(before));
    result.Fraction = digits.substr(static_cast<std::size_t>(before));
    const std::size_t firstSignificant = result.Integer.find_first_not_of('0');
    result.Integer = firstSignificant == std::string::npos ? "0" : result.Integer.substr(firstSignificant);
    return result;
}

bool AllZeroDigits(const std::string& text)
{
    for (char c : text) {
        if (c >= '1' && c <= '9')
            return false;
    }
    return true;
}

std::string Grouped(const std::string& digits)
{
    std::string result;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            result += gThousandSeparator;
        result += digits[i];
    }
    return result;
}

std::string Picture(const NumberPicture& picture, double magnitude, bool minus)
{
    if (!picture.HasDigits)
        return picture.Prefix + picture.Suffix;
    const FixedDigits fixed = RoundedFixed(magnitude, picture.FractionMaximum);
    std::string integer = fixed.Integer;
    std::string fraction = fixed.Fraction;
    while (static_cast<int>(fraction.size()) > picture.FractionMinimum && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (integer == "0" && picture.IntegerMinimum == 0)
        integer.clear();
    while (static_cast<int>(integer.size()) < picture.IntegerMinimum)
        integer.insert(integer.begin(), '0');
    if (picture.Grouping)
        integer = Grouped(integer);

    std::string text = minus ? "-" : "";
    text += picture.Prefix + integer;
    if (!fraction.empty())
        text += DecimalSeparator() + fraction;
    return text + picture.Suffix;
}

std::string GeneralText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.')
            c = DecimalSeparator();
    }
    return text;
}

}  // namespace

char ThousandSeparator()
{
    return gThousandSeparator;
}

void SetThousandSeparator(char separator)
{
    gThousandSeparator = separator;
}

std::string FormatFloat(const std::string& pattern, double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (pattern.empty())
        return GeneralText(value == 0 ? 0.0 : value);

    const std::vector<std::string> sections = SplitSections(pattern);
    const NumberPicture positive = ParsePicture(sections[0]);
    const double magnitude = std::fabs(value);
    const FixedDigits rounded = RoundedFixed(magnitude, positive.FractionMaximum);
    const bool roundsToZero = !positive.HasDigits || AllZeroDigits(rounded.Integer + rounded.Fraction);
    if ((value == 0 || roundsToZero) && sections.size() > 2)
        return Picture(ParsePicture(sections[2]), 0.0, false);
    if (value < 0 && !roundsToZero) {
        if (sections.size() > 1 && !sections[1].empty())
            return Picture(ParsePicture(sections[1]), magnitude, false);
        return Picture(positive, magnitude, true);
    }
    return Picture(positive, magnitude, false);
}
