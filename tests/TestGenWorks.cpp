// "Generate Works" on a real window: data files opened through the window,
// its controls set as a user would, then the pass into a new folder.

#include "app/ArgList.h"
#include "data/DataSet.h"
#include "ui/Body.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"

namespace {

QString dataFileText(const QString &sampleName)
{
    return QStringLiteral("   9809     id1  BLC2\n") + sampleName.leftJustified(17, ' ') +
           "98.10.10 11:50:00 - 98.10.10 12:10:00\n"
           "a comment\n"
           " Ring :  2.5 GeV  400.0 mA 399.0 mA\n"
           " Mono : Si(111)  D= 3.1355316 A  Initial angle= 20.0 deg\n"
           "Repetition= 1 Points= 3\n"
           "Block = 1\n"
           "anything\n"
           "  Angle-ENG  x\n"
           "    1  20.0  19.0  0.01  1.0  3\n"
           "ignored\n"
           "ignored\n"
           "      Mode  x  1 1 1\n"
           "    Offset  x  0 0 0\n"
           "20.0 20.0 1.0 1000 100 50\n"
           "19.5 19.5 1.0 1000 80 50\n"
           "19.0 19.0 1.0 1000 30 50\n";
}

const char *templateText = "work:\n"
                           "  local_id: INFO_015 input\n"
                           "  title: INFO_013 na\n"
                           "  file: FILE_001 na\n"
                           "  facility: FACI_001 semi_fix\n"
                           "sample:\n"
                           "  name: SMPL_001 input\n"
                           "  formula: SMPL_002 input\n";

QString ymlLine(const QString &key, const QString &value)
{
    return key.leftJustified(20, ' ') + ' ' + value + '\n';
}

} // namespace

class TestGenWorks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void generate_data();
    void generate();
    void passWithoutArgument();

private:
    QTemporaryDir tmp;
};

void TestGenWorks::init()
{
    QVERIFY(tmp.isValid());
    QVERIFY(writeTextFile(tmp.filePath("korvane-template.yml"), templateText));
    QVERIFY(writeTextFile(tmp.filePath("commProps.csv"),
                          "\"FACI_001\",\"Photon Factory\",\"facility\",\"..facility:\"\n"));
    QDir(tmp.path()).mkpath("data");
    QVERIFY(writeTextFile(tmp.filePath("data/cu1.dat"), dataFileText("Cu foil")));
    QVERIFY(writeTextFile(tmp.filePath("data/cu1.info"), "Comment: first\n"));
    QVERIFY(writeTextFile(tmp.filePath("data/skip.dat"), dataFileText("skipped")));
    QVERIFY(writeTextFile(tmp.filePath("data/zn.2.dat"), dataFileText("Zn foil")));

    appArgs = ArgList();
    appArgs.add("-t", tmp.filePath("korvane-template.yml"), tmp.filePath("korvane-template.yml"));
    appArgs.add("-p", tmp.filePath("commProps.csv"), tmp.filePath("commProps.csv"));
}

void TestGenWorks::generate_data()
{
    QTest::addColumn<bool>("canonical");
    QTest::addColumn<QStringList>("bases");

    QTest::newRow("original names") << false << QStringList{"cu1", "zn"};
    QTest::newRow("canonical names")
        << true << QStringList{"cu1-id1-BLC2-20981010", "zn-id1-BLC2-20981010"};
}

