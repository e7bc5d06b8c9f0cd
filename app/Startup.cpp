#include "app/Startup.h"

#include "settings/ArgList.h"

#include <QCoreApplication>
#include <QTranslator>

static void registerResources()
{
    Q_INIT_RESOURCE(korvane_translations);
}

void initKorvaneResources()
{
    registerResources();
}

void fillAppArgs(int argc, char **argv)
{
    appArgs.parse(argc, argv);
    appArgs.readConfig(appArgs.valueOf(QStringLiteral("-c"), QStringLiteral("config.cfg")));
}

bool installTranslation(QCoreApplication &app, QTranslator &translator)
{
    if (appArgs.has(QStringLiteral("-e")))
        return false;
    const bool loaded =
        translator.load(QStringLiteral(":korvane_ja_JP"), QCoreApplication::applicationDirPath());
    // Installed even when empty: an empty translator translates nothing.
    app.installTranslator(&translator);
    return loaded;
}
