// The generation pass on hand-made data set records: which records get a
// work, how folders and files are named, what lands in each work, how the
// pass carries on past failures; the index page and the copies it makes.

#include "works/Copy.h"
#include "works/IndexPage.h"
#include "works/WorkPass.h"

#include "TestSupport.h"

#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CopyResult)

namespace {

// Data set records over files written into a temporary folder.
struct Records
{
    QTemporaryDir tmp;
    QList<DataSet *> sets;
    WorkOptions options;
    MetaTemplate tpl; // shows the values the pass stores in each record
    WorkPassReport report;

    Records()
    {
        QDir(tmp.path()).mkpath("src");
        QDir(tmp.path()).mkpath("works");
        options.imageSize = QSize(48, 32);
        loadTemplateText(tpl, "work:\n  local_id: INFO_015 input\n  title: INFO_013 input\n"
                              "  title2: INFO_014 input\n  file: FILE_001 input\n"
                              "  file2: FILE_026 input\n");
    }
    ~Records() { qDeleteAll(sets); }

    QString path(const QString &rest) const { return tmp.filePath(rest); }

    DataSet *add(const QString &fileName, const QString &flag, const QString &content = "data\n")
    {
        auto *ds = new DataSet;
        ds->path = path("src/" + fileName);
        writeTextFile(ds->path, content);
        ds->fileInfo = QFileInfo(ds->path);
        ds->fileName = fileName;
        ds->baseName = ds->fileInfo.baseName();
        ds->header.firstItem = "id1";
        ds->header.beamline = "BLC2";
        ds->header.startYear = "98";
        ds->header.startMonth = "3";
        ds->header.startDay = "10";
        ds->meta["SYS_001"] = flag;
        ds->meta["SMPL_001"] = "Cu";
        ds->meta["SMPL_002"] = "foil";
        sets << ds;
        return ds;
    }

    bool run(const QString &dir = "works")
    {
        return runWorkPass(QDir(path(dir)), sets, options, tpl, CommonValues(), &report);
    }
};

} // namespace

class TestWorkPass : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void pass_data();
    void pass();
    void workContents_data();
    void workContents();
    void secondPass();
    void indexPage_data();
    void indexPage();
    void copyIfChanged_data();
    void copyIfChanged();
};

// clang-format off
void TestWorkPass::names_data()
{
    QTest::addColumn<QString>("what"); // suffix: path, suffix; folder: parts used WDTB, count; base
    QTest::addColumn<QStringList>("in");
    QTest::addColumn<QString>("expected");

    QTest::newRow("suffix none") << "suffix" << QStringList{"/d/x", "png"} << "/d/x.png";
    QTest::newRow("suffix relative") << "suffix" << QStringList{"a/x.dat", "png"} << QDir::current().absoluteFilePath("a/x.png");
    QTest::newRow("folder WDTB") << "folder" << QStringList{"1111", "1"} << "W-D-T-B-0001";
    QTest::newRow("folder 12345") << "folder" << QStringList{"0000", "12345"} << "-12345";
    QTest::newRow("base canonical slashes") << "base" << QStringList{"0", "s", "id\\1", "BL/2"} << "s-id_1-BL_2-98310";
    QTest::newRow("base canonical placeholders") << "base" << QStringList{"0", "%2", "%1", "%3"} << "%2-%1-%3-98310";
}
// clang-format on

void TestWorkPass::names()
{
    QFETCH(QString, what);
    QFETCH(QStringList, in);
    const QString parts = in[0] + "0000";
    WorkOptions o;
    o.useWork = parts[0] == '1';
    o.useDate = parts[1] == '1';
    o.useTime = parts[2] == '1';
    o.useBranch = parts[3] == '1';
    o.work = "W";
    o.date = "D";
    o.time = "T";
    o.branch = "B";
    o.originalNames = in[0] == "1";
    DataSet ds;
    ds.baseName = in.value(1);
    ds.header.firstItem = in.value(2);
    ds.header.beamline = in.value(3);
    ds.header.startYear = "98";
    ds.header.startMonth = "3";
    ds.header.startDay = "10";
    const QString got = what == "suffix"   ? withSuffix(in[0], in[1])
                        : what == "folder" ? workFolderName(o, in[1].toInt())
                                           : workFileBase(o, ds);
    QTEST(got, "expected");
}

