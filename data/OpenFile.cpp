// Turns a new record into the full record of one data file.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include <QDebug>
#include <QDir>
#include <QSet>

namespace korvane {

namespace {

void startRecord(DataSet &dataSet, bool createWork, MetaTemplate *tpl)
{
    dataSet.setFlaggedForWork(createWork);
    dataSet.ok = false;
    dataSet.tpl = tpl;
    dataSet.xMin = dataSet.yMin = 1e300;
    dataSet.xMax = dataSet.yMax = -1e300;
}

// Where a template's keys sit in a record's map, worked out once per
// template: a map of 130 keys built by inserting them one by one costs more
// in comparisons and rebalancing than every value put into it, while a copy
// of a finished map costs one node each.
struct MetaLayout
{
    // Shared with the template's own lists: while they stay shared, the
    // template is unchanged (any change to it detaches them).
    QVector<TplLine> lines;
    QList<int> inputIdx, fromDataIdx;
    // Every input and from_data key, all values empty, and for each of its
    // keys in map order: a from_data line with that key (its position in
    // fromDataIdx, or -1) and whether it is an input key too.
    QMap<QString, QString> keys;
    QVector<int> fromDataAt;
    QVector<bool> isInput;

    bool describes(const MetaTemplate &tpl) const
    {
        return lines.isSharedWith(tpl.lines) && inputIdx.isSharedWith(tpl.inputIdx) &&
               fromDataIdx.isSharedWith(tpl.fromDataIdx);
    }

    void build(const MetaTemplate &tpl)
    {
        lines = tpl.lines;
        inputIdx = tpl.inputIdx;
        fromDataIdx = tpl.fromDataIdx;
        keys.clear();
        QHash<QString, int> fromData;
        QSet<QString> inputs;
        for (int index : qAsConst(inputIdx)) {
            keys.insert(lines.at(index).id, QString());
            inputs.insert(lines.at(index).id);
        }
        for (int i = 0; i < fromDataIdx.size(); ++i) {
            keys.insert(lines.at(fromDataIdx.at(i)).id, QString());
            fromData.insert(lines.at(fromDataIdx.at(i)).id, i);
        }
        fromDataAt.clear();
        isInput.clear();
        for (auto it = keys.constBegin(); it != keys.constEnd(); ++it) {
            fromDataAt << fromData.value(it.key(), -1);
            isInput << inputs.contains(it.key());
        }
    }
};

// Only after the info file has been read, since some from_data keys come
// from it. What it leaves is what inserting the input keys with empty
// values, then each from_data key that has a value, would leave.
void extractMeta(DataSet &dataSet)
{
    const MetaTemplate *tpl = dataSet.tpl;
    if (!tpl)
        return;
    thread_local MetaLayout layout;
    if (!layout.describes(*tpl))
        layout.build(*tpl);
    // In template order, for the log; a key always gives the same value.
    QVector<QString> values(layout.fromDataIdx.size());
    for (int i = 0; i < values.size(); ++i) {
        const QString &id = layout.lines.at(layout.fromDataIdx.at(i)).id;
        values[i] = dataSet.extractValue(id);
        if (values.at(i).isEmpty())
            qDebug() << "Origin:: No Replacement in Template" << id << "is implemented.";
    }
    QMap<QString, QString> meta = layout.keys;
    int k = 0;
    for (auto it = meta.begin(); it != meta.end(); ++k) {
        const int at = layout.fromDataAt.at(k);
        if (at >= 0 && !values.at(at).isEmpty()) {
            it.value() = values.at(at);
            ++it;
        } else if (layout.isInput.at(k)) {
            ++it;
        } else {
            it = meta.erase(it);
        }
    }
    // What the record held before (its SYS_001) stays unless a key replaced it.
    for (auto it = dataSet.meta.constBegin(); it != dataSet.meta.constEnd(); ++it)
        if (!meta.contains(it.key()))
            meta.insert(it.key(), it.value());
    dataSet.meta.swap(meta);
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
    canonicalPath = fileInfo.canonicalFilePath();
    fileName = fileInfo.fileName();
    baseName = fileInfo.baseName();
    suffix = fileInfo.completeSuffix();

    // The companion is the data file's name with its last suffix replaced
    // (Cu_foil.run2.dat, Cu_foil.run2.info): the file a work copies too.
    const QString infoName = fileInfo.completeBaseName() + QLatin1String(".info");
    readInfo(QFileInfo(fileInfo.absoluteDir(), infoName).canonicalFilePath());
    extractMeta(*this);
}

void DataSet::openStream(bool createWork, QTextStream &data, QTextStream *info, MetaTemplate *tpl,
                         QString *why)
{
    startRecord(*this, createWork, tpl);
    ok = read9809(data, why);
    if (!ok)
        return;
    if (info)
        readInfo(*info);
    extractMeta(*this);
}

} // namespace korvane
