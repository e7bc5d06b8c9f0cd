#include "ui/Body.h"

#include "data/DataSet.h"
#include "props/PropUi.h"
#include "settings/ArgList.h"
#include "text/TextFile.h"
#include "text/Why.h"
#include "ui/ScanList.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCompleter>
#include <QCursor>
#include <QDateTime>
#include <QDebug>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>

namespace korvane {

namespace {

QString setting(const char *def, const char *key, const char *option)
{
    return appArgs.setting(QLatin1String(def), QLatin1String(key), QLatin1String(option));
}

// A check box follows its setting in every case, so that the form's initial
// state never survives: only the integer 1 checks it.
void setCheckedFrom(QCheckBox *box, const QString &value)
{
    box->setChecked(value.toInt() == 1);
}

// korvane's own settings file in the user's configuration folder, never the
// current folder; one that cannot be read gives the defaults.
QSettings windowSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("korvane"),
                     QStringLiteral("window"));
}

// The dialog button opens, named after it. It starts in the folder it was
// last used in, when that is still there.
void setupDialog(QFileDialog &dialog, QPushButton *button, const QString &title,
                 QFileDialog::AcceptMode acceptMode, QFileDialog::FileMode fileMode,
                 const QString &typeFilter, const QString &preselected)
{
    dialog.setObjectName(button->objectName() + QLatin1String("Dialog"));
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    if (!typeFilter.isEmpty())
        // Patterns are split at blanks: "*" alone takes names without a dot (fe010).
        dialog.setNameFilters({typeFilter, Body::tr("Any Files (*)")});
    if (!preselected.isEmpty())
        dialog.selectFile(preselected);
    const QString folder =
        windowSettings().value(QStringLiteral("folders/") + dialog.objectName()).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    QObject::connect(button, &QPushButton::clicked, &dialog, &QFileDialog::show);
    // A name typed and taken with Enter can leave the name field's
    // completion list open; it would stay over the window and eat the next
    // click.
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
        for (const QCompleter *completer : dialog.findChildren<QCompleter *>())
            if (completer->popup())
                completer->popup()->hide();
    });
}

} // namespace

// The dialogs belong to the window: each stays above it, and a click on the
// window never sends one behind it.
Body::Body(QWidget *parent)
    : QFrame(parent), loadDataFilesDialog(this), loadDataPropsDialog(this),
      saveDataPropsDialog(this), genCommPropsDialog(this), saveCommPropsDialog(this),
      loadCommPropsDialog(this), saveWorksDialog(this)
{
    ui.setupUi(this);
    buildStatusLine();
    buildScanList();
    readSettings();
    setupDialogs();
    connect(ui.DataFilesDropArea, &DropArea::dropped, this, &Body::loadDroppedDataFiles);
    // Every drag over the window comes here first: a line edit of the
    // sheet would otherwise take a file's name in as text.
    setAcceptDrops(true);
    QCoreApplication::instance()->installEventFilter(this);
    readStartFiles();
}

bool Body::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QFrame::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    auto *drop = static_cast<QDropEvent *>(event);
    if (!widget || widget == ui.DataFilesDropArea || widget->window() != window() ||
        !drop->mimeData()->hasUrls())
        return false;
    if (type == QEvent::Drop)
        ui.DataFilesDropArea->takeUrls(drop->mimeData()->urls());
    drop->acceptProposedAction();
    return true;
}

QRect fittedGeometry(const QSize &preferred, const QRect &available)
{
    QRect fitted(QPoint(), preferred.boundedTo(available.size()));
    fitted.moveCenter(available.center());
    return fitted;
}

void Body::showOnScreen()
{
    QSettings settings = windowSettings();
    const bool restored = restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray());
    const QScreen *screen =
        QGuiApplication::screenAt(restored ? geometry().center() : QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        // The frame the window manager adds is not known before the window
        // is shown: a window placed anew keeps a margin for it.
        const QRect area = screen->availableGeometry().adjusted(0, 0, 0, -32);
        if (!restored)
            setGeometry(fittedGeometry(QSize(1604, 954), area));
        // A size kept from a bigger screen is fitted to this one.
        else if (!screen->availableGeometry().contains(geometry()))
            setGeometry(fittedGeometry(size(), area));
    }
    show();
    // Once the window has its size: the splitter shares out what it has.
    splitter->restoreState(settings.value(QStringLiteral("splitter")).toByteArray());
    scanList->horizontalHeader()->restoreState(
        settings.value(QStringLiteral("scanColumns")).toByteArray());
}

