// The companion info file of a data file: "key: value" lines, one entry each.

#include "data/DataSet.h"
#include "text/LineItems.h"
#include "text/TextFile.h"

#include <QTextStream>

bool DataSet::readInfo(const QString &path)
{
    // Without an info file the path is empty, which reads nothing.
    TextFileReader file;
    return file.open(path) && readInfo(file.stream());
}

bool DataSet::readInfo(QTextStream &in)
{
    while (!in.atEnd()) {
        const QString line = stripComment(in.readLine().simplified());
        if (line.simplified().isEmpty())
            continue;
        // The files write "key: value"; the blank after the colon is assumed,
        // so a value written right after the colon loses its first character.
        // A line without a colon keeps its whole text as the name.
        const int colon = line.indexOf(QLatin1Char(':'));
        const QString text = line.mid(colon + 2);
        const QString name = line.left(colon).simplified();
        QString value;
        takeItem(text, value);
        info.add(name, value, text);
    }
    return true;
}
