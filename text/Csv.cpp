#include "text/Csv.h"

namespace korvane {

namespace {

const QChar quote(QLatin1Char('"'));

} // namespace

int takeCsvFieldAt(const QString &line, int pos, QString &field)
{
    field.clear();
    bool inQuote = false;
    const int n = line.size();
    for (int i = pos; i < n; ++i) {
        const QChar c = line.at(i);
        if (!inQuote) {
            if (c == QLatin1Char(','))
                return i + 1;
            if (c == quote)
                inQuote = true;
            else
                field += c;
        } else if (c == quote) {
            // A doubled quote inside quotes is one literal quote, as
            // spreadsheets write it; a single one closes the quotes.
            if (i + 1 < n && line.at(i + 1) == quote) {
                field += quote;
                ++i;
            } else {
                inQuote = false;
            }
        } else {
            field += c;
        }
    }
    return -1;
}

QString takeCsvField(const QString &line, QString &field)
{
    const int rest = takeCsvFieldAt(line, 0, field);
    return rest >= 0 && rest < line.size() ? line.mid(rest) : QString();
}

QString csvEscape(const QString &value)
{
    QString escaped = value;
    return escaped.replace(quote, QStringLiteral("\"\""));
}

QString csvQuote(const QString &value)
{
    return quote + csvEscape(value) + quote;
}

QString csvNext(const QString &value)
{
    return QLatin1Char(',') + csvQuote(value);
}

QString padRight(const QString &text, int width)
{
    // The blanks come from one fixed string, so a key is never padded by
    // more than 101 of them, whatever width is asked for.
    static const QString blanks(101, QLatin1Char(' '));
    if (text.size() >= width)
        return text;
    return text + blanks.left(width - text.size());
}

} // namespace korvane
