#include "app/Application.h"

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "settings/ArgList.h"
#include "ui/Body.h"

#include <QApplication>
#include <QTranslator>
#include <cstdio>

namespace korvane {

int runKorvane(int &argc, char **argv)
{
    if (wantsHelp(argc, argv)) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }
    initKorvaneResources();
    // A batch run needs no display; the platform must be chosen before the
    // application object exists, so the batch options are looked at first.
    const ArgList early = argsBeforeStart(argc, argv);
    const bool batch = batchRequested(early);
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before the application object, which has messages of its own.
    if (batch)
        quietenBatchLog(early.has(QStringLiteral("-v")));

    QApplication app(argc, argv); // takes out the options Qt handles itself
    QTranslator translator;
    QTranslator qtTranslator;
    QString configWhy;
    const bool configRead = fillAppArgs(argc, argv, &configWhy);
    // A batch run's lines are English, reasons included, for the scripts
    // that read them; the window speaks Japanese.
    if (!batchRequested(appArgs))
        installTranslation(app, translator, qtTranslator);

    if (batchRequested(appArgs)) {
        // A configuration file named on purpose must be there; the default
        // one may be absent.
        if (!configRead && appArgs.has(QStringLiteral("-c"))) {
            std::fputs(qPrintable(QStringLiteral("korvane: configuration file %1 cannot be read: "
                                                 "%2\n")
                                      .arg(appArgs.valueOf(QStringLiteral("-c")), configWhy)),
                       stderr);
            return 1;
        }
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromUtf8(argv[i]);
        const BatchPlan plan = planBatch(appArgs, arguments);
        if (!plan.usageError.isEmpty()) {
            std::fputs(qPrintable(QStringLiteral("korvane: %1\n").arg(plan.usageError)), stderr);
            return 2;
        }
        Body body;
        return runBatch(body, plan);
    }

    Body body;
    body.showOnScreen();
    for (const QString &dataName : appArgs.valuesOf(QStringLiteral("-d")))
        body.openData(dataName);
    return app.exec();
}

} // namespace korvane
