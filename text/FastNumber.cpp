#include "text/FastNumber.h"

#include <QString>

#include <charconv>

namespace korvane {

namespace {

// Longer texts are rare enough in data files to take the slow path.
const int fastLength = 64;

bool isDigit(ushort c)
{
    return c >= '0' && c <= '9';
}

ushort code(QChar c)
{
    return c.unicode();
}

ushort code(char c)
{
    return uchar(c);
}

// Copies text into out as ASCII when it is a plain decimal number, dropping a
// leading "+" that std::from_chars would refuse; returns the copied length,
// or -1 for anything else. The grammar is the part of QString::toDouble's
// syntax on which std::from_chars agrees with it character for character.
template <typename Char> int plainDecimal(const Char *text, int length, char *out)
{
    if (length <= 0 || length > fastLength)
        return -1;
    int i = 0;
    int n = 0;
    const ushort first = code(text[0]);
    if (first == '+' || first == '-') {
        if (first == '-')
            out[n++] = '-';
        ++i;
    }
    int digits = 0;
    while (i < length && isDigit(code(text[i]))) {
        out[n++] = char(code(text[i++]));
        ++digits;
    }
    if (i < length && code(text[i]) == '.') {
        out[n++] = '.';
        ++i;
        while (i < length && isDigit(code(text[i]))) {
            out[n++] = char(code(text[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return -1;
    if (i < length && (code(text[i]) == 'e' || code(text[i]) == 'E')) {
        out[n++] = 'e';
        ++i;
        if (i < length && (code(text[i]) == '+' || code(text[i]) == '-'))
            out[n++] = char(code(text[i++]));
        int expDigits = 0;
        while (i < length && isDigit(code(text[i]))) {
            out[n++] = char(code(text[i++]));
            ++expDigits;
        }
        if (expDigits == 0)
            return -1;
    }
    return i == length ? n : -1;
}

// The common case of a data file, without copying: a number whose digits
// make an integer of at most 2^53 and whose decimal exponent is at most 22
// either way is one exact integer times or divided by one exact power of ten,
// and a single IEEE multiplication or division rounds that correctly, as
// QString::toDouble does. Reads such a number at the front of text and
// returns its length; -1 sends the text to the general path.
template <typename Char> int exactShortPrefix(const Char *text, int length, double &value)
{
    int i = 0;
    bool negative = false;
    if (length > 0 && (code(text[0]) == '+' || code(text[0]) == '-')) {
        negative = code(text[0]) == '-';
        ++i;
    }
    // At most 19 digits always fit: longer ones, even leading zeros, are left
    // to the general path.
    quint64 digits = 0;
    const int first = i;
    for (; i < length && isDigit(code(text[i])); ++i)
        digits = digits * 10 + (code(text[i]) - '0');
    int count = i - first;
    int fraction = 0;
    if (i < length && code(text[i]) == '.') {
        const int point = ++i;
        for (; i < length && isDigit(code(text[i])); ++i)
            digits = digits * 10 + (code(text[i]) - '0');
        fraction = i - point;
        count += fraction;
    }
    if (count == 0 || count > 19)
        return -1;
    int exponent = 0;
    if (i < length && (code(text[i]) == 'e' || code(text[i]) == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < length && (code(text[i]) == '+' || code(text[i]) == '-'))
            negativeExponent = code(text[i++]) == '-';
        int expDigits = 0;
        for (; i < length && isDigit(code(text[i])) && expDigits < 4; ++i, ++expDigits)
            exponent = exponent * 10 + (code(text[i]) - '0');
        if (expDigits == 0)
            return -1;
        if (negativeExponent)
            exponent = -exponent;
    }
    exponent -= fraction;
    if (digits > (quint64(1) << 53) || exponent < -22 || exponent > 22)
        return -1;
    const double m = double(digits);
    value = exponent < 0 ? m / exactPowersOfTen[-exponent] : m * exactPowersOfTen[exponent];
    if (negative)
        value = -value;
    return i;
}

// The fast path's value, or false when QString::toDouble must decide.
template <typename Char> bool fastValue(const Char *text, int length, double &value)
{
    if (length > 0 && exactShortPrefix(text, length, value) == length)
        return true;
    char buffer[fastLength];
    const int n = plainDecimal(text, length, buffer);
    if (n <= 0)
        return false;
    const auto result = std::from_chars(buffer, buffer + n, value);
    // Overflow and underflow to zero differ in detail (Qt keeps an infinity,
    // from_chars leaves the value alone): let Qt decide them.
    return result.ec == std::errc() && result.ptr == buffer + n;
}

} // namespace

double toDoubleAsQt(const QChar *text, int length)
{
    double value = 0;
    if (fastValue(text, length, value))
        return value;
    return QString::fromRawData(text, length).toDouble();
}

double toDoubleAsQt(const char *text, int length)
{
    double value = 0;
    if (fastValue(text, length, value))
        return value;
    return QString::fromLatin1(text, length).toDouble();
}

const char *takeNumberAsQtSlow(const char *text, const char *end, double &value)
{
    const char *p = text;
    for (; p < end && !isAsciiBlank(*p); ++p)
        if (uchar(*p) >= 0x80 || *p == '"')
            return nullptr;
    value = toDoubleAsQt(text, int(p - text));
    return p;
}

} // namespace korvane
