#include "app/Startup.h"

#include "settings/ArgList.h"

#include <QCoreApplication>
#include <QLibraryInfo>
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
