#include "runtime/NumberTextSystem.h"

#include <QLocale>

#include <locale.h>
#include <stdlib.h>

namespace {

// strtold reads the decimal point of LC_NUMERIC, which the user's settings
// or a library (Qt sets the locale from the environment) may have changed; a
// private "C" locale makes "." certain.
locale_t ClassicNumericLocale()
{
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

long double StrToLongDoubleWithPoint(const char* text, char** end)
{
    return ::strtold_l(text, end, ClassicNumericLocale());
}

char UserDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > 32 && point.at(0).unicode() < 128)
        return static_cast<char>(point.at(0).unicode());
    return '.';
}
