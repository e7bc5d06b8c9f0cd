#include "text/LineItems.h"

#include <QDebug>
#include <QRegularExpression>

namespace {

// Whitespace is what "\s" matches, not QChar::isSpace: the two differ on
// characters such as the no-break space, and every reader must agree.
const QRegularExpression &nonWhiteSpace()
{
    static const QRegularExpression re(QStringLiteral("\\S"));
    return re;
}

const QChar quote(QLatin1Char('"'));

// Exactly the characters "\s" matches: Qt does not ask PCRE for Unicode
// properties, so only these six. Scanning them by hand rather than with the
// expressions keeps a walk over a long line linear, as PCRE would check the
// whole rest of the subject on every search.
bool isItemBlank(QChar c)
{
    const ushort u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

// takeItem on the rest of text from pos, without copying that rest: returns
// where the rest after the item starts (text.size() when nothing is left).
// Readers that walk a whole line item by item stay linear in its length.
int takeItemAt(const QString &text, int pos, QString &item)
{
    const int n = text.size();
    int i = pos;
    while (i < n && isItemBlank(text.at(i)))
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
    while (k < n && !isItemBlank(text.at(k)))
        ++k;
    item = text.mid(i, k - i);
    if (item.endsWith(quote))
        qDebug() << QStringLiteral(
                        "In a line [%1] item is started from not quote but ended by quote")
                        .arg(text.mid(pos));
    return k;
}

} // namespace

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
    const auto blank = [](ushort c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    QStringList parts;
    int start = 0;
    for (int i = 0; i < size;) {
        if (!blank(chars[i])) {
            ++i;
            continue;
        }
        parts << text.mid(start, i - start);
        while (i < size && blank(chars[i]))
            ++i;
        start = i;
    }
    parts << text.mid(start);
    return parts;
}
