// The generation pass on hand-made data set records: which records get a
// work, how folders and files are named, what lands in each work, and how
// the pass carries on past failures.

#include "works/WorkPass.h"

#include "TestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TplLine tplLine(const QString &ymlKey, const QString &id, TplType type = Input)
{
    TplLine line;
    line.ymlKey = ymlKey;
    line.id = id;
    line.types = {type};
    return line;
}

// Shows the values the pass stores in each record.
MetaTemplate passTemplate()
{
    MetaTemplate tpl;
    tpl.lines = {tplLine("work:", "", Other),     tplLine("  local_id:", "INFO_015"),
                 tplLine("  title:", "INFO_013"), tplLine("  title2:", "INFO_014"),
                 tplLine("  file:", "FILE_001"),  tplLine("  file2:", "FILE_026")};
    return tpl;
}

// Data set records over files written into a temporary folder.
struct Records
{
    QTemporaryDir tmp;
    QList<DataSet *> sets;
    WorkOptions options;

    Records()
    {
        QDir(tmp.path()).mkpath("src");
        QDir(tmp.path()).mkpath("works");
        options.imageSize = QSize(48, 32);
    }
    ~Records() { qDeleteAll(sets); }

    QString source(const QString &name) const { return tmp.filePath("src/" + name); }
    QString works(const QString &rest = QString()) const { return tmp.filePath("works/" + rest); }

    DataSet *add(const QString &fileName, const QString &flag, const QString &content = "data\n")
    {
        auto *ds = new DataSet;
        writeTextFile(source(fileName), content);
        ds->path = source(fileName);
        ds->fileInfo = QFileInfo(ds->path);
        ds->fileName = ds->fileInfo.fileName();
        ds->baseName = ds->fileInfo.baseName();
        ds->header.firstItem = "id1";
        ds->header.beamline = "BLC2";
        ds->header.startYear = "98";
        ds->header.startMonth = "3";
        ds->header.startDay = "10";
        ds->meta["SYS_001"] = flag;
        ds->meta["SMPL_001"] = "Cu";
        ds->meta["SMPL_002"] = "foil";
        for (int i = 0; i < 3; ++i) {
            DataPoint point;
            point.energy = 8970 + 10 * i;
            point.counts = {1000, 100.0 * (i + 1)};
            ds->points << point;
        }
        ds->xMin = 8970;
        ds->xMax = 8990;
        ds->yMin = 1.0;
        ds->yMax = 2.3;
        sets << ds;
        return ds;
    }

    bool run(WorkPassReport *report = nullptr, const QString &dir = QString())
    {
        return runWorkPass(QDir(dir.isEmpty() ? works() : dir), sets, options, passTemplate(),
                           CommonValues(), report);
    }
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
    void names_data();
    void names();
    void flags_data();
    void flags();
    void workContents_data();
    void workContents();
    void secondPass();
    void failures_data();
    void failures();
};

