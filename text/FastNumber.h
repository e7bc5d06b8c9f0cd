#pragma once
// Number conversion for the data sections of large files: the same double as
// QString::toDouble for every input, without building a QString per number.

#include "text/LineItems.h"

#include <QChar>

namespace korvane {

// The value QString::fromRawData(text, length).toDouble() gives. Plain
// decimal numbers (an optional sign, digits with at most one point, an
// optional exponent) take a correctly rounded fast path; anything else, and
// anything the fast path cannot represent, is handed to QString::toDouble.
double toDoubleAsQt(const QChar *text, int length);

// The same for ASCII bytes, read as QString::fromLatin1(text, length) would.
double toDoubleAsQt(const char *text, int length);

// 10^0 ... 10^22: every one of them is a double exactly.
inline constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// takeNumberAsQt for every item the inline path leaves.
const char *takeNumberAsQtSlow(const char *text, const char *end, double &value);

// Converts the item at text, which ends at the first ASCII blank or at end,
// as toDoubleAsQt would, and returns where it ends; nullptr, with nothing
// converted, when the item holds a double quote or a byte beyond ASCII,
// which only a reading as text can take.
//
// Inline for the items a data file is made of, a sign, digits and at most
// one point: at most 19 digits whose integer is at most 2^53, divided by an
// exact power of ten, is rounded once and correctly, as QString::toDouble
// rounds. Everything else (exponents, longer numbers, other text) goes on to
// takeNumberAsQtSlow.
inline const char *takeNumberAsQt(const char *text, const char *end, double &value)
{
    const char *p = text;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const auto isDigit = [](char c) { return unsigned(c - '0') < 10u; };
    unsigned long long digits = 0;
    const char *first = p;
    for (; p < end && isDigit(*p); ++p)
        digits = digits * 10 + unsigned(*p - '0');
    int count = int(p - first);
    int fraction = 0;
    if (p < end && *p == '.') {
        const char *point = ++p;
        for (; p < end && isDigit(*p); ++p)
            digits = digits * 10 + unsigned(*p - '0');
        fraction = int(p - point);
        count += fraction;
    }
    if (count == 0 || count > 19 || fraction > 22 || digits > (1ull << 53) ||
        (p < end && !isAsciiBlank(*p)))
        return takeNumberAsQtSlow(text, end, value);
    value = double(digits) / exactPowersOfTen[fraction];
    if (negative)
        value = -value;
    return p;
}

} // namespace korvane
