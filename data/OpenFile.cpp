// Turns a new record into the full record of one data file.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include <QDebug>
#include <QDir>

namespace {

void startRecord(DataSet &dataSet, bool createWork, MetaTemplate *tpl)
{
    dataSet.meta.insert(QStringLiteral("SYS_001"),
                        createWork ? QStringLiteral("1") : QStringLiteral("0"));
    dataSet.ok = false;
    dataSet.tpl = tpl;
    dataSet.xMin = dataSet.yMin = 1e300;
    dataSet.xMax = dataSet.yMax = -1e300;
}

// Only after the info file has been read, since some from_data keys come
// from it.
void extractMeta(DataSet &dataSet)
{
    const MetaTemplate *tpl = dataSet.tpl;
    if (!tpl)
        return;
    for (int index : qAsConst(tpl->inputIdx))
        dataSet.meta.insert(tpl->lines.at(index).id, QString());
    for (int index : qAsConst(tpl->fromDataIdx)) {
        const QString id = tpl->lines.at(index).id;
        const QString value = dataSet.extractValue(id);
        if (value.isEmpty()) {
            qDebug() << "Origin:: No Replacement in Template" << id << "is implemented.";
            continue;
        }
        dataSet.meta.insert(id, value);
    }
}

} // namespace

void DataSet::openFile(bool createWork, const QString &path, MetaTemplate *tpl, QString *why)
{
    startRecord(*this, createWork, tpl);
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
    extractMeta(*this);
}

void DataSet::openStream(bool createWork, QTextStream &data, QTextStream *info,
                         MetaTemplate *tpl, QString *why)
{
    startRecord(*this, createWork, tpl);
    ok = read9809(data, why);
    if (!ok)
        return;
    if (info)
        readInfo(*info);
    extractMeta(*this);
}
