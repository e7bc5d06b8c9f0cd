#pragma once
// Failures are reported as a bool and, for a caller that asks, one line
// saying why.

#include <QString>

namespace korvane {

// Sets *why to text when the caller passed a place for it.
inline void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

} // namespace korvane
