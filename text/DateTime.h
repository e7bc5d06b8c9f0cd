#pragma once
// Dates and times of data and info files, split into seven text fields and
// written back as "year-month-day hour:minute:second.msec". Fields stay text.

#include <QString>

namespace korvane {

struct DateTimeFields
{
    QString year, month, day, hour, minute, second, msec;
};

DateTimeFields splitDateAndTime(const QString &dateText, const QString &timeText);
DateTimeFields splitDateTime(const QString &text);
QString formatTime(const QString &hour, const QString &minute, const QString &second,
                   const QString &msec);
QString normalDateTime(const DateTimeFields &f);
QString normaliseDateTime(const QString &text);

} // namespace korvane
