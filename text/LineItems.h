#pragma once
// Blank-separated items with double-quote grouping, "#" comments and the
// prefix tests shared by every line-oriented format korvane reads
// (configuration, template, 9809 headers, info files).

#include <QString>
#include <QStringList>

namespace korvane {

// An ASCII blank: space, tab, line feed, vertical tab, form feed or carriage
// return, exactly what "\s" matches in the readers' expressions. Takes a
// byte, a UTF-16 code unit or a code point; characters beyond ASCII, and
// negative chars, are never blanks.
inline bool isAsciiBlank(unsigned c)
{
    return c == ' ' || c - '\t' <= unsigned('\r' - '\t');
}

// Takes the next item from the front of text into item and returns the rest
// (which keeps its leading whitespace). A double quote groups an item.
// Unbalanced quotes are logged as one quoted string on the debug stream:
//   "In a line [<text>] item is started from quote but not ended by quote"
//   "In a line [<text>] item is started from not quote but ended by quote"
// (QDebug escapes the quotes inside, so match them with a pattern if needed).
QString takeItem(const QString &text, QString &item);
// takeItem on the rest of text from pos, without copying that rest: returns
// where the rest after the item starts (text.size() when nothing is left).
// Readers that walk a whole line item by item stay linear in its length.
int takeItemAt(const QString &text, int pos, QString &item);
// Returns the line before its first "#" outside quotes; the comment goes to
// comment (left as it was when the line has none).
QString splitComment(const QString &line, QString &comment);
QString stripComment(const QString &line);
bool isBlankLine(const QString &line);
QString trimmedItem(const QString &text);
bool startsWithPrefix(const QString &line, const QString &prefix);
QStringList itemsAfter(const QString &line, const QString &prefix);
// The text split at every run of ASCII blanks, an empty first or last part
// when it starts or ends with one.
QStringList splitAtBlanks(const QString &text);

} // namespace korvane