// clang-format off
void TestWorkPass::names_data()
{
    QTest::addColumn<QString>("what"); // suffix: path, suffix; folder: parts used WDTB, count; base
    QTest::addColumn<QStringList>("in");
    QTest::addColumn<QString>("expected");

    QTest::newRow("suffix replaced") << "suffix" << QStringList{"/d/x.dat", "png"} << "/d/x.png";
    QTest::newRow("suffix last only") << "suffix" << QStringList{"/d/a.b.dat", "info"} << "/d/a.b.info";
    QTest::newRow("suffix same") << "suffix" << QStringList{"/d/metadata.yml", "yml"} << "/d/metadata.yml";
    QTest::newRow("suffix none") << "suffix" << QStringList{"/d/x", "png"} << "/d/x.png";
    QTest::newRow("suffix relative") << "suffix" << QStringList{"a/x.dat", "png"} << QDir::current().absoluteFilePath("a/x.png");
    QTest::newRow("suffix placeholder") << "suffix" << QStringList{"/d/%1.dat", "info"} << "/d/%1.info";
    QTest::newRow("folder none") << "folder" << QStringList{"0000", "1"} << "-0001";
    QTest::newRow("folder W") << "folder" << QStringList{"1000", "1"} << "W-0001";
    QTest::newRow("folder D") << "folder" << QStringList{"0100", "1"} << "-D-0001";
    QTest::newRow("folder T") << "folder" << QStringList{"0010", "1"} << "-T-0001";
    QTest::newRow("folder B") << "folder" << QStringList{"0001", "1"} << "-B-0001";
    QTest::newRow("folder WD") << "folder" << QStringList{"1100", "1"} << "W-D-0001";
    QTest::newRow("folder WT") << "folder" << QStringList{"1010", "1"} << "W-T-0001";
    QTest::newRow("folder WB") << "folder" << QStringList{"1001", "1"} << "W-B-0001";
    QTest::newRow("folder DT") << "folder" << QStringList{"0110", "1"} << "-D-T-0001";
    QTest::newRow("folder DB") << "folder" << QStringList{"0101", "1"} << "-D-B-0001";
    QTest::newRow("folder TB") << "folder" << QStringList{"0011", "1"} << "-T-B-0001";
    QTest::newRow("folder WDT") << "folder" << QStringList{"1110", "1"} << "W-D-T-0001";
    QTest::newRow("folder WDB") << "folder" << QStringList{"1101", "1"} << "W-D-B-0001";
    QTest::newRow("folder WTB") << "folder" << QStringList{"1011", "1"} << "W-T-B-0001";
    QTest::newRow("folder DTB") << "folder" << QStringList{"0111", "1"} << "-D-T-B-0001";
    QTest::newRow("folder WDTB") << "folder" << QStringList{"1111", "1"} << "W-D-T-B-0001";
    QTest::newRow("folder 999") << "folder" << QStringList{"0000", "999"} << "-0999";
    QTest::newRow("folder 1000") << "folder" << QStringList{"0000", "1000"} << "-1000";
    QTest::newRow("folder 12345") << "folder" << QStringList{"0000", "12345"} << "-12345";
    QTest::newRow("base original") << "base" << QStringList{"1", "sample", "T", "B"} << "sample";
    QTest::newRow("base original backslash") << "base" << QStringList{"1", "a\\b", "T", "B"} << "a\\b";
    QTest::newRow("base canonical") << "base" << QStringList{"0", "sample", "T", "B"} << "sample-T-B-98310";
    QTest::newRow("base canonical slash") << "base" << QStringList{"0", "s", "id/1", "BL/2"} << "s-id_1-BL_2-98310";
    QTest::newRow("base canonical backslash") << "base" << QStringList{"0", "s", "id\\1", "B"} << "s-id_1-B-98310";
    QTest::newRow("base canonical placeholders") << "base" << QStringList{"0", "%2", "%1", "%3"} << "%2-%1-%3-98310";
    QTest::newRow("base canonical empty items") << "base" << QStringList{"0", "s", "", ""} << "s---98310";
}
// clang-format on

void TestWorkPass::names()
{
    QFETCH(QString, what);
    QFETCH(QStringList, in);
    QString got;
    if (what == "suffix") {
        got = withSuffix(in[0], in[1]);
    } else if (what == "folder") {
        WorkOptions o;
        o.useWork = in[0][0] == '1';
        o.useDate = in[0][1] == '1';
        o.useTime = in[0][2] == '1';
        o.useBranch = in[0][3] == '1';
        o.work = "W";
        o.date = "D";
        o.time = "T";
        o.branch = "B";
        got = workFolderName(o, in[1].toInt());
    } else {
        DataSet ds;
        ds.baseName = in[1];
        ds.header.firstItem = in[2];
        ds.header.beamline = in[3];
        ds.header.startYear = "98";
        ds.header.startMonth = "3";
        ds.header.startDay = "10";
        WorkOptions o;
        o.originalNames = in[0] == "1";
        got = workFileBase(o, ds);
    }
    QTEST(got, "expected");
}

