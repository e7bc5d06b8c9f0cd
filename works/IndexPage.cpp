#include "works/IndexPage.h"

#include <QCoreApplication>
#include <QTextStream>

namespace korvane {

QString htmlEscaped(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    escaped.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return escaped;
}

QString htmlLink(const QString &path)
{
    QString link = path;
    // "%" first, so the escapes made for "#" and "?" are not encoded again.
    link.replace(QLatin1Char('%'), QLatin1String("%25"));
    link.replace(QLatin1Char('#'), QLatin1String("%23"));
    link.replace(QLatin1Char('?'), QLatin1String("%3F"));
    return htmlEscaped(link);
}

void writeIndexHead(QTextStream &out, const QString &title, const QString &heading)
{
    out << "<html>\n"
        << "  <head>\n"
        << "    <title> " << htmlEscaped(title) << " </title>\n"
        << "  </head>\n"
        << "  <body>\n"
        << "    <h1> " << htmlEscaped(heading) << " </h1>\n"
        << "    <table>\n";
}

void writeIndexRow(QTextStream &out, const QString &workName, const QString &fileBase,
                   const QString &copyName)
{
    const QString picture = htmlLink(QStringLiteral(".//%1//%2.png").arg(workName, fileBase));
    const QString data = htmlLink(QStringLiteral(".//%1//%2").arg(workName, copyName));
    const QString meta =
        htmlLink(QStringLiteral(".//%1//%2").arg(workName, QStringLiteral("metadata.yml")));
    const QString cell = QStringLiteral("<td><a href=\"%1\"> %2 </a></td>");
    out << "<tr>"
        << QStringLiteral("<td><a href=\"%1\"> <img src=\"%2\" width=\"64\" height=\"64\"> "
                          "</a></td>")
               .arg(picture, picture)
        << cell.arg(data, htmlEscaped(fileBase))
        << cell.arg(meta, htmlEscaped(QCoreApplication::translate("Body", "meta")))
        << cell.arg(picture, htmlEscaped(QCoreApplication::translate("Body", "picture"))) << "</tr>"
        << "\n";
}

void writeIndexTail(QTextStream &out)
{
    out << "    </table>\n"
        << "  </body>\n"
        << "</html>\n";
}

} // namespace korvane
