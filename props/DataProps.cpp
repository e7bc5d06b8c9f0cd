#include "props/DataProps.h"

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "text/Csv.h"

#include <QStringList>
#include <QTextStream>
#include <QVector>

namespace korvane {

namespace {

const QString flagKey = QStringLiteral("SYS_001");

// The template lines that get a column: input ones, then from_data ones.
QVector<const TplLine *> columnLines(const MetaTemplate &tpl)
{
    QVector<const TplLine *> columns;
    for (const QList<int> *indices : {&tpl.inputIdx, &tpl.fromDataIdx}) {
        for (int index : *indices) {
            if (index >= 0 && index < tpl.lines.size())
                columns.append(&tpl.lines.at(index));
        }
    }
    return columns;
}

DataSet *firstNamed(const QList<DataSet *> &dataSets, const QString &fileName)
{
    for (DataSet *dataSet : dataSets) {
        if (dataSet && dataSet->fileName == fileName)
            return dataSet;
    }
    return nullptr;
}

} // namespace

QString dataPropsFileNameField(const QString &fileName)
{
    if (fileName.contains(QLatin1Char(',')) || fileName.contains(QLatin1Char('"')))
        return csvQuote(fileName);
    return fileName;
}

QString dataPropsText(const MetaTemplate &tpl, const QList<DataSet *> &dataSets,
                      const QString &genWorkTitle)
{
    const QVector<const TplLine *> columns = columnLines(tpl);
    QString types = csvNext(QStringLiteral("input"));
    QString comments = csvNext(genWorkTitle);
    QString ymlKeys = csvNext(QString());
    QString ids = csvNext(flagKey);
    for (const TplLine *line : columns) {
        types += csvNext(line->typesText());
        comments += csvNext(line->comm);
        ymlKeys += csvNext(line->ymlKey);
        ids += csvNext(line->id);
    }
    const QChar end = QLatin1Char('\n');
    QString text = types + end + comments + end + ymlKeys + end + ids + end;
    for (const DataSet *dataSet : dataSets) {
        if (!dataSet)
            continue;
        const bool createWork = dataSet->flaggedForWork();
        text += dataPropsFileNameField(dataSet->fileName);
        text += csvNext(createWork ? QStringLiteral("1") : QStringLiteral("0"));
        for (const TplLine *line : columns)
            text += csvNext(dataSet->metaValue(line->id));
        text += end;
    }
    return text;
}

void applyDataProps(QTextStream &in, const QList<DataSet *> &dataSets)
{
    // Lines 1 to 3 are for the reader of the spreadsheet only.
    QString idLine;
    for (int lineNo = 1; lineNo <= 4 && !in.atEnd(); ++lineNo) {
        const QString line = in.readLine();
        if (lineNo == 4)
            idLine = line;
    }
    // Fields are taken by position, so that a line of many fields costs
    // its length and not its length times its fields.
    QStringList keys;
    int pos = 0;
    do {
        QString key;
        pos = takeCsvFieldAt(idLine, pos, key);
        keys.append(key);
        // A comma ending the id line names no further key.
    } while (pos >= 0 && pos < idLine.size());

    while (!in.atEnd()) {
        const QString line = in.readLine();
        QString fileName;
        pos = takeCsvFieldAt(line, 0, fileName);
        DataSet *dataSet = firstNamed(dataSets, fileName);
        if (!dataSet)
            continue;
        // A cell emptied at the end of a line still has its comma and clears
        // its key; the keys after the last cell of a short line stay as they are.
        for (int j = 1; j < keys.size() && pos >= 0; ++j) {
            const QString &key = keys.at(j);
            const QString current = dataSet->metaValue(key);
            QString field;
            pos = takeCsvFieldAt(line, pos, field);
            // Writing only what differs keeps "--NO_VALUE--" when its cell
            // was left empty, and adds no key for a "--" cell.
            if (field != current)
                dataSet->meta[key] = field;
        }
    }
}

} // namespace korvane