void Body::closeEvent(QCloseEvent *event)
{
    QSettings settings = windowSettings();
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("splitter"), splitter->saveState());
    settings.setValue(QStringLiteral("scanColumns"), scanList->horizontalHeader()->saveState());
    for (const QFileDialog *dialog : findChildren<QFileDialog *>())
        settings.setValue(QStringLiteral("folders/") + dialog->objectName(),
                          dialog->directory().absolutePath());
    QFrame::closeEvent(event);
}

void Body::buildStatusLine()
{
    // A row of its own under the three frames of the form.
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    statusBar->setSizeGripEnabled(false);
    statusText = new QLabel(statusBar);
    statusText->setObjectName(QStringLiteral("StatusText"));
    statusText->setTextFormat(Qt::PlainText);
    // A long path must not widen the window; the tooltip has it whole.
    statusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar->addWidget(statusText, 1);
    passProgress = new QProgressBar(statusBar);
    passProgress->setObjectName(QStringLiteral("PassProgress"));
    passProgress->setFormat(QStringLiteral("%v / %m"));
    // Wide enough that a step of a night of a thousand works still shows.
    passProgress->setMinimumWidth(320);
    passProgress->hide();
    statusBar->addPermanentWidget(passProgress);
    indexLink = new QLabel(statusBar);
    indexLink->setObjectName(QStringLiteral("IndexLink"));
    indexLink->setTextFormat(Qt::RichText);
    // The desktop's handler opens the page.
    indexLink->setOpenExternalLinks(true);
    indexLink->hide();
    statusBar->addPermanentWidget(indexLink);
    ui.gridLayout->addWidget(statusBar, 3, 0);
}

void Body::readSettings()
{
    // Settings, in this order: options beat configuration keys, which beat
    // the defaults.
    templateFile = setting("korvane-template.yml", "Template_File", "-t");
    genCommPropsFile = setting("commProps00.csv", "Gen_Common_Props_File", "-gp");
    commPropsFile = setting("commProps.csv", "Common_Props_File", "-p");
    dataPropsFile = setting("dataProps.csv", "Data_Props_File", "-dp");
    worksDir = setting("works", "Works_Dir", "-wd");
    setCheckedFrom(ui.Use01Work, setting("1", "Work_Use_Name", "-wun"));
    setCheckedFrom(ui.Use02Date, setting("1", "Work_Use_Date", "-wud"));
    setCheckedFrom(ui.Use03Time, setting("1", "Work_Use_Time", "-wut"));
    setCheckedFrom(ui.Use04Branch, setting("1", "Work_Use_Branch", "-wub"));
    ui.Term01Work->setText(setting("work", "Work_Name", "-wn"));
    // The date and the time are the program's start; a later generation
    // pass keeps them.
    ui.Term02Date->setText(QDateTime::currentDateTime().toString(QStringLiteral("yyMMdd")));
    ui.Term03Time->setText(QDateTime::currentDateTime().toString(QStringLiteral("hhmmss")));
    ui.Term04Branch->setText(setting("work", "Work_Branch", "-wb"));
    setCheckedFrom(ui.UseWorkFolderNameAsLocalId,
                   setting("1", "Use_Work_Folder_Name_As_Local_Id", "-wui"));

    // The window owns the group, so it goes with the window.
    auto *fileNameGroup = new QButtonGroup(this);
    fileNameGroup->addButton(ui.FNinWorkOrig);
    fileNameGroup->addButton(ui.FNinWorkCanon);
    fileNameGroup->setExclusive(true);

    if (setting("1", "File_Name_in_Work_as_Original", "-wfn").toInt() == 1)
        ui.FNinWorkOrig->setChecked(true);
    else
        ui.FNinWorkCanon->setChecked(true);
    setCheckedFrom(ui.SetCreateWorkFlag, setting("1", "Set_Create_Work_Flag", "-cw"));
    setCheckedFrom(ui.WriteXdi, setting("0", "Write_XDI", "-xdi"));
    // The image size has no option: only the configuration file sets it.
    ui.ImageSizeW->setText(appArgs.valueOf(QStringLiteral("Img_W"), QStringLiteral("1024")));
    ui.ImageSizeH->setText(appArgs.valueOf(QStringLiteral("Img_H"), QStringLiteral("1024")));
}

