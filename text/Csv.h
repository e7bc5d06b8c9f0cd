#pragma once
// Fields of the two property files and the key alignment of metadata.yml.

#include <QString>

namespace korvane {

// Takes the next field from the front of line into field and returns the rest
// after the field's comma. A double quote opens or closes a quoted stretch
// (commas inside it are copied); inside quotes a doubled quote is one literal
// quote. Nothing is trimmed and a backslash is an ordinary character.
QString takeCsvField(const QString &line, QString &field);
// The same from position pos of line, returning where the next field starts,
// or -1 when no comma follows the field: a line ending in a comma has one more,
// empty, field at line.size(). A walk over a whole line stays linear.
int takeCsvFieldAt(const QString &line, int pos, QString &field);
// The value with every double quote doubled.
QString csvEscape(const QString &value);
// The value escaped and enclosed in double quotes.
QString csvQuote(const QString &value);
// "," followed by csvQuote(value): the second and later fields of a line.
QString csvNext(const QString &value);
// The text with blanks appended up to width (at most 101 are added).
QString padRight(const QString &text, int width);

} // namespace korvane
