#include "runtime/DateTimeTextSystem.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdlib>

namespace {

// The locale a name stands for, the user's for kUserSettings; nothing for
// no settings (Qt makes the "C" locale of every name it does not know).
std::optional<QLocale> LocaleNamed(const std::string& locale)
{
    const std::string name = locale.empty() ? RegionalLocale() : locale;
    // Only language and country matter here; "de_DE.UTF-8@euro" -> "de_DE".
    QString text = QString::fromStdString(name);
    text = text.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (text.isEmpty() || text == QLatin1String("C") || text == QLatin1String("POSIX"))
        return std::nullopt;
    QLocale result(text);
    if (result.language() == QLocale::C)
        return std::nullopt;
    return result;
}

// Removes the unquoted time-zone fields ("t" runs) and the blanks they leave.
QString WithoutZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    // The zone stands at an end or between blanks; only the blanks it leaves
    // behind go (simplified() would also turn the locale's own no-break
    // spaces into plain ones).
    result = result.trimmed();
    while (result.contains(QLatin1String("  ")))
        result.replace(QLatin1String("  "), QLatin1String(" "));
    return result;
}

// Adds seconds after the minutes of a format that has none.
QString WithSeconds(QString format)
{
    const qsizetype minutes = format.indexOf(QLatin1String("mm"));
    if (minutes < 0)
        return format + QLatin1String(":ss");
    // The separator before the minutes is the locale's; reuse it.
    const QString separator = minutes > 0 ? format.mid(minutes - 1, 1) : QStringLiteral(":");
    format.insert(minutes + 2, separator + QLatin1String("ss"));
    return format;
}

QString LongTimeFormatOf(const QLocale& locale)
{
    const QString longFormat = WithoutZone(locale.timeFormat(QLocale::LongFormat));
    if (longFormat.contains(QLatin1Char('s')))
        return longFormat;
    return WithSeconds(WithoutZone(locale.timeFormat(QLocale::ShortFormat)));
}

}  // namespace

std::string RegionalLocale()
{
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string text = value;
        text = text.substr(0, text.find_first_of(".@"));
        if (text.empty() || text == "POSIX")
            return "C";
        return text;
    }
    return "C";
}

TLocalDateTime LocalNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
}

std::optional<std::string> SystemShortDateFormat(const std::string& locale)
{
    const auto qlocale = LocaleNamed(locale);
    if (!qlocale)
        return std::nullopt;
    return qlocale->dateFormat(QLocale::ShortFormat).toStdString();
}

std::optional<std::string> SystemLongTimeFormat(const std::string& locale)
{
    const auto qlocale = LocaleNamed(locale);
    if (!qlocale)
        return std::nullopt;
    return LongTimeFormatOf(*qlocale).toStdString();
}

std::optional<std::string> SystemFormatDate(const TLocalDateTime& moment, const std::string& locale)
{
    const auto qlocale = LocaleNamed(locale);
    if (!qlocale)
        return std::nullopt;
    const QDate date(moment.Year, moment.Month, moment.Day);
    return qlocale->toString(date, qlocale->dateFormat(QLocale::ShortFormat)).toStdString();
}

std::optional<std::string> SystemFormatTime(const TLocalDateTime& moment, const std::string& locale)
{
    const auto qlocale = LocaleNamed(locale);
    if (!qlocale)
        return std::nullopt;
    const QTime time(moment.Hour, moment.Minute, moment.Second);
    return qlocale->toString(time, LongTimeFormatOf(*qlocale)).toStdString();
}
