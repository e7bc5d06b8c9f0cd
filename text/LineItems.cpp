#include "text/LineItems.h"

#include <QDebug>
#include <QRegularExpression>

namespace korvane {

namespace {

// Whitespace is what "\s" matches, not QChar::isSpace: the two differ on
// characters such as the no-break space, and every reader must agree.
const QRegularExpression &nonWhiteSpace()
{
    static const QRegularExpression re(QStringLiteral("\\S"));
    return re;
}

const QChar quote(QLatin1Char('"'));

} // namespace

// Items end at exactly the characters "\s" matches: Qt does not ask PCRE for
// Unicode properties, so only the six ASCII blanks. Scanning them by hand
// rather than with the expressions keeps a walk over a long line linear, as
// PCRE would check the whole rest of the subject on every search.
int takeItemAt(const QString &text, int pos, QString &item)
{
    const int n = text.size();
    int i = pos;
    while (i < n && isAsciiBlank(text.at(i).unicode()))
        ++i;
    if (i >= n) {
        item.clear();
        return n;
    }
    if (text.at(i) == quote) {
        const int j = text.indexOf(quote, i + 1);
        if (j >= 0) {
            item = text.mid(i + 1, j - i - 1);
            return j + 1;
        }
        qDebug() << QStringLiteral(
                        "In a line [%1] item is started from quote but not ended by quote")
                        .arg(text.mid(pos));
        item = text.mid(i + 1);
        return text.size();
    }
    int k = i;
    while (k < n && !isAsciiBlank(text.at(k).unicode()))
        ++k;
    item = text.mid(i, k - i);
    if (item.endsWith(quote))
        qDebug() << QStringLiteral(
                        "In a line [%1] item is started from not quote but ended by quote")
                        .arg(text.mid(pos));
    return k;
}

QString takeItem(const QString &text, QString &item)
{
    const int rest = takeItemAt(text, 0, item);
    return rest < text.size() ? text.mid(rest) : QString();
}

QString splitComment(const QString &line, QString &comment)
{
    // Double quotes and apostrophes share one switch, so "Bob's # x" keeps
    // its "#": the apostrophe opened a quote that never closes.
    bool inQuote = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == quote || c == QLatin1Char('\'')) {
            inQuote = !inQuote;
        } else if (c == QLatin1Char('#') && !inQuote) {
            comment = line.mid(i + 1);
            return line.left(i);
        }
    }
    return line;
}

QString stripComment(const QString &line)
{
    QString comment;
    return splitComment(line, comment);
}

bool isBlankLine(const QString &line)
{
    return stripComment(line).simplified().isEmpty();
}

QString trimmedItem(const QString &text)
{
    const int first = text.indexOf(nonWhiteSpace());
    if (first < 0)
        return text;
    const int last = text.lastIndexOf(nonWhiteSpace());
    return text.mid(first, last - first + 1);
}

bool startsWithPrefix(const QString &line, const QString &prefix)
{
    return line.left(prefix.size()) == prefix;
}

QStringList itemsAfter(const QString &line, const QString &prefix)
{
    QStringList items;
    for (int pos = prefix.size(); pos < line.size();) {
        QString item;
        pos = takeItemAt(line, pos, item);
        items << item;
    }
    return items;
}

QStringList splitAtBlanks(const QString &text)
{
    const ushort *chars = text.utf16();
    const int size = text.size();
    QStringList parts;
    int start = 0;
    for (int i = 0; i < size;) {
        if (!isAsciiBlank(chars[i])) {
            ++i;
            continue;
        }
        parts << text.mid(start, i - start);
        while (i < size && isAsciiBlank(chars[i]))
            ++i;
        start = i;
    }
    parts << text.mid(start);
    return parts;
}

} // namespace korvane
