#include "works/WorkPass.h"

#include "data/DataSet.h"
#include "text/AtomicFile.h"
#include "text/Why.h"
#include "works/Catalogue.h"
#include "works/Copy.h"
#include "works/IndexPage.h"
#include "works/KnownWorks.h"
#include "works/Thumbnail.h"
#include "works/Xdi.h"

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
            addFailure(report, source, reason("the data file is missing"));
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
    QStringList xdiNotes;
    XdiText xdi;
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
            report.xdiNotes += front.xdiNotes;
            report.xdiLeftOut += front.xdi.tooLong;
            report.xdiAmbiguous += front.xdi.ambiguous;
            report.xdiNoElement += front.xdi.noElement;
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

// The folder's works, their copies recognised by the suffixes and names
// this pass gives its own.
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

namespace {

QVector<DataSet *> flaggedSets(const QList<DataSet *> &dataSets)
{
    QVector<DataSet *> flagged;
    for (DataSet *dataSet : dataSets) {
        if (dataSet->flaggedForWork())
            flagged << dataSet;
    }
    return flagged;
}

// A scan keeps the work an earlier pass made of it (again). Else it takes the
// next number whose folder holds no scan, numbers passed over included, so
// that numbers are never reused.
QString workFolderFor(KnownWorks &known, const WorkOptions &options, const QString &copyName,
                      const QString &dataPath, int &workCount, bool &again)
{
    QString workName = known.claimWork(copyName, dataPath);
    again = !workName.isEmpty();
    if (!again) {
        do
            workName = workFolderName(options, ++workCount);
        while (known.isTaken(workName));
        known.claim(workName);
    }
    return workName;
}

// The work's own values, which its metadata.yml shows.
void setWorkValues(DataSet &dataSet, const WorkOptions &options, const QString &workName,
                   const QString &fileBase)
{
    if (options.localId)
        dataSet.meta[QStringLiteral("INFO_015")] = workName;
    dataSet.meta[QStringLiteral("FILE_001")] = fileBase;
    dataSet.meta[QStringLiteral("FILE_026")] = fileBase;
    const QString title = QStringLiteral("XAFS Std. Meas. of %1 (%2)")
                              .arg(dataSet.metaValue(QStringLiteral("SMPL_001")),
                                   dataSet.metaValue(QStringLiteral("SMPL_002")));
    dataSet.meta[QStringLiteral("INFO_013")] = title;
    dataSet.meta[QStringLiteral("INFO_014")] = title;
}

// The XDI file, when asked for; a scan too long for the format gets none,
// which is told but is no failure of the work.
void writeXdi(PendingWork &step, const QDir &workDir, const QString &fileBase,
              const CommonValues &common)
{
    const QString path = workDir.absoluteFilePath(fileBase + QLatin1String(".xdi"));
    QString why;
    if (!writeXdiFile(path, *step.dataSet, common, &step.xdi, &why))
        addFailure(step.failures, path, why);
    else if (!step.xdi.note.isEmpty())
        addFailure(step.xdiNotes, step.dataSet->path, step.xdi.note);
}

// The copies, metadata.yml and the XDI at once; the picture at once, or on
// the pool when drawing.
void writeWorkFiles(PendingWork &step, const QDir &workDir, const QString &fileBase,
                    const QString &copyName, const MetaTemplate &tpl, const CommonValues &common,
                    const WorkOptions &options)
{
    const DataSet *dataSet = step.dataSet;
    copyInto(step.failures, dataSet->path, workDir.absoluteFilePath(copyName), true);
    copyInto(step.failures, withSuffix(dataSet->path, QStringLiteral("info")),
             workDir.absoluteFilePath(fileBase + QLatin1String(".info")), false);
    QString why;
    const QString ymlPath = workDir.absoluteFilePath(QStringLiteral("metadata.yml"));
    if (!writeMetadataFile(ymlPath, tpl, common, dataSet->meta, &why))
        addFailure(step.failures, ymlPath, why);
    if (options.writeXdi)
        writeXdi(step, workDir, fileBase, common);
    const QSize imageSize = options.imageSize;
    // The drawing reads the data set, which this pass no longer changes.
    step.picturePath = workDir.absoluteFilePath(fileBase + QLatin1String(".png"));
    if (step.drawing)
        step.picture = QtConcurrent::run(pictureFailure, step.picturePath, imageSize, dataSet);
    else
        step.pictureWhy = pictureFailure(step.picturePath, imageSize, dataSet);
}

// Committed at the end, so a failed pass never leaves half a page in place
// of the last good one; made again by every pass, as the works are, so not
// forced to disk.
void writeIndexPage(WorkPassReport &result, const QDir &worksDirectory, const QString &page)
{
    const QString indexPath = worksDirectory.absoluteFilePath(QStringLiteral("index.html"));
    QString why;
    result.indexWritten =
        writeFileAtomically(indexPath, textFileBytes(page), Durability::Cached, &why);
    if (!result.indexWritten) {
        qDebug() << QStringLiteral("Index File [%1] can not be opened").arg(indexPath);
        addFailure(result.failures, indexPath, why);
    }
}

// Every work of the folder, this pass's and earlier ones', read after the
// pass so that it shows what the folder holds now.
void writeCataloguePage(WorkPassReport &result, const QDir &worksDirectory,
                        const QVector<DataSet *> &flagged, const WorkOptions &options)
{
    const QString worksPath = worksDirectory.absolutePath();
    const QVector<CatalogueEntry> entries =
        readCatalogue(worksPath, knownWorks(worksDirectory, flagged, options).copiesByFolder());
    const QString page = cataloguePage(worksPath, entries, QDateTime::currentDateTime());
    const QString path = worksDirectory.absoluteFilePath(QStringLiteral("catalogue.html"));
    QString why;
    // UTF-8 whatever the locale, as the page says in its head.
    result.catalogueWritten = writeFileAtomically(path, page.toUtf8(), Durability::Cached, &why);
    if (!result.catalogueWritten)
        addFailure(result.failures, path, why);
}

} // namespace

