#pragma once
// What the window's status line says after each action. Made from plain
// values, so that the wording is checked without a window; the texts are
// translated in the window's context.

#include <QString>
#include <QStringList>

namespace korvane {

struct ActionOutcome
{
    QString summary;      // what the action did
    QStringList failures; // each names what failed and why, in the order met
};

// One file read or written by an action.
struct FileResult
{
    QString path;
    bool ok = false;
    int rows = 0; // the rows it holds, when ok
    QString why;  // why not, when not ok
};

// The summary, then the first failure and how many there were.
QString statusLine(const ActionOutcome &outcome);
// Every failure, one a line; the line itself when nothing failed, so that a
// line cut short by a narrow window can still be read whole.
QString statusToolTip(const ActionOutcome &outcome);
// Two outcomes told as one line, the first first.
ActionOutcome joined(const ActionOutcome &first, const ActionOutcome &second);

// Data files opened by one action; rejected holds "name: why" per file.
ActionOutcome openingOutcome(int opened, const QStringList &rejected);

enum class PropsAction
{
    LoadData,
    SaveData,
    SaveCommonTemplate,
    LoadCommon,
    SaveCommon
};
ActionOutcome propsOutcome(PropsAction action, const FileResult &file);

// A generation pass into folder: works to do, works made, and every failure.
ActionOutcome passOutcome(const QString &folder, int toDo, int made, const QStringList &failures);

// The window's start: the template (why is the bare reason) and the common
// properties (why names the file already).
ActionOutcome startOutcome(const FileResult &templateFile, const FileResult &commonProps);

} // namespace korvane