// clang-format off
void TestWorkPass::pass_data()
{
    QTest::addColumn<QStringList>("flags"); // of the records s0, s1, ...
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QStringList>("failed"); // under the temporary folder, before ": why"
    QTest::addColumn<QStringList>("made");   // folder/base of each work, in order

    QTest::newRow("1 0 1 numbered without gaps") << QStringList{"1", "0", "1"} << "" << QStringList() << QStringList{"-0001/s0", "-0002/s2"};
    QTest::newRow("only exactly 1") << QStringList{"2", "", "abc", "1.0", "1", "-1"} << "" << QStringList() << QStringList{"-0001/s4"};
    QTest::newRow("none flagged") << QStringList{"0", "0"} << "" << QStringList() << QStringList();
    QTest::newRow("folder cannot be created") << QStringList{"1", "1"} << "file at -0001" << QStringList{"works/-0001"} << QStringList{"-0002/s1"};
    QTest::newRow("index cannot be written") << QStringList{"1", "1"} << "index is a folder" << QStringList{"works/index.html"} << QStringList{"-0001/s0", "-0002/s1"};
    QTest::newRow("data file gone") << QStringList{"1", "1"} << "s0.dat removed" << QStringList{"src/s0.dat"} << QStringList{"-0001/s0", "-0002/s1"};
}
// clang-format on

void TestWorkPass::pass()
{
    QFETCH(QStringList, flags);
    QFETCH(QString, obstacle);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, made);

    Records records;
    for (int i = 0; i < flags.size(); ++i)
        records.add(QString("s%1.dat").arg(i), flags.at(i));
    if (obstacle == "file at -0001")
        QVERIFY(writeTextFile(records.path("works/-0001"), "in the way\n"));
    else if (obstacle == "index is a folder")
        QVERIFY(QDir(records.path("works")).mkpath("index.html"));
    else if (!obstacle.isEmpty())
        QVERIFY(QFile::remove(records.path("src/s0.dat")));
    QVector<int> called;
    records.report.onWork = [&called](const WorkPassReport::Work &work) { called << work.number; };
    QCOMPARE(records.run(), failed.isEmpty());

    QCOMPARE(records.report.failures.size(), failed.size());
    for (int i = 0; i < failed.size(); ++i)
        QVERIFY2(records.report.failures[i].startsWith(records.path(failed[i]) + ": "),
                 qPrintable(records.report.failures[i]));
    QCOMPARE(records.report.made.size(), made.size());
    QCOMPARE(called.size(), made.size());
    const QString page = readTextFile(records.path("works/index.html"));
    QCOMPARE(records.report.indexWritten, obstacle != "index is a folder");
    QCOMPARE(page.count("<tr>"), records.report.indexWritten ? made.size() : 0);
    for (int i = 0; i < made.size(); ++i) {
        const QString folder = made[i].section('/', 0, 0), base = made[i].section('/', 1);
        QCOMPARE(called[i], records.report.made[i].number);
        QCOMPARE(records.report.made[i].folder, records.path("works/" + folder));
        QCOMPARE(records.report.made[i].dataPath, records.path("src/" + base + ".dat"));
        QVERIFY(QFileInfo::exists(records.path("works/" + made[i] + ".png")));
        QCOMPARE(QFileInfo::exists(records.path("works/" + made[i] + ".dat")),
                 !failed.contains("src/" + base + ".dat"));
        QVERIFY(!records.report.indexWritten || page.contains(".//" + folder + "//" + base));
    }
    const QStringList folders =
        QDir(records.path("works")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), made.size() + (obstacle == "index is a folder"));
    if (obstacle == "file at -0001") {
        QCOMPARE(readBytes(records.path("works/-0001")), QByteArray("in the way\n"));
        QVERIFY(!records.sets[0]->meta.contains("FILE_001"));
    }
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

    QTest::newRow("original names, local id") << "s0.dat" << "w" << "x" << "Cu" << true << true << "w-x-0001/s0" << "XAFS Std. Meas. of Cu (foil)";
    // The companion is found by the last dot (a.b.info, not a.info).
    QTest::newRow("canonical names") << "a.b.dat" << "w" << "x" << "Cu" << false << false << "w-x-0001/a-id1-BLC2-98310" << "XAFS Std. Meas. of Cu (foil)";
    QTest::newRow("slash in folder name kept") << "s0.dat" << "w" << "a/b" << "Cu" << false << true << "w-a/b-0001/s0" << "XAFS Std. Meas. of Cu (foil)";
    QTest::newRow("placeholders in values") << "%1.dat" << "%2" << "%1" << "%2" << false << true << "%2-%1-0001/%1" << "XAFS Std. Meas. of %2 (foil)";
}
// clang-format on

