// "Generate Works" on a real window: data files opened through the window,
// its controls set as a user would, then the pass into a new folder.

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"

namespace {

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

// The name parts as a user ticks them: no date or time, a branch when given.
void setNameParts(Body &body, const QString &work, const QString &branch)
{
    body.ui.Use01Work->setChecked(true);
    body.ui.Term01Work->setText(work);
    body.ui.Use02Date->setChecked(false);
    body.ui.Use03Time->setChecked(false);
    body.ui.Use04Branch->setChecked(!branch.isNull());
    body.ui.Term04Branch->setText(branch);
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
    QVERIFY(writeTextFile(tmp.filePath("data/cu1.dat"), text9809(lines9809(3, "Cu foil"))));
    QVERIFY(writeTextFile(tmp.filePath("data/cu1.info"), "Comment: first\n"));
    QVERIFY(writeTextFile(tmp.filePath("data/skip.dat"), text9809(lines9809(3, "skipped"))));
    QVERIFY(writeTextFile(tmp.filePath("data/zn.2.dat"), text9809(lines9809(3, "Zn foil"))));

    setAppArgs({"-t", tmp.filePath("korvane-template.yml"), "-p", tmp.filePath("commProps.csv")});
}

// clang-format off
void TestGenWorks::generate_data()
{
    QTest::addColumn<bool>("canonical");
    QTest::addColumn<QStringList>("bases");

    QTest::newRow("original names") << false << QStringList{"cu1", "zn"};
    QTest::newRow("canonical names") << true << QStringList{"cu1-LAB7-BLC2-20981010", "zn-LAB7-BLC2-20981010"};
}
// clang-format on

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

    setNameParts(body, "w", "b");
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
    setNameParts(body, "first", QString());
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
