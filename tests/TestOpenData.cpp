// Data files enter the window through the dialog, by dropping and one by
// one; only readable files leave a record and a list item. The drop area names
// each dropped file, drive-letter paths made openable.

#include "TestSupport.h"

#include <QMimeData>
#include <QSignalSpy>

class TestOpenData : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void open();

private:
    // A valid 9809 file, or one that is not, in the test folder.
    QString dataFile(const QString &name, bool good = true)
    {
        writeTextFile(dir.filePath(name), good ? text9809(lines9809()) : "not a data file\n1 2\n");
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

namespace {

// The combo box and dataSets must stay in step: item i is record i.
QStringList itemsInStep(const Body &body)
{
    QStringList items, records;
    for (int i = 0; i < body.ui.DataFiles->count(); ++i)
        items << body.ui.DataFiles->itemText(i);
    for (const DataSet *dataSet : body.dataSets)
        records << dataSet->fileName;
    return items == records ? items : QStringList{"out of step"};
}

} // namespace

void TestOpenData::initTestCase()
{
    // No template and no common properties: the window starts empty.
    QVERIFY(QDir::setCurrent(dir.path()));
    appArgs = ArgList();
}

// Through every way in, files open in their order; the bad and the missing
// ones, and dropped URLs that are no local files, are skipped. A drop names
// each URL's path in order, its drive letter freed of the slash, and inserts
// nothing into the area.
void TestOpenData::open()
{
    QStringList paths;
    QList<QUrl> urls;
    for (const QString name : {"c.dat", "x.dat", "a.dat", "m.dat", "c.dat"}) {
        paths << (name == "m.dat" ? dir.filePath(name) : dataFile(name, name != "x.dat"));
        urls << QUrl::fromLocalFile(paths.last());
    }
    // The same path on another machine or a web server is not the local file.
    for (const char *elsewhere : {"http://example.org", "file://server"})
        urls << QUrl(elsewhere + QUrl::fromLocalFile(paths.at(2)).path());
    QMimeData dropped;
    dropped.setUrls(urls << QUrl("file:///C:/dir/a.dat") << QUrl("file:///C"));
    dropped.setData("text/plain", "inserted");
    Body viaSignal, oneByOne, viaDrop;
    emit viaSignal.loadDataFilesDialog.filesSelected(paths);
    oneByOne.openDatas(paths);
    DropArea *area = viaDrop.ui.DataFilesDropArea;
    const QString label = area->text();
    viaDrop.show();
    QSignalSpy spy(area, &DropArea::dropped);
    // Delivered as a drag from a file manager arrives: enter, then drop.
    const QPoint at = area->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QVERIFY(enter.isAccepted() && enter.dropAction() == Qt::CopyAction);
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &drop);
    for (const Body *body : {&viaSignal, &oneByOne, &viaDrop}) {
        QCOMPARE(itemsInStep(*body), QStringList({"c.dat", "a.dat", "c.dat"}));
        for (const DataSet *dataSet : body->dataSets)
            QVERIFY(dataSet->tpl == &body->tpl && paths.contains(dataSet->path));
    }
    QStringList named;
    for (const QList<QVariant> &args : qAsConst(spy))
        named << args[0].toString();
    QCOMPARE(named, paths + QStringList({paths[2], paths[2], "C:/dir/a.dat", "/C"}));
    QCOMPARE(area->text(), label);
}

QTEST_MAIN(TestOpenData)
#include "TestOpenData.moc"
