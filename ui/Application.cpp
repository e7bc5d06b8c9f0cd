#include "ui/Application.h"

#include "app/ArgList.h"
#include "app/Startup.h"
#include "ui/Body.h"

#include <QApplication>
#include <QTranslator>

int runKorvane(int &argc, char **argv)
{
    initKorvaneResources();
    QApplication app(argc, argv); // takes out the options Qt handles itself
    QTranslator translator;
    fillAppArgs(argc, argv);
    installTranslation(app, translator);

    Body body;
    body.show();
    for (const QString &dataName : appArgs.valuesOf(QStringLiteral("-d")))
        body.openData(dataName);
    return app.exec();
}
