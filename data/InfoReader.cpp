// The companion info file of a data file: "key: value" lines, one entry each.

#include "data/DataSet.h"
#include "text/LineItems.h"
#include "text/TextFile.h"

#include <QTextStream>

namespace korvane {

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
        // Most files write "key: value", some "key:value": the text is all
        // after the first colon, without the blanks around it. A line without
        // a colon is a name with no value.
        const int colon = line.indexOf(QLatin1Char(':'));
        const QString text = colon < 0 ? QString() : line.mid(colon + 1).trimmed();
        const QString name = line.left(colon).simplified();
        QString value;
        takeItem(text, value);
        info.add(name, value, text);
    }
    return true;
}

} // namespace korvane
