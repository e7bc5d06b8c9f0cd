#include "app/Startup.h"

#include "settings/ArgList.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

static void registerResources()
{
    Q_INIT_RESOURCE(korvane_translations);
}

namespace korvane {

void initKorvaneResources()
{
    registerResources();
}

bool readArgs(ArgList &args, int argc, char **argv, QString *why)
{
    ArgList commandLine;
    commandLine.parse(argc, argv);
    const bool read = args.readConfig(
        commandLine.valueOf(QStringLiteral("-c"), QStringLiteral("config.cfg")), why);
    args.append(commandLine);
    return read;
}

bool fillAppArgs(int argc, char **argv, QString *why)
{
    return readArgs(appArgs, argc, argv, why);
}

bool installTranslation(QCoreApplication &app, QTranslator &translator, QTranslator &qtTranslator)
{
    if (appArgs.has(QStringLiteral("-e")))
        return false;
    const bool loaded =
        translator.load(QStringLiteral(":korvane_ja_JP"), QCoreApplication::applicationDirPath());
    // Installed even when empty: an empty translator translates nothing.
    app.installTranslator(&translator);
    // Without it the buttons and boxes of the file dialogs stay English in a
    // Japanese window. A system without Qt's translations keeps them English.
    if (qtTranslator.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
    return loaded;
}

} // namespace korvane