bool runWorkPass(const QDir &worksDirectory, const QList<DataSet *> &dataSets,
                 const WorkOptions &options, const MetaTemplate &tpl, const CommonValues &common,
                 WorkPassReport *report)
{
    WorkPassReport ownReport;
    WorkPassReport &result = report ? *report : ownReport;
    const int failuresBefore = result.failures.size();
    const bool parallel = result.parallel && threadedTextDrawing();
    QString page;
    QTextStream pageOut(&page);
    writeIndexHead(pageOut, pageTitle, pageTitle);

    // Enough works in flight to keep every core drawing, few enough that
    // their pictures do not pile up in memory.
    const int maxPending = 2 * QThreadPool::globalInstance()->maxThreadCount() + 2;
    std::deque<PendingWork> pending;
    const QVector<DataSet *> flagged = flaggedSets(dataSets);
    result.toDo += flagged.size();
    if (result.onProgress)
        result.onProgress(result.finished, result.toDo);
    KnownWorks known = knownWorks(worksDirectory, flagged, options);
    int workCount = 0;
    for (DataSet *dataSet : flagged) {
        const QString fileBase = workFileBase(options, *dataSet);
        const QString copyName = dataCopyName(fileBase, dataSet->path);
        bool again = false;
        const QString workName =
            workFolderFor(known, options, copyName, dataSet->path, workCount, again);
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
            addFailure(step.failures, folder, reason("the work folder can not be created"));
            reportFinished(result, pending, !parallel);
            continue;
        }
        setWorkValues(*dataSet, options, workName, fileBase);
        step.drawing = parallel;
        writeWorkFiles(step, workDir, fileBase, copyName, tpl, common, options);
        writeIndexRow(pageOut, workName, fileBase, copyName);
        step.made = true;
        step.work = {again ? 0 : workCount, again, dataSet->path, workDir.absolutePath()};
        reportFinished(result, pending, !parallel || int(pending.size()) > maxPending);
    }
    reportFinished(result, pending, true);
    writeIndexTail(pageOut);
    pageOut.flush();
    writeIndexPage(result, worksDirectory, page);
    writeCataloguePage(result, worksDirectory, flagged, options);
    return result.failures.size() == failuresBefore;
}

} // namespace korvane
