#pragma once
// What one generation pass made and what went wrong, for callers that report
// it (the batch mode); the window ignores it.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

struct WorkPassReport
{
    struct Work
    {
        int number = 0;   // workCount of the work
        QString dataPath; // the data file the work was made from
        QString folder;   // absolute path of the work folder
    };
    QVector<Work> made;    // in the order of the works
    QStringList failures;  // one line each: the file or folder, then why
    bool indexWritten = false;
    // Called once per work made, right after its page row.
    std::function<void(const Work &)> onWork;
};
