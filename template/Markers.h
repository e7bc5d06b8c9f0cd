#pragma once
// The two marker values of metadata, wherever a value is stored, read or
// rendered.

#include <QString>

namespace korvane {

// A place that sets no value: a common row with it is passed over, a record
// value of it leaves the common value in force, and a missing key reads as it.
inline const QString noValueMarker = QStringLiteral("--");
// A record value that renders as empty.
inline const QString emptyValueMarker = QStringLiteral("--NO_VALUE--");

} // namespace korvane