void TestWorkPass::workContents()
{
    QFETCH(QString, file);
    QFETCH(QString, sample);
    QFETCH(bool, localId);
    QFETCH(QString, files);
    QFETCH(QString, title);

    Records records;
    DataSet *ds = records.add(file, "1", "the data bytes\n");
    ds->meta["SMPL_001"] = sample;
    QVERIFY(writeTextFile(withSuffix(ds->path, "info"), "Comment: info bytes\n"));
    QVERIFY(writeTextFile(records.path("src/a.info"), "not this one\n"));
    records.options.useWork = records.options.useBranch = true;
    QFETCH(QString, work);
    QFETCH(QString, branch);
    records.options.work = work;
    records.options.branch = branch;
    records.options.localId = localId;
    QFETCH(bool, original);
    records.options.originalNames = original;
    QVERIFY2(records.run(), qPrintable(records.report.failures.join('\n')));

    const QString folder = files.section('/', 0, -2), base = files.section('/', -1);
    const QString at = records.path("works/" + files);
    QCOMPARE(readBytes(at + ".dat"), QByteArray("the data bytes\n"));
    QCOMPARE(readBytes(at + ".info"), QByteArray("Comment: info bytes\n"));
    QCOMPARE(QImage(at + ".png").size(), QSize(48, 32));
    QCOMPARE(ds->meta.value("INFO_013") + ds->meta.value("INFO_014"), title + title);
    QCOMPARE(ds->meta.value("FILE_001") + ds->meta.value("FILE_026"), base + base);
    QCOMPARE(ds->meta.value("INFO_015", "absent"), localId ? folder : "absent");
    const QString yml = readTextFile(records.path("works/" + folder + "/metadata.yml"));
    QVERIFY2(yml.contains("\n  file:              " + yamlValue(base, false) + "\n"),
             qPrintable(yml));
    QCOMPARE(yml.contains("\n  local_id:          " + folder + "\n"), localId);
}