// clang-format off
void TestWorkPass::flags_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QStringList>("works"); // folder/base of each work, in order

    QTest::newRow("1 0 1 numbered without gaps") << QStringList{"1", "0", "1"} << QStringList{"-0001/s0", "-0002/s2"};
    QTest::newRow("none flagged") << QStringList{"0", "0"} << QStringList();
    QTest::newRow("no data sets") << QStringList() << QStringList();
    QTest::newRow("1.0 is not 1") << QStringList{"1.0", "1"} << QStringList{"-0001/s1"};
    QTest::newRow("only exactly 1") << QStringList{"2", "", "abc", "1", "-1"} << QStringList{"-0001/s3"};
    QTest::newRow("all flagged") << QStringList{"1", "1", "1"} << QStringList{"-0001/s0", "-0002/s1", "-0003/s2"};
}
// clang-format on

void TestWorkPass::flags()
{
    QFETCH(QStringList, flags);
    QFETCH(QStringList, works);

    Records records;
    for (int i = 0; i < flags.size(); ++i)
        records.add(QString("s%1.dat").arg(i), flags.at(i));
    WorkPassReport report;
    QVector<int> called;
    report.onWork = [&called](const WorkPassReport::Work &work) { called << work.number; };
    QVERIFY2(records.run(&report), qPrintable(report.failures.join('\n')));

    QStringList folders;
    QCOMPARE(report.made.size(), works.size());
    for (int i = 0; i < works.size(); ++i) {
        folders << works[i].section('/', 0, 0);
        QCOMPARE(report.made[i].number, i + 1);
        QCOMPARE(report.made[i].folder, records.works(folders.last()));
        QCOMPARE(report.made[i].dataPath, records.source(works[i].section('/', 1) + ".dat"));
        QVERIFY(QFileInfo::exists(records.works(works[i] + ".dat")));
    }
    QCOMPARE(subfolders(records.works()), folders);
    QCOMPARE(called, QVector<int>(QVector<int>() << 1 << 2 << 3).mid(0, works.size()));
    QVERIFY(report.indexWritten);
    const QString page = readTextFile(records.works("index.html"));
    QCOMPARE(page.count("<tr>"), works.size());
    for (QString work : works)
        QVERIFY2(page.contains("href=\".//" + work.replace('/', "//") + ".dat\""),
                 qPrintable(work));
}

// clang-format off
void TestWorkPass::workContents_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("work"); // the work-name part of the folder
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("localId");
    QTest::addColumn<bool>("original");
    QTest::addColumn<QString>("files"); // folder/base of the copies
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("link"); // a link the page must hold

    QTest::newRow("original names, local id") << "s0.dat" << "w" << "x" << "Cu" << true << true << "w-x-0001/s0" << "XAFS Std. Meas. of Cu (foil)" << "<a href=\".//w-x-0001//s0.dat\"> s0 </a>";
    // The companion is found by the last dot (a.b.info, not a.info).
    QTest::newRow("canonical names") << "a.b.dat" << "w" << "x" << "Cu" << false << false << "w-x-0001/a-id1-BLC2-98310" << "XAFS Std. Meas. of Cu (foil)" << "<a href=\".//w-x-0001//metadata.yml\">";
    QTest::newRow("slash in folder name kept") << "s0.dat" << "w" << "a/b" << "Cu" << false << true << "w-a/b-0001/s0" << "XAFS Std. Meas. of Cu (foil)" << "<a href=\".//w-a/b-0001//s0.dat\"> s0 </a>";
    QTest::newRow("placeholders in values") << "%1.dat" << "%2" << "%1" << "%2" << false << true << "%2-%1-0001/%1" << "XAFS Std. Meas. of %2 (foil)" << "<a href=\".//%252-%251-0001//%251.dat\"> %1 </a>";
}
// clang-format on

