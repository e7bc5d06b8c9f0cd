// Turns a new record into the full record of one data file.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include <QDebug>
#include <QDir>

void DataSet::openFile(bool createWork, const QString &path, MetaTemplate *tpl, QString *why)
{
    meta.insert(QStringLiteral("SYS_001"), createWork ? QStringLiteral("1") : QStringLiteral("0"));
    ok = false;
    this->tpl = tpl;
    xMin = yMin = 1e300;
    xMax = yMax = -1e300;

    ok = read9809(path, why);
    if (!ok)
        return;

    this->path = path;
    fileInfo = QFileInfo(path);
    dirPath = fileInfo.canonicalPath();
    fileName = fileInfo.fileName();
    baseName = fileInfo.baseName();
    suffix = fileInfo.completeSuffix();

    // One substitution, so that a "%1" in the base name stays as it is.
    const QString infoName = QStringLiteral("%1.%2").arg(baseName, QStringLiteral("info"));
    readInfo(QFileInfo(fileInfo.absoluteDir(), infoName).canonicalFilePath());

    if (!tpl)
        return;
    for (int index : qAsConst(tpl->inputIdx))
        meta.insert(tpl->lines.at(index).id, QString());
    for (int index : qAsConst(tpl->fromDataIdx)) {
        const QString id = tpl->lines.at(index).id;
        const QString value = extractValue(id);
        if (value.isEmpty()) {
            qDebug() << "Origin:: No Replacement in Template" << id << "is implemented.";
            continue;
        }
        meta.insert(id, value);
    }
}
