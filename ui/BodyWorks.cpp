// The generation of works, as the window starts it: the widgets are read
// into plain options and handed to the pass of works/WorkPass.

#include "data/DataSet.h"
#include "ui/Body.h"
#include "works/Thumbnail.h"
#include "works/WorkPass.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>

namespace korvane {

namespace {

// Clicks and keys that come while works are made are dropped, not kept for
// later: a click on a button of a busy window must not act once it is idle.
class InputBlocker : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

void Body::setWorksDirectory(const QString &path)
{
    worksDirectory = QDir(path);
    QDir().mkpath(worksDirectory.absolutePath());
}

bool Body::runWorks(WorkPassReport *report)
{
    WorkOptions options;
    options.useWork = ui.Use01Work->isChecked();
    options.work = ui.Term01Work->text();
    options.useDate = ui.Use02Date->isChecked();
    options.date = ui.Term02Date->text();
    options.useTime = ui.Use03Time->isChecked();
    options.time = ui.Term03Time->text();
    options.useBranch = ui.Use04Branch->isChecked();
    options.branch = ui.Term04Branch->text();
    options.localId = ui.UseWorkFolderNameAsLocalId->isChecked();
    options.originalNames = ui.FNinWorkOrig->isChecked();
    options.imageSize = thumbnailSize(ui.ImageSizeW->text(), ui.ImageSizeH->text());
    options.writeXdi = ui.WriteXdi->isChecked();
    return runWorkPass(worksDirectory, dataSets, options, tpl, commonValues(), report);
}

void Body::genWorks()
{
    if (passRunning)
        return;
    passRunning = true;
    const QString folder = QDir::toNativeSeparators(worksDirectory.absolutePath());
    statusText->setText(tr("Making works in %1 ...").arg(folder));
    statusText->setToolTip(QString());
    passProgress->reset();
    passProgress->show();
    indexLink->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    // One thread changes the window: the pass runs here and only its
    // pictures are drawn on the pool. Between works the window repaints;
    // clicks and keys meanwhile go nowhere.
    InputBlocker blocker;
    qApp->installEventFilter(&blocker);
    WorkPassReport report;
    report.parallel = true;
    QElapsedTimer sinceEvents;
    // At most every 20 ms: the bar repaints itself at once on every new
    // value, which for a thousand small works would cost more than they do.
    report.onProgress = [this, &sinceEvents](int finished, int toDo) {
        if (finished > 0 && sinceEvents.elapsed() < 20)
            return;
        passProgress->setMaximum(toDo);
        passProgress->setValue(finished);
        QCoreApplication::processEvents();
        sinceEvents.start();
    };
    runWorks(&report);
    // What came in since the last repaint is dropped too.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&blocker);

    QApplication::restoreOverrideCursor();
    passProgress->hide();
    passRunning = false;
    ActionOutcome outcome = passOutcome(folder, report.toDo, report.made.size(), report.failures);
    // What an XDI file left out or could not decide is told with the failures.
    if (!report.xdiNotes.isEmpty())
        outcome =
            joined(outcome, {tr("XDI notes: %1").arg(report.xdiNotes.size()), report.xdiNotes});
    // Files dropped during the pass were refused; that is told here.
    if (!openRejections.isEmpty())
        outcome = joined(outcome, openingOutcome(0, openRejections));
    openedCount = 0;
    openRejections.clear();
    showOutcome(outcome);
    // The pages of the works folder, a click away.
    QStringList links;
    const auto link = [this](const char *page, const QString &text) {
        const QUrl url = QUrl::fromLocalFile(worksDirectory.absoluteFilePath(page));
        return QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), text.toHtmlEscaped());
    };
    if (report.indexWritten)
        links << link("index.html", tr("Open index.html"));
    if (report.catalogueWritten)
        links << link("catalogue.html", tr("Open catalogue.html"));
    indexLink->setText(links.join(QStringLiteral(" &nbsp; ")));
    indexLink->setVisible(!links.isEmpty());
    // The next pass is offered the same folder.
    saveWorksDialog.selectFile(worksDirectory.absolutePath());
}

void Body::genWorks(const QString &worksDirName)
{
    setWorksDirectory(worksDirName);
    genWorks();
}

} // namespace korvane
