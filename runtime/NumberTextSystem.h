// What number text needs of the system, apart from the rest of NumberText,
// which is the same everywhere. One implementation per system, picked by the
// build.
#pragma once

// strtold with "." as the decimal point whatever locale the process has
// chosen; `end` as for strtold. `text` has already been checked to be a
// plain decimal number.
long double StrToLongDoubleWithPoint(const char* text, char** end);

// The user's decimal point where it is one printable ASCII character, '.'
// otherwise.
char UserDecimalPoint();
