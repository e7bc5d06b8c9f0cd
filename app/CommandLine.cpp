#include "app/CommandLine.h"

#include "app/Startup.h"

#include "settings/ArgList.h"

#include <QtGlobal>

namespace korvane {

namespace {

const char *const actionNames[] = {"-ldp", "-sdp", "-gcp", "-scp", "-gw"};

BatchAction actionOf(const ArgList &args, const QString &name)
{
    BatchAction action;
    const QStringList values = args.valuesOf(name);
    if (!values.isEmpty()) {
        action.given = true;
        action.value = values.last();
    }
    return action;
}

void quietHandler(QtMsgType, const QMessageLogContext &, const QString &) {}

QtMessageHandler loudHandler = nullptr;

// Critical and fatal messages still go out: they come before a crash.
void batchHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        loudHandler(type, context, message);
}

} // namespace

bool wantsHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "-help" || a == "--help")
            return true;
    }
    return false;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: korvane [options]\n"
        "Turns XAFS data files in the 9809 layout into works: folders with copies of\n"
        "the data and info files, metadata.yml and a PNG thumbnail, plus index.html.\n"
        "Without a batch action it opens its window; with one it runs headless.\n"
        "\n"
        "Start-up\n"
        "  -c FILE        configuration file (default config.cfg)\n"
        "  -e             English interface (no Japanese translation)\n"
        "  -d FILE        open a data file; repeat -d for more files\n"

        "  -h, -help, --help  print this text and exit\n"
        "\n"
        "Settings: option / configuration key (default): meaning\n"
        "  -t   / Template_File (korvane-template.yml): metadata template\n"
        "  -gp  / Gen_Common_Props_File (commProps00.csv): file for a new common-properties "
        "template\n"
        "  -p   / Common_Props_File (commProps.csv): common properties loaded at start\n"
        "  -dp  / Data_Props_File (dataProps.csv): data-properties file offered in the dialogs\n"
        "  -wd  / Works_Dir (works): folder in which works are made\n"
        "  -wun / Work_Use_Name (1): 1 puts the work name in folder names\n"
        "  -wud / Work_Use_Date (1): 1 puts the start date (yyMMdd) in folder names\n"
        "  -wut / Work_Use_Time (1): 1 puts the start time (hhmmss) in folder names\n"
        "  -wub / Work_Use_Branch (1): 1 puts the branch in folder names\n"
        "  -wn  / Work_Name (work): work name part of folder names\n"
        "  -wb  / Work_Branch (work): branch part of folder names\n"
        "  -wui / Use_Work_Folder_Name_As_Local_Id (1): 1 stores the folder name as INFO_015\n"
        "  -wfn / File_Name_in_Work_as_Original (1): 1 keeps the data file's name in the work,\n"
        "         anything else uses the canonical name (name-id-beamline-date)\n"
        "  -cw  / Set_Create_Work_Flag (1): 1 flags every opened file for a work\n"
        "  -xdi / Write_XDI (0): 1 also writes <name>.xdi in each work: the scan in XDI 1.0\n"
        "         for analysis programs, in increasing energy, with every raw channel, the\n"
        "         curve of the thumbnail and the element and edge (SMPL_011 and SMPL_012\n"
        "         when given, else found at the edge step). A scan of more than 16384 XDI\n"
        "         lines gets none, and an edge that may be one of two is marked: each is\n"
        "         told per work and in the summary\n"
        "  Img_W (1024), Img_H (1024): thumbnail size (configuration file only)\n"
        "  INCLUDE FILE: reads another configuration file at that line\n"
        "\n"
        "Batch actions (run in this order; matched exactly; also as configuration keys)\n"
        "  -files FILE...  open these data files too (command line only; up to the next option)\n"
        "  -ldp FILE      load the data properties from FILE\n"
        "  -sdp FILE      save the data properties to FILE\n"
        "  -gcp FILE      write the common-properties template to FILE\n"
        "  -scp FILE      save the common properties to FILE\n"
        "  -gw [DIR]      generate works into DIR (default: the -wd / Works_Dir setting)\n"
        "  -v             verbose: the whole debug log on standard error too; without it\n"
        "                 standard error carries only korvane's own lines (one per work,\n"
        "                 warnings, failures with their reasons, the summary)\n"
        "\n"
        "Exit status of a batch run: 0 all done, 1 a file could not be read or written,\n"
        "2 usage error.\n");
}

bool batchRequested(const ArgList &args)
{
    for (const char *name : actionNames) {
        if (args.has(QLatin1String(name)))
            return true;
    }
    return false;
}

BatchPlan planBatch(const ArgList &args, const QStringList &arguments)
{
    BatchPlan plan;
    plan.loadDataProps = actionOf(args, QStringLiteral("-ldp"));
    plan.saveDataProps = actionOf(args, QStringLiteral("-sdp"));
    plan.genCommProps = actionOf(args, QStringLiteral("-gcp"));
    plan.saveCommProps = actionOf(args, QStringLiteral("-scp"));
    plan.genWorks = actionOf(args, QStringLiteral("-gw"));

    const struct
    {
        const BatchAction &action;
        const char *name;
    } needFile[] = {{plan.loadDataProps, "-ldp"},
                    {plan.saveDataProps, "-sdp"},
                    {plan.genCommProps, "-gcp"},
                    {plan.saveCommProps, "-scp"}};
    for (const auto &a : needFile) {
        if (a.action.given && a.action.value.isEmpty()) {
            plan.usageError = QStringLiteral("%1 needs a file name, as in: korvane %1 FILE "
                                             "(korvane -h lists every option)")
                                  .arg(QLatin1String(a.name));
            return plan;
        }
    }

    plan.dataFiles = args.valuesOf(QStringLiteral("-d"));
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) != QLatin1String("-files"))
            continue;
        for (++i; i < arguments.size() && !arguments.at(i).startsWith(QLatin1Char('-')); ++i)
            plan.dataFiles << arguments.at(i);
        --i;
    }
    return plan;
}

ArgList argsBeforeStart(int argc, char **argv)
{
    ArgList args;
    const QtMessageHandler previous = qInstallMessageHandler(quietHandler);
    readArgs(args, argc, argv);
    qInstallMessageHandler(previous);
    return args;
}

void quietenBatchLog(bool verbose)
{
    if (!verbose)
        loudHandler = qInstallMessageHandler(batchHandler);
}

} // namespace korvane
