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
    void flagPerFile();
    void openDataFileReports();

private:
    // Writes a small valid 9809 file (or, when good is false, a file that is
    // not one) named name into the test folder; returns its path.
    QString dataFile(const QString &name, bool good = true);
    QTemporaryDir dir;
};

QString TestOpenData::dataFile(const QString &name, bool good)
{
    const QString path = dir.filePath(name);
    if (!good) {
        writeTextFile(path, QStringLiteral("not a data file\n1 2 3\n"));
        return path;
    }
    const QString text = QStringLiteral("   9809     id1  BLC2\n") +
                         QStringLiteral("%1").arg(QStringLiteral("sample"), -17) +
                         QStringLiteral("98.10.10 11:50:00 - 98.10.10 12:10:00\n"
                                        "a comment\n"
                                        " Ring :  2.5 GeV  400.0 mA 399.0 mA\n"
                                        " Mono : Si(111)  D= 3.1355316 A  Initial angle= 20.0 deg\n"
                                        "Repetition= 1 Points= 3\n"
                                        "Block = 1\n"
                                        "anything\n"
                                        "  Angle-ENG  x\n"
                                        "  20.0 19.0 0.01 1.0 1 1\n"
                                        "ignored\n"
                                        "ignored\n"
                                        "      Mode  x  1 1 1\n"
                                        "    Offset  x  0 0 0\n"
                                        "20.0 20.0 1.0 1000 100 50\n"
                                        "19.9 19.9 1.0 1000 110 50\n"
                                        "19.8 19.8 1.0 1000 120 50\n");
    writeTextFile(path, text);
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
    return items == records ? items : QStringList{QStringLiteral("out of step")};
}

void TestOpenData::loadList_data()
{
    QTest::addColumn<QStringList>("files"); // name, or name:bad for a file that is not 9809
    QTest::addColumn<QStringList>("items");

    QTest::newRow("one") << QStringList{"a.dat"} << QStringList{"a.dat"};
    QTest::newRow("order kept") << QStringList{"c.dat", "a.dat", "b.dat"}
                                << QStringList{"c.dat", "a.dat", "b.dat"};
    QTest::newRow("bad between good")
        << QStringList{"a.dat", "x.dat:bad", "b.dat"} << QStringList{"a.dat", "b.dat"};
    QTest::newRow("missing file") << QStringList{"a.dat", "missing.dat:none"}
                                  << QStringList{"a.dat"};
    QTest::newRow("same twice") << QStringList{"a.dat", "a.dat"} << QStringList{"a.dat", "a.dat"};
    QTest::newRow("only bad") << QStringList{"x.dat:bad"} << QStringList{};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}

void TestOpenData::loadList()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, items);

    QStringList paths;
    for (const QString &file : files) {
        const QString name = file.section(QLatin1Char(':'), 0, 0);
        const QString kind = file.section(QLatin1Char(':'), 1);
        if (kind == QLatin1String("none"))
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
    const QList<QUrl> urls = {QUrl::fromLocalFile(dataFile(QStringLiteral("b.dat"))),
                              QUrl::fromLocalFile(dataFile(QStringLiteral("x.dat"), false)),
                              QUrl::fromLocalFile(dataFile(QStringLiteral("a.dat")))};
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

void TestOpenData::flagPerFile()
{
    const QString a = dataFile(QStringLiteral("a.dat"));
    const QString b = dataFile(QStringLiteral("b.dat"));
    Body body;
    QCheckBox *flag = body.ui.SetCreateWorkFlag;
    flag->setChecked(false);
    body.openData(a);
    flag->setChecked(true);
    body.openData(b);
    flag->setChecked(false);
    body.openData(b);

    QCOMPARE(body.dataSets.size(), 3);
    QCOMPARE(body.dataSets.at(0)->meta.value(QStringLiteral("SYS_001")), QStringLiteral("0"));
    QCOMPARE(body.dataSets.at(1)->meta.value(QStringLiteral("SYS_001")), QStringLiteral("1"));
    QCOMPARE(body.dataSets.at(2)->meta.value(QStringLiteral("SYS_001")), QStringLiteral("0"));
}

void TestOpenData::openDataFileReports()
{
    Body body;
    QString why = QStringLiteral("stale");
    QVERIFY(body.openDataFile(dataFile(QStringLiteral("a.dat")), &why));
    QVERIFY(why.isEmpty());
    QVERIFY(!body.openDataFile(dataFile(QStringLiteral("x.dat"), false), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!body.openDataFile(dir.filePath(QStringLiteral("missing.dat"))));
    QCOMPARE(itemsInStep(body), QStringList{QStringLiteral("a.dat")});
}

QTEST_MAIN(TestOpenData)
#include "TestOpenData.moc"
