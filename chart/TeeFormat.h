// Numbers as the chart's labels show them: a picture of digit placeholders
// ("#,##0.###") and the process-wide separators.
#pragma once

#include <string>

// The character put between groups of three integer digits. Process-wide,
// like the decimal separator of runtime/NumberText.h; starts as ','.
char ThousandSeparator();
void SetThousandSeparator(char separator);

// `value` written by `pattern`:
//   "0"  a digit that is always written (leading or trailing zeros kept),
//   "#"  a digit written only when significant,
//   "."  the decimal separator (DecimalSeparator()); the first one counts,
//   ","  anywhere in the integer part: groups of three, ThousandSeparator(),
//   "'...'" or "\"...\"" literal text; any other character is literal too.
// Up to three sections separated by ';' serve positive, negative and zero
// values; a negative value formatted by its own section gets no minus sign.
// The value is rounded to the pattern's decimals on its 17 significant
// digits, halves away from zero (2.5 -> "3", 0.0005 -> "0.001"); a result
// that rounds to zero has no minus sign. An empty pattern gives the
// shortest text of up to 15 significant digits. Infinities and NaN give
// "INF", "-INF" and "NAN". Never throws on any pattern.
std::string FormatFloat(const std::string& pattern, double value);
