// Number text: the meter's readings and the process-wide decimal separator.
#pragma once

#include <optional>
#include <string_view>

// Reads `text` as a reading: an optional sign, digits with an optional
// fraction after ".", and an optional exponent after "E" or "e" with an
// optional sign and digits. "." is the decimal point whatever the locale; a
// digit or the point must come before the exponent (a lone point is 0); an
// exponent letter without digits is exponent 0. Nothing else is allowed:
// no blanks, no "inf"/"nan", no hexadecimal, no group separators.
// Returns the extended value nearest to the decimal text, or nothing when
// the text does not have that form or the value is too large for long double.
// Values too small underflow to a subnormal or zero and are still numbers.
std::optional<long double> TryStrToReading(std::string_view text);

// `text` without the characters of codes 0 to 32 at both ends.
std::string_view TrimControls(std::string_view text);

// The decimal separator used when numbers become text (the chart's labels).
// Starts as the user's locale's decimal point ('.' when the locale has no
// single-byte one) and holds whatever was last set.
char DecimalSeparator();
void SetDecimalSeparator(char separator);
