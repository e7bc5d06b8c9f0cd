// The generation pass on hand-made data set records: which records get a
// work, how folders and files are named, what lands in each work, and how
// the pass carries on past failures.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "works/WorkPass.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"

namespace {

const QSize pictureSize(48, 32);

TplLine valued(const QString &ymlKey, const QString &id)
{
    TplLine line;
    line.ymlKey = ymlKey;
    line.id = id;
    line.types = {Input};
    return line;
}

// A template that shows the values the pass stores in each record.
MetaTemplate passTemplate()
{
    MetaTemplate tpl;
    TplLine head;
    head.ymlKey = QStringLiteral("work:");
    head.types = {Other};
    tpl.lines = {head,
                 valued("  local_id:", "INFO_015"),
                 valued("  title:", "INFO_013"),
                 valued("  title2:", "INFO_014"),
                 valued("  file:", "FILE_001"),
                 valued("  file2:", "FILE_026")};
    return tpl;
}

WorkOptions plainOptions()
{
    WorkOptions options;
    options.imageSize = pictureSize;
    return options;
}

// Data set records over files written into a temporary folder.
class Records
{
public:
    Records()
    {
        QDir(tmp.path()).mkpath(QStringLiteral("src"));
        QDir(tmp.path()).mkpath(QStringLiteral("works"));
    }
    ~Records() { qDeleteAll(sets); }

    QString source(const QString &fileName) const { return tmp.filePath("src/" + fileName); }
    QString works(const QString &rest = QString()) const
    {
        return rest.isEmpty() ? tmp.filePath("works") : tmp.filePath("works/" + rest);
    }

    DataSet *add(const QString &fileName, const QString &flag,
                 const QString &content = QStringLiteral("data\n"))
    {
        auto *dataSet = new DataSet;
        const QString path = source(fileName);
        writeTextFile(path, content);
        dataSet->path = path;
        dataSet->fileInfo = QFileInfo(path);
        dataSet->fileName = dataSet->fileInfo.fileName();
        dataSet->baseName = dataSet->fileInfo.baseName();
        dataSet->header.firstItem = QStringLiteral("id1");
        dataSet->header.beamline = QStringLiteral("BLC2");
        dataSet->header.startYear = QStringLiteral("98");
        dataSet->header.startMonth = QStringLiteral("3");
        dataSet->header.startDay = QStringLiteral("10");
        dataSet->meta[QStringLiteral("SYS_001")] = flag;
        dataSet->meta[QStringLiteral("SMPL_001")] = QStringLiteral("Cu");
        dataSet->meta[QStringLiteral("SMPL_002")] = QStringLiteral("foil");
        for (int i = 0; i < 3; ++i) {
            DataPoint point;
            point.energy = 8970 + 10 * i;
            point.counts = {1000, 100.0 * (i + 1)};
            dataSet->points << point;
        }
        dataSet->xMin = 8970;
        dataSet->xMax = 8990;
        dataSet->yMin = 1.0;
        dataSet->yMax = 2.3;
        sets << dataSet;
        return dataSet;
    }

    bool run(const WorkOptions &options, WorkPassReport *report = nullptr)
    {
        return runWorkPass(QDir(works()), sets, options, passTemplate(), CommonValues(), report);
    }
    bool run(WorkPassReport *report = nullptr) { return run(plainOptions(), report); }

