#include "text/LineItems.h"

#include <QDebug>
#include <QRegularExpression>

namespace {

// Whitespace is what "\s" matches, not QChar::isSpace: the two differ on
// characters such as the no-break space, and every reader must agree.
const QRegularExpression &whiteSpace()
{
    static const QRegularExpression re(QStringLiteral("\\s"));
    return re;
}

const QRegularExpression &nonWhiteSpace()
{
    static const QRegularExpression re(QStringLiteral("\\S"));
    return re;
}

const QChar quote(QLatin1Char('"'));

} // namespace

QString takeItem(const QString &text, QString &item)
{
    const int i = text.indexOf(nonWhiteSpace());
    if (i < 0) {
        item.clear();
        return QString();
    }
    if (text.at(i) == quote) {
        const int j = text.indexOf(quote, i + 1);
        if (j >= 0) {
            item = text.mid(i + 1, j - i - 1);
            return text.mid(j + 1);
        }
        qDebug() << QStringLiteral(
                        "In a line [%1] item is started from quote but not ended by quote")
                        .arg(text);
        item = text.mid(i + 1);
        return QString();
    }
    const int k = text.indexOf(whiteSpace(), i);
    QString rest;
    if (k >= 0) {
        item = text.mid(i, k - i);
        rest = text.mid(k);
    } else {
        item = text.mid(i);
    }
    if (item.endsWith(quote))
        qDebug() << QStringLiteral(
                        "In a line [%1] item is started from not quote but ended by quote")
                        .arg(text);
    return rest;
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
    QString rest = line.mid(prefix.size());
    while (!rest.isEmpty()) {
        QString item;
        rest = takeItem(rest, item);
        items << item;
    }
    return items;
}
