#pragma once
// The command line beyond the settings: help, and the actions of a batch run
// (a whole job without a window).

#include <QString>
#include <QStringList>

namespace korvane {

class ArgList;

// -h, -help or --help anywhere on the command line.
bool wantsHelp(int argc, char **argv);
// Every option and configuration key with its default and meaning.
QString helpText();

struct BatchAction
{
    bool given = false;
    QString value; // the later value when given twice
};

struct BatchPlan
{
    QStringList dataFiles; // -d values in order, then the words after -files
    BatchAction loadDataProps, saveDataProps, genCommProps, saveCommProps, genWorks;
    QString usageError; // non-empty: the run must stop with exit code 2
};

// True when any batch action is given, on the command line or as a key of
// the configuration file (matched exactly, like -d).
bool batchRequested(const ArgList &args);
// Reads the actions from args and the data files from -d and from the words
// that follow -files in arguments (the command line without Qt's options).
BatchPlan planBatch(const ArgList &args, const QStringList &arguments);
// The settings as they are before the application object exists, for the
// choices that must be made first (batch mode, -v): a throwaway store filled
// from argv and the configuration file, read without messages.
ArgList argsBeforeStart(int argc, char **argv);
// For a batch run: keeps Qt's debug, information and warning messages (the
// template's dump, the platform's complaints) off standard error unless
// verbose, so that it carries korvane's own lines only.
void quietenBatchLog(bool verbose);

} // namespace korvane