    QTemporaryDir tmp;
    QList<DataSet *> sets;
};

QStringList subfolders(const QString &path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestWorkPass : public QObject
{
    Q_OBJECT
private slots:
    void suffix_data();
    void suffix();
    void folderName_data();
    void folderName();
    void fileBase_data();
    void fileBase();
    void flags_data();
    void flags();
    void workContents_data();
    void workContents();
    void companionByLastDot();
    void nestedFolderName();
    void placeholdersInValues();
    void secondPass();
    void folderCannotBeMade();
    void worksDirectoryUnderFile();
    void indexCannotBeWritten();
    void missingDataFile();
};

void TestWorkPass::suffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");

    QTest::newRow("replaces the suffix") << "/d/x.dat"
                                         << "png"
                                         << "/d/x.png";
    QTest::newRow("only the last suffix") << "/d/a.b.dat"
                                          << "info"
                                          << "/d/a.b.info";
    QTest::newRow("same suffix") << "/d/metadata.yml"
                                 << "yml"
                                 << "/d/metadata.yml";
    QTest::newRow("no suffix") << "/d/x"
                               << "png"
                               << "/d/x.png";
    QTest::newRow("relative made absolute") << "a/x.dat"
                                            << "png" << QDir::current().absoluteFilePath("a/x.png");
    QTest::newRow("placeholder in name") << "/d/%1.dat"
                                         << "info"
                                         << "/d/%1.info";
}

void TestWorkPass::suffix()
{
    QFETCH(QString, path);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    QCOMPARE(withSuffix(path, suffix), expected);
}

void TestWorkPass::folderName_data()
{
    QTest::addColumn<QString>("use"); // Work, Date, Time, Branch as 1/0
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << "0000" << 1 << "-0001";
    QTest::newRow("work") << "1000" << 1 << "W-0001";
    QTest::newRow("date") << "0100" << 1 << "-D-0001";
    QTest::newRow("time") << "0010" << 1 << "-T-0001";
    QTest::newRow("branch") << "0001" << 1 << "-B-0001";
    QTest::newRow("work date") << "1100" << 1 << "W-D-0001";
    QTest::newRow("work time") << "1010" << 1 << "W-T-0001";
    QTest::newRow("work branch") << "1001" << 1 << "W-B-0001";
    QTest::newRow("date time") << "0110" << 1 << "-D-T-0001";
    QTest::newRow("date branch") << "0101" << 1 << "-D-B-0001";
    QTest::newRow("time branch") << "0011" << 1 << "-T-B-0001";
    QTest::newRow("work date time") << "1110" << 1 << "W-D-T-0001";
    QTest::newRow("work date branch") << "1101" << 1 << "W-D-B-0001";
    QTest::newRow("work time branch") << "1011" << 1 << "W-T-B-0001";
    QTest::newRow("date time branch") << "0111" << 1 << "-D-T-B-0001";
    QTest::newRow("all") << "1111" << 1 << "W-D-T-B-0001";
    QTest::newRow("three digits") << "0000" << 999 << "-0999";
    QTest::newRow("four digits") << "0000" << 1000 << "-1000";
    QTest::newRow("five digits") << "0000" << 12345 << "-12345";
}

void TestWorkPass::folderName()
{
    QFETCH(QString, use);
    QFETCH(int, count);
    QFETCH(QString, expected);

    WorkOptions options;
    options.useWork = use.at(0) == '1';
    options.useDate = use.at(1) == '1';
    options.useTime = use.at(2) == '1';
    options.useBranch = use.at(3) == '1';
    options.work = QStringLiteral("W");
    options.date = QStringLiteral("D");
    options.time = QStringLiteral("T");
    options.branch = QStringLiteral("B");
    QCOMPARE(workFolderName(options, count), expected);
}

void TestWorkPass::fileBase_data()
{
    QTest::addColumn<bool>("original");
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<QString>("firstItem");
    QTest::addColumn<QString>("beamline");
    QTest::addColumn<QString>("expected");

    QTest::newRow("original") << true << "sample"
                              << "T"
                              << "B"
                              << "sample";
    QTest::newRow("original keeps backslash") << true << "a\\b"
                                              << "T"
                                              << "B"
                                              << "a\\b";
    QTest::newRow("canonical") << false << "sample"
                               << "T"
                               << "B"
                               << "sample-T-B-98310";
    QTest::newRow("canonical slash") << false << "s"
                                     << "id/1"
                                     << "BL/2"
                                     << "s-id_1-BL_2-98310";
    QTest::newRow("canonical backslash") << false << "s"
                                         << "id\\1"
                                         << "B"
                                         << "s-id_1-B-98310";
    QTest::newRow("canonical placeholders") << false << "%2"
                                            << "%1"
                                            << "%3"
                                            << "%2-%1-%3-98310";
    QTest::newRow("canonical empty items") << false << "s"
                                           << ""
                                           << ""
                                           << "s---98310";
}

void TestWorkPass::fileBase()
{
    QFETCH(bool, original);
    QFETCH(QString, baseName);
    QFETCH(QString, firstItem);
    QFETCH(QString, beamline);
    QFETCH(QString, expected);

    DataSet dataSet;
    dataSet.baseName = baseName;
    dataSet.header.firstItem = firstItem;
    dataSet.header.beamline = beamline;
    dataSet.header.startYear = QStringLiteral("98");
    dataSet.header.startMonth = QStringLiteral("3");
    dataSet.header.startDay = QStringLiteral("10");
    WorkOptions options;
    options.originalNames = original;
    QCOMPARE(workFileBase(options, dataSet), expected);
}

void TestWorkPass::flags_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QStringList>("works"); // folder/base of each work, in order

