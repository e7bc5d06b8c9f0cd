// Data files enter the window through the dialog's list, by dropping and
// one by one; only readable files leave a record and a list item, and each
// record keeps the create-work flag of the moment it was opened.

#include "TestSupport.h"
#include "app/ArgList.h"
#include "data/DataSet.h"
#include "ui/Body.h"

#include <QMimeData>
#include <QtTest>

class TestOpenData : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void loadList_data();
    void loadList();
    void dropFiles();
    void flagAndReasons();

private:
    // Writes a small valid 9809 file (or, when good is false, a file that is
    // not one) named name into the test folder; returns its path.
    QString dataFile(const QString &name, bool good = true);
    QTemporaryDir dir;
};

QString TestOpenData::dataFile(const QString &name, bool good)
{
    const QString path = dir.filePath(name);
    writeTextFile(path, good ? text9809(lines9809()) : QString("not a data file\n1 2 3\n"));
    return path;
}

void TestOpenData::initTestCase()
{
    QVERIFY(dir.isValid());
    // No template and no common properties: the window starts empty.
    QVERIFY(QDir::setCurrent(dir.path()));
    appArgs = ArgList();
}

void TestOpenData::cleanupTestCase()
{
    appArgs = ArgList();
}

// The combo box and dataSets must stay in step: item i is record i.
static QStringList itemsInStep(const Body &body)
{
    QStringList items;
    for (int i = 0; i < body.ui.DataFiles->count(); ++i)
        items << body.ui.DataFiles->itemText(i);
    QStringList records;
    for (const DataSet *dataSet : body.dataSets)
        records << dataSet->fileName;
    return items == records ? items : QStringList{QString("out of step")};
}

// clang-format off
void TestOpenData::loadList_data()
{
    QTest::addColumn<QStringList>("files"); // name, or name:bad for a file that is not 9809
    QTest::addColumn<QStringList>("items");

    QTest::newRow("one") << QStringList{"a.dat"} << QStringList{"a.dat"};
    QTest::newRow("order kept") << QStringList{"c.dat", "a.dat", "b.dat"} << QStringList{"c.dat", "a.dat", "b.dat"};
    QTest::newRow("bad between good") << QStringList{"a.dat", "x.dat:bad", "b.dat"} << QStringList{"a.dat", "b.dat"};
    QTest::newRow("missing file") << QStringList{"a.dat", "missing.dat:none"} << QStringList{"a.dat"};
    QTest::newRow("same twice") << QStringList{"a.dat", "a.dat"} << QStringList{"a.dat", "a.dat"};
    QTest::newRow("only bad") << QStringList{"x.dat:bad"} << QStringList{};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}
// clang-format on

void TestOpenData::loadList()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, items);

    QStringList paths;
    for (const QString &file : files) {
        const QString name = file.section(QChar(':'), 0, 0);
        const QString kind = file.section(QChar(':'), 1);
        if (kind == QString("none"))
            paths << dir.filePath(name);
        else
            paths << dataFile(name, kind.isEmpty());
    }

    Body viaDialog;
    viaDialog.loadDataFiles(paths);
    QCOMPARE(itemsInStep(viaDialog), items);
    for (const DataSet *dataSet : viaDialog.dataSets)
        QCOMPARE(dataSet->tpl, &viaDialog.tpl);

    // The dialog's signal reaches the same slot.
    Body viaSignal;
    emit viaSignal.loadDataFilesDialog.filesSelected(paths);
    QCOMPARE(itemsInStep(viaSignal), items);

    Body oneByOne;
    oneByOne.openDatas(paths);
    QCOMPARE(itemsInStep(oneByOne), items);
}

void TestOpenData::dropFiles()
{
    const QList<QUrl> urls = {QUrl::fromLocalFile(dataFile(QString("b.dat"))),
                              QUrl::fromLocalFile(dataFile(QString("x.dat"), false)),
                              QUrl::fromLocalFile(dataFile(QString("a.dat")))};
    QMimeData data;
    data.setUrls(urls);

    Body body;
    body.show();
    DropArea *area = body.ui.DataFilesDropArea;
    const QPoint at = area->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &drop);

    QCOMPARE(itemsInStep(body), (QStringList{"b.dat", "a.dat"}));
    QCOMPARE(body.dataSets.at(0)->path, urls.at(0).toLocalFile());
}

// Each file takes the flag as it stands when it is opened; a failure says why.
void TestOpenData::flagAndReasons()
{
    Body body;
    QCheckBox *flag = body.ui.SetCreateWorkFlag;
    QString why = "stale";
    for (bool checked : {false, true, false}) {
        flag->setChecked(checked);
        QVERIFY(body.openDataFile(dataFile("a.dat"), &why));
        QVERIFY(why.isEmpty());
        QCOMPARE(body.dataSets.last()->meta.value("SYS_001"), QString(checked ? "1" : "0"));
    }
    QVERIFY(!body.openDataFile(dataFile("x.dat", false), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!body.openDataFile(dir.filePath("missing.dat")));
    QCOMPARE(itemsInStep(body), (QStringList{"a.dat", "a.dat", "a.dat"}));
}

QTEST_MAIN(TestOpenData)
#include "TestOpenData.moc"
