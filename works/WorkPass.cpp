#include "works/WorkPass.h"

#include "data/DataSet.h"
#include "works/Copy.h"
#include "works/IndexPage.h"
#include "works/Thumbnail.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

const QString pageTitle = QStringLiteral("XAFS Data");

void addFailure(WorkPassReport &report, const QString &path, const QString &why)
{
    report.failures << QStringLiteral("%1: %2").arg(path, why);
}

// Copies source into the work; a missing companion file is no fault, a
// missing data file is.
void copyInto(WorkPassReport &report, const QString &source, const QString &target, bool required)
{
    QString why;
    switch (copyIfChanged(source, target, &why)) {
    case CopyResult::Copied:
    case CopyResult::Kept:
        break;
    case CopyResult::NoSource:
        if (required)
            addFailure(report, source, QStringLiteral("the data file is missing"));
        break;
    case CopyResult::Failed:
        addFailure(report, target, why);
        break;
    }
}

bool writePage(const QString &path, const QString &page, QString *why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *why = file.errorString();
        return false;
    }
    QTextStream out(&file);
    out << page;
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString withSuffix(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    return QStringLiteral("%1/%2.%3").arg(info.absolutePath(), info.completeBaseName(), suffix);
}

QString workFolderName(const WorkOptions &options, int workCount)
{
    QString name = options.useWork ? options.work : QString();
    if (options.useDate)
        name += QLatin1Char('-') + options.date;
    if (options.useTime)
        name += QLatin1Char('-') + options.time;
    if (options.useBranch)
        name += QLatin1Char('-') + options.branch;
    return name + QString::asprintf("-%04d", workCount);
}

QString workFileBase(const WorkOptions &options, const DataSet &dataSet)
{
    if (options.originalNames)
        return dataSet.baseName;
    const Header9809 &header = dataSet.header;
    const QString date =
        QStringLiteral("%1%2%3").arg(header.startYear, header.startMonth, header.startDay);
    QString base = QStringLiteral("%1-%2-%3-%4")
                       .arg(dataSet.baseName, header.firstItem, header.beamline, date);
    // Header items may hold path separators; the files must stay in their work.
    base.replace(QLatin1Char('/'), QLatin1Char('_'));
    base.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return base;
}

bool runWorkPass(const QDir &worksDirectory, const QList<DataSet *> &dataSets,
                 const WorkOptions &options, const MetaTemplate &tpl, const CommonValues &common,
                 WorkPassReport *report)
{
    WorkPassReport ownReport;
    WorkPassReport &result = report ? *report : ownReport;
    const int failuresBefore = result.failures.size();

    // The page is committed at the end, so a failed pass never leaves half a
    // page in place of the last good one.
    QString page;
    QTextStream pageOut(&page);
    writeIndexHead(pageOut, pageTitle, pageTitle);

    int workCount = 0;
    for (DataSet *dataSet : dataSets) {
        if (dataSet->metaValue(QStringLiteral("SYS_001")).toInt(nullptr, 10) != 1)
            continue;
        ++workCount; // taken even when the folder fails, so numbers are never reused
        const QString workName = workFolderName(options, workCount);

        QDir workDir(worksDirectory);
        if (!workDir.mkpath(workName) || !workDir.cd(workName)) {
            const QString folder = worksDirectory.absoluteFilePath(workName);
            qDebug() << QStringLiteral("Work Folder [%1] can not be created").arg(folder);
            addFailure(result, folder, QStringLiteral("the work folder can not be created"));
            continue;
        }

        if (options.localId)
            dataSet->meta[QStringLiteral("INFO_015")] = workName;
        const QString fileBase = workFileBase(options, *dataSet);
        const QString dataCopy = workDir.absoluteFilePath(QStringLiteral("%1.dat").arg(fileBase));
        const QString metadataPath = workDir.absoluteFilePath(QStringLiteral("metadata.yml"));
        dataSet->meta[QStringLiteral("FILE_001")] = fileBase;
        dataSet->meta[QStringLiteral("FILE_026")] = fileBase;
        const QString title = QStringLiteral("XAFS Std. Meas. of %1 (%2)")
                                  .arg(dataSet->metaValue(QStringLiteral("SMPL_001")),
                                       dataSet->metaValue(QStringLiteral("SMPL_002")));
        dataSet->meta[QStringLiteral("INFO_013")] = title;
        dataSet->meta[QStringLiteral("INFO_014")] = title;

        copyInto(result, dataSet->path, dataCopy, true);
        copyInto(result, withSuffix(dataSet->path, QStringLiteral("info")),
                 withSuffix(dataCopy, QStringLiteral("info")), false);

        QString why;
        const QString ymlPath = withSuffix(metadataPath, QStringLiteral("yml"));
        if (!writeMetadataFile(ymlPath, tpl, common, *dataSet, &why))
            addFailure(result, ymlPath, why);
        const QString picturePath = withSuffix(dataCopy, QStringLiteral("png"));
        why.clear();
        if (!makeThumbnailImage(picturePath, options.imageSize, *dataSet, &why))
            addFailure(result, picturePath, why);

        writeIndexRow(pageOut, workName, fileBase);
        WorkPassReport::Work work;
        work.number = workCount;
        work.dataPath = dataSet->path;
        work.folder = workDir.absolutePath();
        result.made << work;
        if (result.onWork)
            result.onWork(work);
    }
    writeIndexTail(pageOut);
    pageOut.flush();

    const QString indexPath = worksDirectory.absoluteFilePath(QStringLiteral("index.html"));
    QString why;
    result.indexWritten = writePage(indexPath, page, &why);
    if (!result.indexWritten) {
        qDebug() << QStringLiteral("Index File [%1] can not be opened").arg(indexPath);
        addFailure(result, indexPath, why);
    }
    return result.failures.size() == failuresBefore;
}
