#pragma once
// The main window: settings, the file list, the template, the common
// properties sheet and the generation of works. The slots adapt the widgets
// to the plain-data functions of data/, template/, props/ and works/.

#include "template/MetaTemplate.h"
#include "template/Render.h"
#include "ui/StatusLine.h"
#include "ui/WorksDialog.h"
#include "ui_Body.h"

#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QList>
#include <QRect>
#include <QVector>

class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableView;

namespace korvane {

// The window's size within the area of its screen: preferred where it fits,
// else as much as the area allows, centred in it.
QRect fittedGeometry(const QSize &preferred, const QRect &available);

class DataSet;
class PropUi;
class ScanListModel;
class ScanPreview;
struct WorkPassReport;

class Body : public QFrame
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

    Ui_Body ui;
    QList<DataSet *> dataSets;
    QString templateFile;
    QString dataPropsFile;
    QString genCommPropsFile;
    QString commPropsFile;
    QString worksDir;
    QFileDialog loadDataFilesDialog;
    QFileDialog loadDataPropsDialog;
    QFileDialog saveDataPropsDialog;
    QFileDialog genCommPropsDialog;
    QFileDialog saveCommPropsDialog;
    QFileDialog loadCommPropsDialog;
    WorksDialog saveWorksDialog;
    MetaTemplate tpl;
    QVector<PropUi *> propRows;
    QDir worksDirectory;
    // Below the layout: one line on what the last action did, and the
    // progress of a pass while it runs.
    QStatusBar *statusBar = nullptr;
    QLabel *statusText = nullptr;
    QProgressBar *passProgress = nullptr;
    // After a pass: a link that opens the works folder's index.html.
    QLabel *indexLink = nullptr;
    // The opened files, the selected one's spectrum, and the button that
    // takes the selected files off the list; the splitter shares the height
    // between them and the common-properties sheet.
    ScanListModel *scanModel = nullptr;
    QTableView *scanList = nullptr;
    ScanPreview *scanPreview = nullptr;
    QPushButton *removeScansButton = nullptr;
    QSplitter *splitter = nullptr;
    // The rows of the property file last read or written.
    int propsRows = 0;
    // The template and the common properties as the window read them at its start.
    FileResult templateRead, commonRead;

    // The same operations as the slots, telling whether they succeeded and,
    // through why, the reason when not (for batch runs).
    // What opening a data file came to, a kind its callers count apart.
    enum class Opening
    {
        Opened,
        AlreadyOpen, // the file is open already: no second record of one scan
        Rejected     // no readable 9809 file
    };
    Opening openDataFile(const QString &dataName, QString *why = nullptr);
    // The record of the file dataName names, under this or any other name
    // (links followed); null when it is not open.
    DataSet *openedAs(const QString &dataName) const;
    // Takes the records of the given rows off the list (and out of every
    // pass); their names, in list order.
    QStringList removeScans(QVector<int> rows);
    bool writeDataProps(const QString &fname, QString *why = nullptr);
    bool readDataProps(const QString &fname, QString *why = nullptr);
    bool writeCommPropsTemplate(const QString &fname, QString *why = nullptr);
    bool readCommProps(const QString &fname, QString *why = nullptr);
    bool writeCommProps(const QString &fname, QString *why = nullptr);

    // The common-properties rows as the renderer reads them.
    CommonValues commonValues() const;

    // Work generation (works/): see BodyWorks.cpp.
    void setWorksDirectory(const QString &path);
    // The generation pass into worksDirectory; report (when given) collects
    // what was made and what failed.
    bool runWorks(WorkPassReport *report = nullptr);

    // Shows the window at its remembered size and place, else at 1604 x 954
    // where that fits the available area of its screen, else filling it.
    void showOnScreen();

public slots:
    void loadDroppedDataFiles(const QString &path, const QString &url, const QString &scheme,
                              const QString &host);
    void loadDataFiles(const QStringList &files);
    void openData(const QString &dataName);
    void saveDataProps(const QString &fname);
    void loadDataProps(const QString &fname);
    void genCommProps(const QString &fname);
    void loadCommProps(const QString &fname);
    void saveCommProps(const QString &fname);
    void genWorks();
    void genWorks(const QString &worksDirName);
    void openDatas(const QStringList &dataNames);
    void removeSelectedScans();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Files dragged onto any widget of the window open as on the drop line.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The steps of building the window.
    void buildStatusLine();
    void buildScanList(); // see BodyScans.cpp
    void showScan(int row);
    void readSettings();
    void setupDialogs();
    void readStartFiles(); // the template and the common properties
    // The status line says what the action did; the tooltip lists every failure.
    void showOutcome(const ActionOutcome &outcome);
    void showPropsOutcome(PropsAction action, const QString &fname,
                          bool (Body::*method)(const QString &, QString *));
    // Files opened one by one (a drop names each file apart) are told as one
    // action once control is back in the event loop; so are the start and
    // the files opened right after it (the -d files).
    void queueOpeningOutcome();
    void showOpeningOutcome();
    ActionOutcome startReport;
    bool startPending = false;
    bool openingQueued = false;
    int openedCount = 0;
    QStringList openRejections;
    // A pass runs: it reads the data sets, which must not change meanwhile.
    bool passRunning = false;
};

} // namespace korvane
