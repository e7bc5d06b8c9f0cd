#include "text/FastNumber.h"

#include <QString>

#include <charconv>

namespace {

// Longer texts are rare enough in data files to take the slow path.
const int fastLength = 64;

bool isDigit(ushort c)
{
    return c >= '0' && c <= '9';
}

// Copies text into out as ASCII when it is a plain decimal number, dropping a
// leading "+" that std::from_chars would refuse; returns the copied length,
// or -1 for anything else. The grammar is the part of QString::toDouble's
// syntax on which std::from_chars agrees with it character for character.
int plainDecimal(const QChar *text, int length, char *out)
{
    if (length <= 0 || length > fastLength)
        return -1;
    int i = 0;
    int n = 0;
    const ushort first = text[0].unicode();
    if (first == '+' || first == '-') {
        if (first == '-')
            out[n++] = '-';
        ++i;
    }
    int digits = 0;
    while (i < length && isDigit(text[i].unicode())) {
        out[n++] = char(text[i++].unicode());
        ++digits;
    }
    if (i < length && text[i].unicode() == '.') {
        out[n++] = '.';
        ++i;
        while (i < length && isDigit(text[i].unicode())) {
            out[n++] = char(text[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return -1;
    if (i < length && (text[i].unicode() == 'e' || text[i].unicode() == 'E')) {
        out[n++] = 'e';
        ++i;
        if (i < length && (text[i].unicode() == '+' || text[i].unicode() == '-'))
            out[n++] = char(text[i++].unicode());
        int expDigits = 0;
        while (i < length && isDigit(text[i].unicode())) {
            out[n++] = char(text[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return -1;
    }
    return i == length ? n : -1;
}

} // namespace

double toDoubleAsQt(const QChar *text, int length)
{
    char buffer[fastLength];
    const int n = plainDecimal(text, length, buffer);
    if (n > 0) {
        double value = 0;
        const auto result = std::from_chars(buffer, buffer + n, value);
        // Overflow and underflow to zero differ in detail (Qt keeps an
        // infinity, from_chars leaves the value alone): let Qt decide them.
        if (result.ec == std::errc() && result.ptr == buffer + n)
            return value;
    }
    return QString::fromRawData(text, length).toDouble();
}
