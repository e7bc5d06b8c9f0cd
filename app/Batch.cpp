#include "app/Batch.h"

#include "app/CommandLine.h"
#include "data/DataSet.h"
#include "settings/ArgList.h"
#include "ui/Body.h"
#include "works/WorkPass.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace korvane {

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

// Runs one file action; a failure stops the run before the next action.
bool runAction(const BatchAction &action, const char *option, const QString &what,
               bool (Body::*method)(const QString &, QString *), Body &body)
{
    if (!action.given)
        return true;
    QString why;
    if ((body.*method)(action.value, &why))
        return true;
    say(QStringLiteral("korvane: %1 (%2 %3) failed: %4")
            .arg(what, QLatin1String(option), action.value, why));
    return false;
}

// The template and the common properties the window read at its start. One
// named by an option or a configuration key, or a default one that is there,
// that was not read stops the run before any action: metadata.yml would
// silently lose its lines or the common values. A default file that is
// simply absent only warns.
bool startFilesRead(const Body &body)
{
    const struct
    {
        const FileResult &file;
        const char *key, *option;
        QString failure;
    } files[] = {{body.templateRead, "Template_File", "-t",
                  QStringLiteral("template %1 cannot be read: %2")
                      .arg(body.templateFile, body.templateRead.why)},
                 {body.commonRead, "Common_Props_File", "-p",
                  QStringLiteral("common properties: %1").arg(body.commonRead.why)}};
    bool ok = true;
    for (const auto &f : files) {
        if (f.file.ok)
            continue;
        const bool named = !appArgs.valueOf(QLatin1String(f.key)).isEmpty() ||
                           !appArgs.valueOf(QLatin1String(f.option)).isEmpty();
        if (named || QFileInfo::exists(f.file.path)) {
            say(QStringLiteral("korvane: %1").arg(f.failure));
            ok = false;
        } else if (&f.file == &body.templateRead) {
            say(QStringLiteral("korvane: warning: template %1 cannot be read; metadata.yml will "
                               "have no lines")
                    .arg(body.templateFile));
        }
    }
    return ok;
}

// The works whose XDI file was left out or is unsure, for the summary.
QString xdiSummary(const WorkPassReport &report)
{
    QStringList parts;
    if (report.xdiLeftOut)
        parts << QStringLiteral("%1 without XDI (too long for its readers)").arg(report.xdiLeftOut);
    if (report.xdiAmbiguous)
        parts << QStringLiteral("%1 with an ambiguous edge").arg(report.xdiAmbiguous);
    if (report.xdiNoElement)
        parts << QStringLiteral("%1 with no element in the XDI").arg(report.xdiNoElement);
    return parts.isEmpty() ? QString()
                           : QStringLiteral(" (%1)").arg(parts.join(QLatin1String(", ")));
}

} // namespace

int runBatch(Body &body, const BatchPlan &plan)
{
    QElapsedTimer clock;
    clock.start();

    if (!startFilesRead(body))
        return 1;

    int opened = 0;
    int rejected = 0;
    int twice = 0;
    for (const QString &file : plan.dataFiles) {
        QString why;
        switch (body.openDataFile(file, &why)) {
        case Body::Opening::Opened:
            ++opened;
            break;
        case Body::Opening::AlreadyOpen:
            ++twice;
            say(QStringLiteral("korvane: data file %1 is already open (as %2); not opened again")
                    .arg(file, body.openedAs(file)->path));
            break;
        case Body::Opening::Rejected:
            ++rejected;
            say(QStringLiteral("korvane: data file %1 rejected: %2").arg(file, why));
            break;
        }
    }

    int works = 0;
    QString xdi;
    bool ok = runAction(plan.loadDataProps, "-ldp", QStringLiteral("loading data properties"),
                        &Body::readDataProps, body) &&
              runAction(plan.saveDataProps, "-sdp", QStringLiteral("saving data properties"),
                        &Body::writeDataProps, body) &&
              runAction(plan.genCommProps, "-gcp",
                        QStringLiteral("writing the common-properties template"),
                        &Body::writeCommPropsTemplate, body) &&
              runAction(plan.saveCommProps, "-scp", QStringLiteral("saving common properties"),
                        &Body::writeCommProps, body);

    if (ok && plan.genWorks.given) {
        const QString dir = plan.genWorks.value.isEmpty() ? body.worksDir : plan.genWorks.value;
        body.setWorksDirectory(dir);
        WorkPassReport report;
        report.parallel = true; // nothing else runs while the pass does
        report.onWork = [](const WorkPassReport::Work &w) {
            const QString folder = QDir::toNativeSeparators(w.folder);
            if (w.again)
                say(QStringLiteral("work again: %1 -> %2").arg(w.dataPath, folder));
            else
                say(QStringLiteral("work %1: %2 -> %3")
                        .arg(QString::number(w.number), w.dataPath, folder));
        };
        if (!body.runWorks(&report)) {
            ok = false;
            for (const QString &failure : report.failures)
                say(QStringLiteral("korvane: generating works in %1: %2").arg(dir, failure));
        }
        for (const QString &note : report.xdiNotes)
            say(QStringLiteral("korvane: XDI: %1").arg(note));
        works = report.made.size();
        xdi = xdiSummary(report);
    }

    const QString alreadyOpen = twice ? QStringLiteral("%1 already open, ").arg(twice) : QString();
    say(QStringLiteral("korvane: %1 files opened, %2%3 rejected, %4 works made%5 in %6 s")
            .arg(QString::number(opened), alreadyOpen, QString::number(rejected),
                 QString::number(works), xdi, QString::number(clock.elapsed() / 1000.0, 'f', 2)));
    return (ok && rejected == 0) ? 0 : 1;
}

} // namespace korvane