void TestGenWorks::generate()
{
    QFETCH(bool, canonical);
    QFETCH(QStringList, bases);

    Body body;
    body.ui.SetCreateWorkFlag->setChecked(true);
    body.openData(tmp.filePath("data/cu1.dat"));
    body.ui.SetCreateWorkFlag->setChecked(false);
    body.openData(tmp.filePath("data/skip.dat"));
    body.ui.SetCreateWorkFlag->setChecked(true);
    body.openData(tmp.filePath("data/zn.2.dat"));
    QCOMPARE(body.dataSets.size(), 3);
    body.dataSets.at(0)->meta["SMPL_001"] = QStringLiteral("Cu");
    body.dataSets.at(0)->meta["SMPL_002"] = QStringLiteral("Cu");

    body.ui.Use01Work->setChecked(true);
    body.ui.Term01Work->setText("w");
    body.ui.Use02Date->setChecked(false);
    body.ui.Use03Time->setChecked(false);
    body.ui.Use04Branch->setChecked(true);
    body.ui.Term04Branch->setText("b");
    body.ui.UseWorkFolderNameAsLocalId->setChecked(true);
    body.ui.FNinWorkOrig->setChecked(!canonical);
    body.ui.FNinWorkCanon->setChecked(canonical);
    body.ui.ImageSizeW->setText("64");
    body.ui.ImageSizeH->setText("48");

    const QString worksPath = tmp.filePath(canonical ? "out/canon" : "out/orig");
    body.genWorks(worksPath);
    QCOMPARE(body.worksDirectory.absolutePath(), worksPath);

    const QDir works(worksPath);
    const QStringList folders{"w-b-0001", "w-b-0002"};
    QCOMPARE(works.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), folders);
    for (int i = 0; i < folders.size(); ++i) {
        const QDir work(works.filePath(folders.at(i)));
        QVERIFY2(work.exists(bases.at(i) + ".dat"), qPrintable(bases.at(i)));
        QImage picture;
        QVERIFY(picture.load(work.filePath(bases.at(i) + ".png")));
        QCOMPARE(picture.size(), QSize(64, 48));
    }
    QCOMPARE(readBytes(works.filePath("w-b-0001/" + bases.at(0) + ".dat")),
             readBytes(tmp.filePath("data/cu1.dat")));
    QCOMPARE(readBytes(works.filePath("w-b-0001/" + bases.at(0) + ".info")),
             QByteArray("Comment: first\n"));
    QVERIFY(!QFileInfo::exists(works.filePath("w-b-0002/" + bases.at(1) + ".info")));

    QCOMPARE(readTextFile(works.filePath("w-b-0001/metadata.yml")),
             "work:\n" + ymlLine("  local_id:", "w-b-0001") +
                 ymlLine("  title:", "XAFS Std. Meas. of Cu (Cu)") +
                 ymlLine("  file:", bases.at(0)) + ymlLine("  facility:", "Photon Factory") +
                 "sample:\n" + ymlLine("  name:", "Cu") + ymlLine("  formula:", "Cu"));
    QCOMPARE(readTextFile(works.filePath("w-b-0002/metadata.yml")),
             "work:\n" + ymlLine("  local_id:", "w-b-0002") +
                 ymlLine("  title:", "XAFS Std. Meas. of  ()") + ymlLine("  file:", bases.at(1)) +
                 ymlLine("  facility:", "Photon Factory") + "sample:\n" + ymlLine("  name:", "") +
                 ymlLine("  formula:", ""));

    // Every link of the page opens a file of the works.
    const QString page = readTextFile(works.filePath("index.html"));
    QCOMPARE(page.count("<tr>"), 2);
    QRegularExpression link("(?:href|src)=\"([^\"]*)\"");
    int links = 0;
    for (auto it = link.globalMatch(page); it.hasNext(); ++links) {
        const QString target = it.next().captured(1);
        QVERIFY2(QFileInfo(works.filePath(target)).isFile(), qPrintable(target));
    }
    QCOMPARE(links, 10);
    for (int i = 0; i < folders.size(); ++i) {
        for (const QString &suffix : QStringList{".dat", ".png"})
            QVERIFY(page.contains(".//" + folders.at(i) + "//" + bases.at(i) + suffix));
    }
}

void TestGenWorks::passWithoutArgument()
{
    Body body;
    body.ui.SetCreateWorkFlag->setChecked(true);
    body.openData(tmp.filePath("data/cu1.dat"));
    body.ui.Use01Work->setChecked(true);
    body.ui.Term01Work->setText("first");
    body.ui.Use02Date->setChecked(false);
    body.ui.Use03Time->setChecked(false);
    body.ui.Use04Branch->setChecked(false);
    body.ui.ImageSizeW->setText("32");
    body.ui.ImageSizeH->setText("32");
    const QDir works(tmp.filePath("again"));
    body.genWorks(works.path());

    body.ui.Term01Work->setText("second");
    body.genWorks();
    QCOMPARE(works.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"first-0001", "second-0001"}));
    const QString page = readTextFile(works.filePath("index.html"));
    QCOMPARE(page.count("<tr>"), 1);
    QVERIFY(page.contains(".//second-0001//cu1.dat"));
    QVERIFY(!page.contains("first-0001"));
    QVERIFY(readTextFile(works.filePath("second-0001/metadata.yml"))
                .contains(ymlLine("  local_id:", "second-0001")));
}

QTEST_MAIN(TestGenWorks)
#include "TestGenWorks.moc"
