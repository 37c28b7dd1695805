#include "runtime/DateTimeText.h"

#include <cstdlib>

namespace {

const char* const kSeparator = "   ";

bool IsClassic(const QLocale& locale)
{
    return locale.language() == QLocale::C;
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

}  // namespace

QLocale RegionalLocale()
{
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        QString text = QString::fromLocal8Bit(value);
        // Only language and country matter here; "de_DE.UTF-8@euro" -> "de_DE".
        text = text.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (text == QLatin1String("C") || text == QLatin1String("POSIX") || text.isEmpty())
            return QLocale::c();
        return QLocale(text);
    }
    return QLocale::c();
}

QString ShortDateFormat(const QLocale& locale)
{
    if (IsClassic(locale))
        return QStringLiteral("yyyy-MM-dd");
    return locale.dateFormat(QLocale::ShortFormat);
}

QString LongTimeFormat(const QLocale& locale)
{
    if (IsClassic(locale))
        return QStringLiteral("HH:mm:ss");
    const QString longFormat = WithoutZone(locale.timeFormat(QLocale::LongFormat));
    if (longFormat.contains(QLatin1Char('s')))
        return longFormat;
    return WithSeconds(WithoutZone(locale.timeFormat(QLocale::ShortFormat)));
}

QString FormatTimeStamp(const QDateTime& moment, const QLocale& locale)
{
    return locale.toString(moment.date(), ShortDateFormat(locale)) + QLatin1String(kSeparator)
        + locale.toString(moment.time(), LongTimeFormat(locale));
}

QString DateText()
{
    const QLocale locale = RegionalLocale();
    return locale.toString(QDate::currentDate(), ShortDateFormat(locale));
}

QString TimeText()
{
    const QLocale locale = RegionalLocale();
    return locale.toString(QTime::currentTime(), LongTimeFormat(locale));
}

QString TimeStampText()
{
    return DateText() + QLatin1String(kSeparator) + TimeText();
}