// A copy that has not changed is not written again; one that has is, and
// files of the user's own in a work stay.
void TestWorkPass::secondPass()
{
    Records records;
    records.add("same.dat", "1", "unchanged\n");
    records.add("edited.dat", "1", "first version\n");
    QVERIFY(writeTextFile(records.path("src/same.info"), "info\n"));
    QVERIFY(records.run());
    const QStringList kept{"works/-0001/same.dat", "works/-0001/same.info"};
    QVERIFY(writeTextFile(records.path("works/-0002/notes.txt"), "mine\n"));
    // Back-dated, so that a rewrite of a copy shows in its time.
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
    for (const QString &path : kept + QStringList{"works/-0002/edited.dat"}) {
        QFile file(records.path(path));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QVERIFY(writeTextFile(records.path("src/edited.dat"), "second version, longer\n"));
    records.sets[0]->meta["SMPL_001"] = "Zn";

    QVERIFY2(records.run(), qPrintable(records.report.failures.join('\n')));
    for (const QString &path : kept)
        QCOMPARE(QFileInfo(records.path(path)).lastModified(), old);
    QCOMPARE(readBytes(records.path("works/-0002/edited.dat")),
             QByteArray("second version, longer\n"));
    QCOMPARE(readBytes(records.path("works/-0002/notes.txt")), QByteArray("mine\n"));
    QVERIFY(readTextFile(records.path("works/-0001/metadata.yml")).contains("of Zn (foil)"));
}

// A row once its folder and base name are encoded for links (href, src) and
// escaped for text.
QString indexRow(const QString &folder, const QString &base, const QString &text)
{
    return QString("<tr><td><a href=\"%1%2.png\"> <img src=\"%1%2.png\" width=\"64\" "
                   "height=\"64\"> </a></td><td><a href=\"%1%2.dat\"> %3 </a></td><td><a "
                   "href=\"%1metadata.yml\"> meta </a></td><td><a href=\"%1%2.png\"> picture "
                   "</a></td></tr>\n")
        .arg(".//" + folder + "//", base, text);
}

void TestWorkPass::indexPage_data()
{
    QTest::addColumn<QStringList>("works"); // workName, fileBase, workName, fileBase, ...
    QTest::addColumn<QString>("rows");
    QTest::newRow("markup characters escaped")
        << QStringList{"w&<1>", "a\"b"} << indexRow("w&amp;&lt;1&gt;", "a&quot;b", "a&quot;b");
    QTest::newRow("url characters encoded in links only")
        << QStringList{"w#1?", "50%"} << indexRow("w%231%3F", "50%25", "50%");
    QTest::newRow("encoded then escaped")
        << QStringList{"&#", "%23"} << indexRow("&amp;%23", "%2523", "%23");
    QTest::newRow("placeholders kept") << QStringList{"%2", "%1"} << indexRow("%252", "%251", "%1");
}

void TestWorkPass::indexPage()
{
    QFETCH(QStringList, works);
    QFETCH(QString, rows);
    QString page;
    QTextStream out(&page);
    writeIndexHead(out, "XAFS Data", "XAFS Data");
    for (int i = 0; i + 1 < works.size(); i += 2)
        writeIndexRow(out, works[i], works[i + 1]);
    writeIndexTail(out);
    out.flush();
    QCOMPARE(page, "<html>\n  <head>\n    <title> XAFS Data </title>\n  </head>\n  <body>\n    "
                   "<h1> XAFS Data </h1>\n    <table>\n" +
                       rows + "    </table>\n  </body>\n</html>\n");
}

// Copies into a work replace their target in one step, keep an identical one
// and leave nothing behind when they fail.
void TestWorkPass::copyIfChanged_data()
{
    QTest::addColumn<QByteArray>("source"); // null: no source file
    QTest::addColumn<QString>("target");    // old: a file there; folder: a folder in the way
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<CopyResult>("expected");
    const QByteArray scan("   9809\n1 2 3\r\n");
    QTest::newRow("new") << scan << "" << QByteArray() << CopyResult::Copied;
    QTest::newRow("same size") << scan << "old" << QByteArray(scan).replace('1', '7')
                               << CopyResult::Copied;
    QTest::newRow("empty over old") << QByteArray("") << "old" << scan << CopyResult::Copied;
    QTest::newRow("no source") << QByteArray() << "old" << scan << CopyResult::NoSource;
    QTest::newRow("folder in the way") << scan << "folder" << QByteArray() << CopyResult::Failed;
    QTest::newRow("no folder") << scan << "gone" << QByteArray() << CopyResult::Failed;
}

void TestWorkPass::copyIfChanged()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, target);
    QFETCH(QByteArray, old);
    QFETCH(CopyResult, expected);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QFile from(dir.filePath("scan.dat"));
    QVERIFY(source.isNull() ||
            (from.open(QIODevice::WriteOnly) && from.write(source) == source.size()));
    from.close();
    QVERIFY(dir.mkdir("work"));
    const QString to = dir.filePath(target == "gone" ? "gone/copy.dat" : "work/copy.dat");
    // A replaced copy keeps its own permissions; a new one gets QSaveFile's.
    QFile file(to);
    if (target == "old") {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        file.close();
    }
    QVERIFY(target != "folder" || dir.mkpath("work/copy.dat/inside"));
    const QFileDevice::Permissions own = QFile::permissions(to);
    QSaveFile reference(dir.filePath("work/reference"));
    QVERIFY(reference.open(QIODevice::WriteOnly) && reference.commit());
    QStringList entries = QDir(dir.filePath("work")).entryList();

    QString why;
    QCOMPARE(::copyIfChanged(from.fileName(), to, &why), expected);
    QCOMPARE(why.isEmpty(), expected != CopyResult::Failed);
    if (target.isEmpty())
        entries << "copy.dat";
    entries.sort();
    QCOMPARE(QDir(dir.filePath("work")).entryList(), entries); // no temporary file left behind
    QVERIFY(target != "folder" || QFileInfo(dir.filePath("work/copy.dat/inside")).isDir());
    if (target == "old" || expected == CopyResult::Copied) {
        QCOMPARE(readBytes(to), expected == CopyResult::Copied ? source : old);
        QCOMPARE(QFile::permissions(to),
                 target == "old" ? own : QFile::permissions(reference.fileName()));
    }
}

QTEST_MAIN(TestWorkPass)
#include "TestWorkPass.moc"