    QTest::newRow("1 0 1 numbered without gaps")
        << QStringList{"1", "0", "1"} << QStringList{"-0001/s0", "-0002/s2"};
    QTest::newRow("none flagged") << QStringList{"0", "0"} << QStringList();
    QTest::newRow("no data sets") << QStringList() << QStringList();
    QTest::newRow("1.0 is no number") << QStringList{"1.0", "1"} << QStringList{"-0001/s1"};
    QTest::newRow("only exactly 1")
        << QStringList{"2", "", "abc", "1", "-1"} << QStringList{"-0001/s3"};
    QTest::newRow("all flagged") << QStringList{"1", "1", "1"}
                                 << QStringList{"-0001/s0", "-0002/s1", "-0003/s2"};
}

void TestWorkPass::flags()
{
    QFETCH(QStringList, flags);
    QFETCH(QStringList, works);

    Records records;
    for (int i = 0; i < flags.size(); ++i)
        records.add(QStringLiteral("s%1.dat").arg(i), flags.at(i));
    WorkPassReport report;
    QVector<int> called;
    report.onWork = [&called](const WorkPassReport::Work &work) { called << work.number; };
    QVERIFY2(records.run(&report), qPrintable(report.failures.join('\n')));

    QStringList folders;
    for (int i = 0; i < works.size(); ++i) {
        const QString folder = works.at(i).section('/', 0, 0);
        const QString base = works.at(i).section('/', 1);
        folders << folder;
        QCOMPARE(report.made.value(i).folder, records.works(folder));
        QCOMPARE(report.made.value(i).dataPath, records.source(base + ".dat"));
        QVERIFY(QFileInfo::exists(records.works(works.at(i) + ".dat")));
    }
    QCOMPARE(subfolders(records.works()), folders);
    QCOMPARE(report.made.size(), works.size());
    QCOMPARE(called.size(), works.size());
    for (int i = 0; i < report.made.size(); ++i) {
        QCOMPARE(report.made.at(i).number, i + 1);
        QCOMPARE(called.at(i), i + 1);
    }
    QVERIFY(report.indexWritten);
    const QString page = readTextFile(records.works("index.html"));
    QCOMPARE(page.count("<tr>"), works.size());
    for (const QString &work : works)
        QVERIFY2(page.contains("href=\".//" + QString(work).replace('/', "//") + ".dat\""),
                 qPrintable(work));
    QVERIFY(page.startsWith("<html>\n"));
    QVERIFY(page.endsWith("    </table>\n  </body>\n</html>\n"));
}

void TestWorkPass::workContents_data()
{
    QTest::addColumn<bool>("localId");
    QTest::addColumn<bool>("original");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("base");

    QTest::newRow("original names, local id") << true << true << "w-x-0001"
                                              << "s0";
    QTest::newRow("canonical names") << false << false << "w-x-0001"
                                     << "s0-id1-BLC2-98310";
}

void TestWorkPass::workContents()
{
    QFETCH(bool, localId);
    QFETCH(bool, original);
    QFETCH(QString, folder);
    QFETCH(QString, base);

    Records records;
    DataSet *dataSet = records.add("s0.dat", "1", "the data bytes\n");
    QVERIFY(writeTextFile(records.source("s0.info"), "Comment: info bytes\n"));
    WorkOptions options = plainOptions();
    options.useWork = true;
    options.work = QStringLiteral("w");
    options.useBranch = true;
    options.branch = QStringLiteral("x");
    options.localId = localId;
    options.originalNames = original;
    WorkPassReport report;
    QVERIFY2(records.run(options, &report), qPrintable(report.failures.join('\n')));

    const QString work = records.works(folder) + '/';
    QCOMPARE(readBytes(work + base + ".dat"), QByteArray("the data bytes\n"));
    QCOMPARE(readBytes(work + base + ".info"), QByteArray("Comment: info bytes\n"));
    QStringList expectedFiles{base + ".dat", base + ".info", base + ".png", "metadata.yml"};
    expectedFiles.sort();
    QCOMPARE(QDir(work).entryList(QDir::Files, QDir::Name), expectedFiles);

    const QString title = QStringLiteral("XAFS Std. Meas. of Cu (foil)");
    QCOMPARE(dataSet->meta.value("INFO_013"), title);
    QCOMPARE(dataSet->meta.value("INFO_014"), title);
    QCOMPARE(dataSet->meta.value("FILE_001"), base);
    QCOMPARE(dataSet->meta.value("FILE_026"), base);
    QCOMPARE(dataSet->meta.contains("INFO_015"), localId);
    if (localId)
        QCOMPARE(dataSet->meta.value("INFO_015"), folder);

    const QString yml = readTextFile(work + "metadata.yml");
    QVERIFY2(yml.contains("\n  title:             " + title + "\n"), qPrintable(yml));
    QVERIFY2(yml.contains("\n  file:              " + base + "\n"), qPrintable(yml));
    QCOMPARE(yml.contains("\n  local_id:          " + folder + "\n"), localId);

    QImage picture;
    QVERIFY(picture.load(work + base + ".png"));
    QCOMPARE(picture.size(), pictureSize);
}

