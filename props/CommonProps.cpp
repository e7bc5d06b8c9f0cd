#include "props/CommonProps.h"

#include "template/MetaTemplate.h"
#include "text/AtomicFile.h"
#include "text/Csv.h"
#include "text/Why.h"

#include <QTextStream>

namespace korvane {

CommonPropLine commonPropLine(const QString &text)
{
    CommonPropLine line;
    QString rest = takeCsvField(text, line.id);
    rest = takeCsvField(rest, line.value);
    rest = takeCsvField(rest, line.comment);
    takeCsvField(rest, line.key);
    return line;
}

QVector<CommonPropLine> readCommonPropLines(QTextStream &in)
{
    QVector<CommonPropLine> lines;
    while (!in.atEnd())
        lines.append(commonPropLine(in.readLine()));
    return lines;
}

QString commonPropLineText(const CommonPropLine &line)
{
    return csvQuote(line.id) + csvNext(line.value) + csvNext(line.comment) + csvNext(line.key);
}

QString commonPropsText(const QVector<CommonPropLine> &lines)
{
    QString text;
    for (const CommonPropLine &line : lines)
        text += commonPropLineText(line) + QLatin1Char('\n');
    return text;
}

QVector<CommonPropLine> commonPropsTemplateLines(const MetaTemplate &tpl)
{
    QVector<CommonPropLine> lines;
    for (int index : tpl.semiFixIdx) {
        if (index < 0 || index >= tpl.lines.size())
            continue;
        const TplLine &tplLine = tpl.lines.at(index);
        QString key = tplLine.ymlKey;
        key.replace(QLatin1Char(' '), QLatin1Char('.'));
        lines.append({tplLine.id, tplLine.defValue, tplLine.comm, key});
    }
    return lines;
}

QString commonPropsTemplateText(const MetaTemplate &tpl)
{
    return commonPropsText(commonPropsTemplateLines(tpl));
}

bool savePropsFile(const QString &path, const QString &text, QString *why)
{
    QString error;
    if (writeFileAtomically(path, textFileBytes(text), Durability::Synced, &error))
        return true;
    setWhy(why, reason("cannot write %1: %2").arg(path, error));
    return false;
}

} // namespace korvane
