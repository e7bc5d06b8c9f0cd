#pragma once
// Failures are reported as a bool and, for a caller that asks, one line
// saying why.

#include <QCoreApplication>
#include <QString>

namespace korvane {

// A reason in the user's language. The window speaks Japanese; a batch run
// installs no translation, so that its lines stay in one language for the
// scripts that read them.
inline QString reason(const char *text)
{
    return QCoreApplication::translate("Reason", text);
}

// Sets *why to text when the caller passed a place for it.
inline void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

} // namespace korvane