void TestWorkPass::companionByLastDot()
{
    Records records;
    records.add("a.b.dat", "1", "ab\n");
    QVERIFY(writeTextFile(records.source("a.b.info"), "companion\n"));
    QVERIFY(writeTextFile(records.source("a.info"), "not this one\n"));
    WorkOptions options = plainOptions();
    options.originalNames = false;
    QVERIFY(records.run(options));
    const QString base = records.works("-0001/a-id1-BLC2-98310");
    QCOMPARE(readBytes(base + ".dat"), QByteArray("ab\n"));
    QCOMPARE(readBytes(base + ".info"), QByteArray("companion\n"));
}

void TestWorkPass::nestedFolderName()
{
    Records records;
    records.add("s0.dat", "1");
    WorkOptions options = plainOptions();
    options.useBranch = true;
    options.branch = QStringLiteral("a/b");
    QVERIFY(records.run(options));
    QVERIFY(QFileInfo::exists(records.works("-a/b-0001/s0.dat")));
    QVERIFY(QFileInfo::exists(records.works("-a/b-0001/metadata.yml")));
    const QString page = readTextFile(records.works("index.html"));
    QVERIFY(page.contains("<a href=\".//-a/b-0001//s0.dat\"> s0 </a>"));
    QVERIFY(page.contains("<a href=\".//-a/b-0001//metadata.yml\">"));
}

void TestWorkPass::placeholdersInValues()
{
    Records records;
    DataSet *dataSet = records.add("%1.dat", "1");
    dataSet->meta["SMPL_001"] = QStringLiteral("%2");
    dataSet->meta["SMPL_002"] = QStringLiteral("%1");
    WorkOptions options = plainOptions();
    options.useWork = true;
    options.work = QStringLiteral("%2");
    QVERIFY(records.run(options));
    QCOMPARE(dataSet->meta.value("INFO_013"), QStringLiteral("XAFS Std. Meas. of %2 (%1)"));
    QVERIFY(QFileInfo::exists(records.works("%2-0001/%1.dat")));
    const QString page = readTextFile(records.works("index.html"));
    QVERIFY(page.contains("<a href=\".//%252-0001//%251.dat\"> %1 </a>"));
}