void TestWorkPass::workContents()
{
    QFETCH(QString, file);
    QFETCH(QString, sample);
    QFETCH(bool, localId);
    QFETCH(bool, original);
    QFETCH(QString, files);
    QFETCH(QString, title);
    QFETCH(QString, link);

    Records records;
    DataSet *ds = records.add(file, "1", "the data bytes\n");
    ds->meta["SMPL_001"] = sample;
    const QString companion = withSuffix(records.source(file), "info");
    QVERIFY(writeTextFile(companion, "Comment: info bytes\n"));
    QVERIFY(writeTextFile(records.source("a.info"), "not this one\n"));
    records.options.useWork = records.options.useBranch = true;
    QFETCH(QString, work);
    QFETCH(QString, branch);
    records.options.work = work;
    records.options.branch = branch;
    records.options.localId = localId;
    records.options.originalNames = original;
    WorkPassReport report;
    QVERIFY2(records.run(&report), qPrintable(report.failures.join('\n')));

    const QString folder = files.section('/', 0, -2), base = files.section('/', -1);
    const QString dir = records.works(folder) + '/';
    QCOMPARE(readBytes(dir + base + ".dat"), QByteArray("the data bytes\n"));
    QCOMPARE(readBytes(dir + base + ".info"), QByteArray("Comment: info bytes\n"));
    QStringList expectedFiles{base + ".dat", base + ".info", base + ".png", "metadata.yml"};
    expectedFiles.sort();
    QCOMPARE(QDir(dir).entryList(QDir::Files, QDir::Name), expectedFiles);
    QCOMPARE(ds->meta.value("INFO_013"), title);
    QCOMPARE(ds->meta.value("INFO_014"), title);
    QCOMPARE(ds->meta.value("FILE_001"), base);
    QCOMPARE(ds->meta.value("FILE_026"), base);
    QCOMPARE(ds->meta.value("INFO_015", "absent"), localId ? folder : QString("absent"));
    const QString yml = readTextFile(dir + "metadata.yml");
    QVERIFY2(yml.contains("\n  file:              " + yamlValue(base, false) + "\n"),
             qPrintable(yml));
    QCOMPARE(yml.contains("\n  local_id:          " + folder + "\n"), localId);
    QImage picture;
    QVERIFY(picture.load(dir + base + ".png"));
    QCOMPARE(picture.size(), QSize(48, 32));
    QVERIFY2(readTextFile(records.works("index.html")).contains(link), qPrintable(link));
}

