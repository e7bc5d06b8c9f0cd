#include "text/DateTime.h"

#include "text/LineItems.h"

#include <QStringList>

namespace korvane {

namespace {

// The parts between single "-", "/" or "." characters, empty ones included.
QStringList splitDate(const QString &text)
{
    QStringList parts;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('-') || c == QLatin1Char('/') || c == QLatin1Char('.')) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

} // namespace

DateTimeFields splitDateAndTime(const QString &dateText, const QString &timeText)
{
    DateTimeFields f;

    const QStringList date = splitDate(dateText);
    // The layout dates from 1998: two-digit years 90 to 99 are the last
    // century's, every other year below 1000 this century's.
    int year = date.value(0, QStringLiteral("0000")).toInt();
    if (year >= 90 && year <= 99)
        year += 1900;
    else if (year < 1000)
        year += 2000;
    f.year = QString::number(year);
    f.month = date.size() < 2 ? QStringLiteral("00") : date.at(1);
    f.day = date.size() < 3 ? QStringLiteral("00") : date.at(2);

    // Some acquisition programs write 10.53 for 10:53; a time with a colon
    // keeps its dot for the fraction of the seconds.
    QString clock = timeText;
    if (!clock.contains(QLatin1Char(':')))
        clock.replace(QLatin1Char('.'), QLatin1Char(':'));
    const QStringList time = clock.split(QLatin1Char(':'));
    f.hour = time.value(0, QStringLiteral("00"));
    f.minute = time.size() < 2 ? QStringLiteral("00") : time.at(1);
    const QString seconds = time.size() < 3 ? QStringLiteral("00.000") : time.at(2);

    const QStringList pieces = seconds.split(QLatin1Char('.'));
    f.second = pieces.value(0, QStringLiteral("00"));
    f.msec = pieces.size() < 2 ? QStringLiteral("000") : pieces.at(1);
    return f;
}

DateTimeFields splitDateTime(const QString &text)
{
    const QStringList parts = splitAtBlanks(text);
    const QString date = parts.value(0, QStringLiteral("0000/00/00"));
    const QString time = parts.size() < 2 ? QStringLiteral("00:00:00.000") : parts.at(1);
    return splitDateAndTime(date, time);
}

QString formatTime(const QString &hour, const QString &minute, const QString &second,
                   const QString &msec)
{
    // The multi-argument arg() fills all places in one pass, so a field that
    // itself holds "%1" is not filled again.
    if (msec.isEmpty())
        return QStringLiteral("%1:%2:%3").arg(hour, minute, second);
    return QStringLiteral("%1:%2:%3.%4").arg(hour, minute, second, msec);
}

QString normalDateTime(const DateTimeFields &f)
{
    return QStringLiteral("%1 %2").arg(QStringLiteral("%1-%2-%3").arg(f.year, f.month, f.day),
                                       formatTime(f.hour, f.minute, f.second, f.msec));
}

QString normaliseDateTime(const QString &text)
{
    return normalDateTime(splitDateTime(text));
}

} // namespace korvane