void Body::setupDialogs()
{
    // The dialogs are modeless members, so each keeps its folder and
    // selection from one use to the next.
    // Quick scans are written with the suffix .qd.
    const QString dataFilter = tr("XAFS Data Files (*.dat *.qd)");
    const QString dataPropsFilter = tr("Data Props File (*.csv)");
    const QString commPropsFilter = tr("Common Props File (*.csv)");

    setupDialog(loadDataFilesDialog, ui.LoadDataFiles, tr("Load Data Files"),
                QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, dataFilter, QString());
    connect(&loadDataFilesDialog, &QFileDialog::filesSelected, this, &Body::loadDataFiles);

    setupDialog(saveDataPropsDialog, ui.SaveDataProps, tr("Save Props of Data"),
                QFileDialog::AcceptSave, QFileDialog::AnyFile, dataPropsFilter, dataPropsFile);
    connect(&saveDataPropsDialog, &QFileDialog::fileSelected, this, &Body::saveDataProps);

    setupDialog(loadDataPropsDialog, ui.LoadDataProps, tr("Load Props of Data"),
                QFileDialog::AcceptOpen, QFileDialog::ExistingFile, dataPropsFilter, dataPropsFile);
    connect(&loadDataPropsDialog, &QFileDialog::fileSelected, this, &Body::loadDataProps);

    setupDialog(genCommPropsDialog, ui.GenCommProps, tr("Save Common Props Template"),
                QFileDialog::AcceptSave, QFileDialog::AnyFile, commPropsFilter, genCommPropsFile);
    connect(&genCommPropsDialog, &QFileDialog::fileSelected, this, &Body::genCommProps);

    setupDialog(saveCommPropsDialog, ui.SaveCommProps, tr("Save Common Props"),
                QFileDialog::AcceptSave, QFileDialog::AnyFile, commPropsFilter, commPropsFile);
    connect(&saveCommPropsDialog, &QFileDialog::fileSelected, this, &Body::saveCommProps);

    setupDialog(loadCommPropsDialog, ui.LoadCommProps, tr("Load Common Props"),
                QFileDialog::AcceptOpen, QFileDialog::ExistingFile, commPropsFilter, commPropsFile);
    connect(&loadCommPropsDialog, &QFileDialog::fileSelected, this, &Body::loadCommProps);

    setupDialog(saveWorksDialog, ui.GenWorks, tr("Save Works"), QFileDialog::AcceptSave,
                QFileDialog::Directory, QString(), worksDir);
    // Queued: the dialog is gone from the screen before the pass begins.
    connect(&saveWorksDialog, &QFileDialog::fileSelected, this,
            qOverload<const QString &>(&Body::genWorks), Qt::QueuedConnection);
}

void Body::readStartFiles()
{
    // Both are in place before the window is shown and any data file opens.
    templateRead = {QFileInfo(templateFile).absoluteFilePath(), false, 0, QString()};
    TextFileReader templateReader;
    templateRead.ok = templateReader.open(templateFile, &templateRead.why);
    if (templateRead.ok)
        tpl.load(templateReader.stream());
    commonRead = {commPropsFile, false, 0, QString()};
    commonRead.ok = readCommProps(commPropsFile, &commonRead.why);
    commonRead.rows = propsRows;
    startReport = korvane::startOutcome(templateRead, commonRead);
    showOutcome(startReport);
    startPending = true;
    queueOpeningOutcome();
}