void TestWorkPass::secondPass()
{
    Records records;
    records.add("same.dat", "1", "unchanged\n");
    records.add("edited.dat", "1", "first version\n");
    QVERIFY(writeTextFile(records.source("same.info"), "info\n"));
    QVERIFY(records.run());

    const QString keptData = records.works("-0001/same.dat"),
                  keptInfo = records.works("-0001/same.info");
    const QString stale = records.works("-0002/edited.dat"),
                  extra = records.works("-0002/notes.txt");
    QVERIFY(writeTextFile(extra, "mine\n"));
    // Back-dated, so that a rewrite of a copy shows in its time.
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
    for (const QString &path : {keptData, keptInfo, stale}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QVERIFY(writeTextFile(records.source("edited.dat"), "second version, longer\n"));
    records.sets[0]->meta["SMPL_001"] = "Zn";

    WorkPassReport report;
    QVERIFY2(records.run(&report), qPrintable(report.failures.join('\n')));
    QCOMPARE(QFileInfo(keptData).lastModified(), old);
    QCOMPARE(QFileInfo(keptInfo).lastModified(), old);
    QCOMPARE(readBytes(stale), QByteArray("second version, longer\n"));
    QCOMPARE(readBytes(extra), QByteArray("mine\n"));
    QCOMPARE(QDir(records.works("-0002")).entryList(QDir::Files, QDir::Name),
             (QStringList{"edited.dat", "edited.png", "metadata.yml", "notes.txt"}));
    QVERIFY(readTextFile(records.works("-0001/metadata.yml")).contains("of Zn (foil)"));
    QCOMPARE(report.made.size(), 2);
}

// clang-format off
void TestWorkPass::failures_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QStringList>("failed"); // under the temporary folder, before ": why"
    QTest::addColumn<QStringList>("made");   // work numbers, then files that must exist
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<int>("rows"); // of index.html; -1: no page

    QTest::newRow("folder cannot be created") << "file at -0001" << QStringList{"works/-0001"} << QStringList{"2", "works/-0002/s1.dat"} << QStringList{"works/-0001/s0.dat"} << 1;
    QTest::newRow("works folder under a file") << "works under a file" << QStringList{"plain/works/-0001", "plain/works/-0002", "plain/works/index.html"} << QStringList{} << QStringList{} << -1;
    QTest::newRow("index cannot be written") << "index is a folder" << QStringList{"works/index.html"} << QStringList{"1", "2", "works/-0001/s0.dat", "works/-0002/metadata.yml"} << QStringList{} << -1;
    QTest::newRow("data file gone") << "s0.dat removed" << QStringList{"src/s0.dat"} << QStringList{"1", "2", "works/-0001/metadata.yml", "works/-0002/s1.dat"} << QStringList{"works/-0001/s0.dat"} << 2;
}
// clang-format on

void TestWorkPass::failures()
{
    QFETCH(QString, obstacle);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, made);
    QFETCH(QStringList, absent);
    QFETCH(int, rows);

    Records records;
    records.add("s0.dat", "1");
    records.add("s1.dat", "1");
    QString dir;
    if (obstacle == "file at -0001") {
        QVERIFY(writeTextFile(records.works("-0001"), "in the way\n"));
    } else if (obstacle == "works under a file") {
        QVERIFY(writeTextFile(records.tmp.filePath("plain"), "x"));
        dir = records.tmp.filePath("plain/works");
    } else if (obstacle == "index is a folder") {
        QVERIFY(QDir(records.works()).mkpath("index.html"));
    } else {
        QVERIFY(QFile::remove(records.source("s0.dat")));
    }
    for (const QString &f : failed)
        if (!f.startsWith("src/"))
            QTest::ignoreMessage(
                QtDebugMsg, QRegularExpression(QRegularExpression::escape(records.tmp.filePath(f)) +
                                               "\\] can not be"));
    WorkPassReport report;
    QVERIFY(!records.run(&report, dir));

    QCOMPARE(report.failures.size(), failed.size());
    for (int i = 0; i < failed.size(); ++i)
        QVERIFY2(report.failures[i].startsWith(records.tmp.filePath(failed[i]) + ": "),
                 qPrintable(report.failures[i]));
    QStringList numbers;
    for (const auto &work : report.made)
        numbers << QString::number(work.number);
    for (const QString &m : made)
        QVERIFY2(m.contains('/') ? QFileInfo::exists(records.tmp.filePath(m)) : numbers.contains(m),
                 qPrintable(m));
    QCOMPARE(numbers.size(), made.size() - made.filter("/").size());
    for (const QString &a : absent)
        QVERIFY2(!QFileInfo::exists(records.tmp.filePath(a)), qPrintable(a));
    QCOMPARE(report.indexWritten, rows >= 0);
    if (rows >= 0)
        QCOMPARE(readTextFile(records.works("index.html")).count("<tr>"), rows);
    if (obstacle == "file at -0001") {
        QCOMPARE(readBytes(records.works("-0001")), QByteArray("in the way\n"));
        QVERIFY(!records.sets[0]->meta.contains("FILE_001"));
    }
}

QTEST_MAIN(TestWorkPass)
#include "TestWorkPass.moc"
