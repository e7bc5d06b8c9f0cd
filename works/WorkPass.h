#pragma once
// What one generation pass made and what went wrong, for callers that report
// it (the batch mode); the window ignores it.

#include "template/Render.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QDir;

namespace korvane {

class DataSet;
class MetaTemplate;

struct WorkPassReport
{
    struct Work
    {
        int number = 0;     // workCount of a new work; 0 for one found again
        bool again = false; // the scan's work of an earlier pass, made anew
        QString dataPath;   // the data file the work was made from
        QString folder;     // absolute path of the work folder
    };
    QVector<Work> made;   // every file written, in the order of the works
    QStringList failures; // one line each: the file or folder, then why
    // What a made work's XDI file left out or could not decide, one line
    // each ("the data file: what"), and how many works each kind concerns.
    QStringList xdiNotes;
    int xdiLeftOut = 0;   // too long for the format: no XDI
    int xdiAmbiguous = 0; // the edge is one of two
    int xdiNoElement = 0; // no edge found: no element
    bool indexWritten = false;
    bool catalogueWritten = false;
    // Called once per work made, in the order of the works, once its files
    // are written.
    std::function<void(const Work &)> onWork;
    // Works made or failed so far, and works the pass is to make (one per
    // flagged data set); onProgress is called with both before the first
    // work and after each, on the pass's thread.
    int finished = 0;
    int toDo = 0;
    std::function<void(int finished, int toDo)> onProgress;
    // Draw and encode the pictures on every core while the next works are
    // copied and rendered. The files, the works, their order and the failures
    // are those of the one-thread pass; the data sets must not change until
    // the pass returns. Where the platform cannot draw text on other threads
    // the pictures are drawn on the calling thread all the same.
    bool parallel = false;
};

// The controls of the window that steer a pass, as plain values.
struct WorkOptions
{
    bool useWork = false;
    QString work;
    bool useDate = false;
    QString date;
    bool useTime = false;
    QString time;
    bool useBranch = false;
    QString branch;
    bool localId = false;      // the folder name becomes INFO_015
    bool originalNames = true; // the data file's base name, else the canonical one
    QSize imageSize = QSize(1024, 1024);
    bool writeXdi = false; // <fileBase>.xdi beside the copies
};

// The absolute path of the file beside path named by everything of path's
// name before its last dot, a dot and suffix.
QString withSuffix(const QString &path, const QString &suffix);
// The folder name of the workCount-th work of a pass: the checked name parts
// each after a "-" (except the first), then "-" and the count in four digits.
QString workFolderName(const WorkOptions &options, int workCount);
// The base name of the files in a work: the data file's own, or the canonical
// one made of the base name and header items.
QString workFileBase(const WorkOptions &options, const DataSet &dataSet);

// One generation pass into worksDirectory: a work for every data set whose
// "SYS_001" is 1, then index.html (this pass's works) and catalogue.html
// (every work of the folder). A scan whose copy (same name, same bytes) a
// folder already holds is made anew there, consuming no number; a new
// work passes over every numbered folder that holds a data copy, its number
// with it. Writes the work's own values into the data sets' meta. False when
// anything failed; report (when given) tells what.
bool runWorkPass(const QDir &worksDirectory, const QList<DataSet *> &dataSets,
                 const WorkOptions &options, const MetaTemplate &tpl, const CommonValues &common,
                 WorkPassReport *report = nullptr);

} // namespace korvane