Body::~Body()
{
    // The list and the preview go with the window, after the records and
    // the list of them: they must not look at either meanwhile.
    scanList->setModel(nullptr);
    delete scanModel;
    scanPreview->setDataSet(nullptr);
    qDeleteAll(dataSets);
    // The rows' widgets live in the window's grid and go with the window;
    // only the unparented row frames are ours to delete.
    qDeleteAll(propRows);
}

DataSet *Body::openedAs(const QString &dataName) const
{
    const QString canonical = QFileInfo(dataName).canonicalFilePath();
    if (canonical.isEmpty())
        return nullptr;
    for (DataSet *dataSet : dataSets)
        if (dataSet->canonicalPath == canonical)
            return dataSet;
    return nullptr;
}

Body::Opening Body::openDataFile(const QString &dataName, QString *why)
{
    // The flag is taken per file, when the file is opened.
    const bool createWork = ui.SetCreateWorkFlag->isChecked();
    if (why)
        why->clear();
    // One scan, one record: a second record would be a second work of it.
    if (openedAs(dataName)) {
        if (why)
            *why = tr("already open");
        return Opening::AlreadyOpen;
    }
    auto *dataSet = new DataSet;
    dataSet->openFile(createWork, dataName, &tpl, why);
    if (!dataSet->ok) {
        delete dataSet;
        if (why && why->isEmpty())
            *why = reason("not a readable 9809 data file");
        return Opening::Rejected;
    }
    scanModel->beginAppend();
    dataSets.append(dataSet);
    scanModel->endAppend();
    ui.DataFiles->addItem(dataSet->fileName);
    // The first file opened is shown at once.
    if (!scanList->currentIndex().isValid())
        scanList->setCurrentIndex(scanModel->index(dataSets.size() - 1, ScanListModel::File));
    return Opening::Opened;
}

void Body::showOutcome(const ActionOutcome &outcome)
{
    statusText->setText(statusLine(outcome));
    statusText->setToolTip(statusToolTip(outcome));
    startPending = false;
}

void Body::queueOpeningOutcome()
{
    if (openingQueued)
        return;
    openingQueued = true;
    QMetaObject::invokeMethod(this, &Body::showOpeningOutcome, Qt::QueuedConnection);
}

void Body::showOpeningOutcome()
{
    openingQueued = false;
    // A file refused while a pass runs is told with the pass's outcome.
    if (passRunning)
        return;
    const ActionOutcome opening = openingOutcome(openedCount, openRejections);
    const bool opened = openedCount > 0 || !openRejections.isEmpty();
    if (startPending)
        showOutcome(opened ? joined(startReport, opening) : startReport);
    else if (opened)
        showOutcome(opening);
    openedCount = 0;
    openRejections.clear();
}

void Body::openData(const QString &dataName)
{
    QString why;
    // A file dropped while a pass runs is refused (the pass lets the window
    // repaint, and a drop is no input it holds back).
    if (passRunning)
        why = tr("works are being made; open it again when they are done");
    if (!passRunning && openDataFile(dataName, &why) == Opening::Opened) {
        ++openedCount;
    } else {
        const QString name = QFileInfo(dataName).fileName();
        openRejections << QStringLiteral("%1: %2").arg(name.isEmpty() ? dataName : name, why);
    }
    queueOpeningOutcome();
}

void Body::openDatas(const QStringList &dataNames)
{
    for (const QString &dataName : dataNames)
        openData(dataName);
}

void Body::loadDataFiles(const QStringList &files)
{
    for (const QString &file : files)
        openData(file);
}

void Body::loadDroppedDataFiles(const QString &path, const QString &url, const QString &scheme,
                                const QString &host)
{
    // The path of a URL from elsewhere (a web page, another machine's
    // share) names some other file here, if any: only local files open.
    const bool local =
        scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0 &&
        (host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0);
    if (!local) {
        qDebug() << "Not a local file, not opened:" << url;
        openRejections << QStringLiteral("%1: %2").arg(url, tr("not a local file"));
        queueOpeningOutcome();
        return;
    }
    openData(path);
}

} // namespace korvane
