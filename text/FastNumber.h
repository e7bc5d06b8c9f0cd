#pragma once
// Number conversion for the data sections of large files: the same double as
// QString::toDouble for every input, without building a QString per number.

#include <QChar>

// The value QString::fromRawData(text, length).toDouble() gives. Plain
// decimal numbers (an optional sign, digits with at most one point, an
// optional exponent) take a correctly rounded fast path; anything else, and
// anything the fast path cannot represent, is handed to QString::toDouble.
double toDoubleAsQt(const QChar *text, int length);

// The same for ASCII bytes, read as QString::fromLatin1(text, length) would.
double toDoubleAsQt(const char *text, int length);

// An ASCII blank: what separates the items of a data line.
inline bool isAsciiBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Converts the item at text, which ends at the first ASCII blank or at end,
// as toDoubleAsQt would, and returns where it ends; nullptr, with nothing
// converted, when the item holds a double quote or a byte beyond ASCII,
// which only a reading as text can take.
const char *takeNumberAsQt(const char *text, const char *end, double &value);
