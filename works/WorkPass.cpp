#include "works/WorkPass.h"

#include "data/DataSet.h"
#include "text/AtomicFile.h"
#include "works/Copy.h"
#include "works/IndexPage.h"
#include "works/KnownWorks.h"
#include "works/Thumbnail.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFuture>
#include <QTextStream>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <deque>

namespace korvane {

namespace {

const QString pageTitle = QStringLiteral("XAFS Data");

void addFailure(QStringList &failures, const QString &path, const QString &why)
{
    failures << QStringLiteral("%1: %2").arg(path, why);
}

// Copies source into the work; a missing companion file is no fault, a
// missing data file is.
void copyInto(QStringList &report, const QString &source, const QString &target, bool required)
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

// One work on its way: its failures are kept apart until its picture is
// done, so that the report reads as if the works were made one by one.
struct PendingWork
{
    QStringList failures;
    bool made = false;
    WorkPassReport::Work work;
    const DataSet *dataSet = nullptr;
    QString picturePath;
    QString pictureWhy;   // why the picture failed, "" when it did not
    bool drawing = false; // picture is still to give pictureWhy
    QFuture<QString> picture;
};

// Reports the finished works at the front of pending, in order; with wait,
// also those still being drawn.
void reportFinished(WorkPassReport &report, std::deque<PendingWork> &pending, bool wait)
{
    while (!pending.empty()) {
        PendingWork &front = pending.front();
        if (front.drawing && !front.picture.isFinished() && !wait)
            return;
        if (front.drawing)
            front.pictureWhy = front.picture.result();
        if (!front.pictureWhy.isEmpty())
            front.failures << QStringLiteral("%1: %2").arg(front.picturePath, front.pictureWhy);
        report.failures += front.failures;
        // Whole or not at all: a work one of whose files failed is not made.
        if (front.made && front.failures.isEmpty()) {
            report.made << front.work;
            if (report.onWork)
                report.onWork(front.work);
        }
        pending.pop_front();
        ++report.finished;
        if (report.onProgress)
            report.onProgress(report.finished, report.toDo);
    }
}

QString pictureFailure(const QString &path, const QSize &size, const DataSet *dataSet)
{
    QString why;
    return makeThumbnailImage(path, size, *dataSet, &why) ? QString() : why;
}

// Whether text drawn outside the GUI thread comes out readable here. Qt 5
// answers yes on every platform it supports; where the answer is no, the
// pictures are drawn on the calling thread instead.
bool threadedTextDrawing()
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return QFontDatabase::supportsThreadedFontRendering();
    QT_WARNING_POP
}

// The works the folder holds before the pass, their copies recognised by
// the suffixes and names this pass gives its own.
KnownWorks knownWorks(const QDir &worksDirectory, const QVector<DataSet *> &flagged,
                      const WorkOptions &options)
{
    QSet<QString> suffixes, names;
    for (const DataSet *dataSet : flagged) {
        suffixes.insert(QFileInfo(dataSet->path).suffix().toLower());
        names.insert(dataCopyName(workFileBase(options, *dataSet), dataSet->path));
    }
    suffixes.remove(QString());
    KnownWorks known;
    known.read(worksDirectory, suffixes, names);
    return known;
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
    const bool parallel = result.parallel && threadedTextDrawing();

    // The page is committed at the end, so a failed pass never leaves half a
    // page in place of the last good one.
    QString page;
    QTextStream pageOut(&page);
    writeIndexHead(pageOut, pageTitle, pageTitle);

    // Enough works in flight to keep every core drawing, few enough that
    // their pictures do not pile up in memory.
    const int maxPending = 2 * QThreadPool::globalInstance()->maxThreadCount() + 2;
    std::deque<PendingWork> pending;
    QVector<DataSet *> flagged;
    for (DataSet *dataSet : dataSets) {
        if (dataSet->metaValue(QStringLiteral("SYS_001")).toInt(nullptr, 10) == 1)
            flagged << dataSet;
    }
    result.toDo += flagged.size();
    if (result.onProgress)
        result.onProgress(result.finished, result.toDo);
    KnownWorks known = knownWorks(worksDirectory, flagged, options);
    int workCount = 0;
    for (DataSet *dataSet : qAsConst(flagged)) {
        const QString fileBase = workFileBase(options, *dataSet);
        const QString copyName = dataCopyName(fileBase, dataSet->path);
        // A scan keeps the work an earlier pass made of it. Else it takes the
        // next number whose folder holds no scan, numbers passed over
        // included, so that numbers are never reused.
        QString workName = known.claimWork(copyName, dataSet->path);
        const bool again = !workName.isEmpty();
        if (!again) {
            do
                workName = workFolderName(options, ++workCount);
            while (known.isTaken(workName));
            known.claim(workName);
        }
        // A data set listed twice must not change while its picture is drawn.
        if (std::any_of(pending.begin(), pending.end(),
                        [dataSet](const PendingWork &p) { return p.dataSet == dataSet; }))
            reportFinished(result, pending, true);
        pending.emplace_back();
        PendingWork &step = pending.back();
        step.dataSet = dataSet;

        QDir workDir(worksDirectory);
        if (!workDir.mkpath(workName) || !workDir.cd(workName)) {
            const QString folder = worksDirectory.absoluteFilePath(workName);
            qDebug() << QStringLiteral("Work Folder [%1] can not be created").arg(folder);
            addFailure(step.failures, folder, QStringLiteral("the work folder can not be created"));
            reportFinished(result, pending, !parallel);
            continue;
        }

        if (options.localId)
            dataSet->meta[QStringLiteral("INFO_015")] = workName;
        const QString dataCopy = workDir.absoluteFilePath(copyName);
        const QString metadataPath = workDir.absoluteFilePath(QStringLiteral("metadata.yml"));
        dataSet->meta[QStringLiteral("FILE_001")] = fileBase;
        dataSet->meta[QStringLiteral("FILE_026")] = fileBase;
        const QString title = QStringLiteral("XAFS Std. Meas. of %1 (%2)")
                                  .arg(dataSet->metaValue(QStringLiteral("SMPL_001")),
                                       dataSet->metaValue(QStringLiteral("SMPL_002")));
        dataSet->meta[QStringLiteral("INFO_013")] = title;
        dataSet->meta[QStringLiteral("INFO_014")] = title;

        copyInto(step.failures, dataSet->path, dataCopy, true);
        copyInto(step.failures, withSuffix(dataSet->path, QStringLiteral("info")),
                 workDir.absoluteFilePath(fileBase + QLatin1String(".info")), false);

        QString why;
        const QString ymlPath = withSuffix(metadataPath, QStringLiteral("yml"));
        if (!writeMetadataFile(ymlPath, tpl, common, dataSet->meta, &why))
            addFailure(step.failures, ymlPath, why);
        // The drawing reads the data set, which this pass no longer changes.
        step.picturePath = workDir.absoluteFilePath(fileBase + QLatin1String(".png"));
        step.drawing = parallel;
        if (step.drawing)
            step.picture = QtConcurrent::run(pictureFailure, step.picturePath, options.imageSize,
                                             step.dataSet);
        else
            step.pictureWhy = pictureFailure(step.picturePath, options.imageSize, dataSet);

        writeIndexRow(pageOut, workName, fileBase, copyName);
        step.made = true;
        step.work.number = again ? 0 : workCount;
        step.work.again = again;
        step.work.dataPath = dataSet->path;
        step.work.folder = workDir.absolutePath();
        reportFinished(result, pending, !parallel || int(pending.size()) > maxPending);
    }
    reportFinished(result, pending, true);
    writeIndexTail(pageOut);
    pageOut.flush();

    const QString indexPath = worksDirectory.absoluteFilePath(QStringLiteral("index.html"));
    QString why;
    // Made again by every pass, as the works are: not forced to disk.
    result.indexWritten =
        writeFileAtomically(indexPath, textFileBytes(page), Durability::Cached, &why);
    if (!result.indexWritten) {
        qDebug() << QStringLiteral("Index File [%1] can not be opened").arg(indexPath);
        addFailure(result.failures, indexPath, why);
    }
    return result.failures.size() == failuresBefore;
}

} // namespace korvane