void TestWorkPass::secondPass()
{
    Records records;
    records.add("same.dat", "1", "unchanged\n");
    records.add("edited.dat", "1", "first version\n");
    QVERIFY(writeTextFile(records.source("same.info"), "info\n"));
    QVERIFY(records.run());

    const QString keptData = records.works("-0001/same.dat");
    const QString keptInfo = records.works("-0001/same.info");
    const QString stale = records.works("-0002/edited.dat");
    const QString extra = records.works("-0002/notes.txt");
    QVERIFY(writeTextFile(extra, "mine\n"));
    // Back-dated, so a rewrite of the copies would show in their times.
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
    for (const QString &path : {keptData, keptInfo, stale}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QVERIFY(writeTextFile(records.source("edited.dat"), "second version, longer\n"));
    records.sets.at(0)->meta["SMPL_001"] = QStringLiteral("Zn");
    QVERIFY(QFile::remove(records.works("index.html")));

    WorkPassReport report;
    QVERIFY2(records.run(&report), qPrintable(report.failures.join('\n')));
    QCOMPARE(QFileInfo(keptData).lastModified(), old);
    QCOMPARE(QFileInfo(keptInfo).lastModified(), old);
    QCOMPARE(readBytes(stale), QByteArray("second version, longer\n"));
    QVERIFY(QFileInfo(stale).lastModified() != old);
    QCOMPARE(readBytes(extra), QByteArray("mine\n"));
    QCOMPARE(QDir(records.works("-0002")).entryList(QDir::Files, QDir::Name),
             (QStringList{"edited.dat", "edited.png", "metadata.yml", "notes.txt"}));
    QVERIFY(readTextFile(records.works("-0001/metadata.yml")).contains("of Zn (foil)"));
    QVERIFY(QFileInfo::exists(records.works("index.html")));
    QCOMPARE(report.made.size(), 2);
}

void TestWorkPass::folderCannotBeMade()
{
    Records records;
    records.add("s0.dat", "1");
    records.add("s1.dat", "1");
    // A file where the first work folder would go.
    QVERIFY(writeTextFile(records.works("-0001"), "in the way\n"));
    const QString blocked = records.works("-0001");
    QTest::ignoreMessage(
        QtDebugMsg,
        qPrintable(QStringLiteral("\"Work Folder [%1] can not be created\"").arg(blocked)));
    WorkPassReport report;
    QVERIFY(!records.run(&report));

    QCOMPARE(report.failures.size(), 1);
    QVERIFY(report.failures.first().startsWith(blocked + ": "));
    QCOMPARE(readBytes(blocked), QByteArray("in the way\n"));
    QCOMPARE(subfolders(records.works()), QStringList{"-0002"});
    QVERIFY(QFileInfo::exists(records.works("-0002/s1.dat")));
    QCOMPARE(report.made.size(), 1);
    QCOMPARE(report.made.first().number, 2);
    QCOMPARE(report.made.first().dataPath, records.source("s1.dat"));
    QVERIFY(report.indexWritten);
    const QString page = readTextFile(records.works("index.html"));
    QCOMPARE(page.count("<tr>"), 1);
    QVERIFY(page.contains(".//-0002//s1.dat"));
    QVERIFY(!records.sets.first()->meta.contains("FILE_001"));
}

void TestWorkPass::worksDirectoryUnderFile()
{
    Records records;
    records.add("s0.dat", "1");
    QVERIFY(writeTextFile(records.tmp.filePath("plain"), "x"));
    const QDir works(records.tmp.filePath("plain/works"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Work Folder \\[.*\\] can not be created"));
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QStringLiteral("\"Index File [%1] can not be opened\"")
                                        .arg(works.absoluteFilePath("index.html"))));
    WorkPassReport report;
    QVERIFY(
        !runWorkPass(works, records.sets, plainOptions(), passTemplate(), CommonValues(), &report));
    QCOMPARE(report.failures.size(), 2);
    QVERIFY(report.made.isEmpty());
    QVERIFY(!report.indexWritten);
    QCOMPARE(readBytes(records.tmp.filePath("plain")), QByteArray("x"));
}

void TestWorkPass::indexCannotBeWritten()
{
    Records records;
    records.add("s0.dat", "1");
    QVERIFY(QDir(records.works()).mkpath("index.html"));
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QStringLiteral("\"Index File [%1] can not be opened\"")
                                        .arg(records.works("index.html"))));
    WorkPassReport report;
    QVERIFY(!records.run(&report));
    QVERIFY(!report.indexWritten);
    QCOMPARE(report.failures.size(), 1);
    QVERIFY(report.failures.first().startsWith(records.works("index.html") + ": "));
    QCOMPARE(report.made.size(), 1);
    QVERIFY(QFileInfo::exists(records.works("-0001/s0.dat")));
    QVERIFY(QFileInfo::exists(records.works("-0001/metadata.yml")));
}

void TestWorkPass::missingDataFile()
{
    Records records;
    records.add("gone.dat", "1");
    records.add("here.dat", "1");
    QVERIFY(QFile::remove(records.source("gone.dat")));
    WorkPassReport report;
    QVERIFY(!records.run(&report));
    QCOMPARE(report.failures.size(), 1);
    QVERIFY(report.failures.first().startsWith(records.source("gone.dat") + ": "));
    QCOMPARE(report.made.size(), 2);
    QVERIFY(!QFileInfo::exists(records.works("-0001/gone.dat")));
    QVERIFY(QFileInfo::exists(records.works("-0001/metadata.yml")));
    QVERIFY(QFileInfo::exists(records.works("-0002/here.dat")));
}

QTEST_MAIN(TestWorkPass)
#include "TestWorkPass.moc"
