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

#include <memory>

Q_DECLARE_METATYPE(CopyResult)

namespace {

// A data set record of the file at path, with the header items canonical
// names are made of.
std::unique_ptr<DataSet> record(const QString &path, const QString &item = "id1",
                                const QString &beamline = "BLC2")
{
    auto ds = std::make_unique<DataSet>();
    ds->path = path;
    ds->fileInfo = QFileInfo(path);
    ds->fileName = ds->fileInfo.fileName();
    ds->baseName = ds->fileInfo.baseName();
    ds->header.firstItem = item;
    ds->header.beamline = beamline;
    ds->header.startYear = "98";
    ds->header.startMonth = "3";
    ds->header.startDay = "10";
    ds->meta["SMPL_002"] = "foil";
    return ds;
}

} // namespace

class TestWorkPass : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void pass_data();
    void pass();
    void indexPage_data();
    void indexPage();
    void copyIfChanged_data();
    void copyIfChanged();
};

// clang-format off
void TestWorkPass::names_data()
{
    QTest::addColumn<QString>("what"); // suffix: path, suffix; folder: 1111 or none, count; base
    QTest::addColumn<QStringList>("in");
    QTest::addColumn<QString>("expected");

    QTest::newRow("suffix none") << "suffix" << QStringList{"/d/x", "png"} << "/d/x.png";
    QTest::newRow("suffix relative") << "suffix" << QStringList{"a/x.dat", "png"} << QDir::current().absoluteFilePath("a/x.png");
    QTest::newRow("folder WDTB") << "folder" << QStringList{"1111", "1"} << "W-D-T-B-0001";
    QTest::newRow("folder 12345") << "folder" << QStringList{"0000", "12345"} << "-12345";
    QTest::newRow("base canonical slashes") << "base" << QStringList{"", "s.dat", "id\\1", "BL/2"} << "s-id_1-BL_2-98310";
    QTest::newRow("base canonical placeholders") << "base" << QStringList{"", "%2.dat", "%1", "%3"} << "%2-%1-%3-98310";
}
// clang-format on

void TestWorkPass::names()
{
    QFETCH(QString, what);
    QFETCH(QStringList, in);
    WorkOptions o;
    o.useWork = o.useDate = o.useTime = o.useBranch = in[0] == "1111";
    o.work = "W";
    o.date = "D";
    o.time = "T";
    o.branch = "B";
    o.originalNames = false;
    const QString got = what == "suffix"   ? withSuffix(in[0], in[1])
                        : what == "folder" ? workFolderName(o, in[1].toInt())
                                           : workFileBase(o, *record(in.value(1), in[2], in[3]));
    QTEST(got, "expected");
}

// clang-format off
void TestWorkPass::pass_data()
{
    QTest::addColumn<QStringList>("records"); // file:flag, and :info when it has a companion
    QTest::addColumn<QString>("setup");       // options (work=, branch=, local, canonical), sample=, an obstacle
    QTest::addColumn<QStringList>("failed");  // under the temporary folder, before ": why"
    QTest::addColumn<QStringList>("made");    // folder/base of each work, in order

    QTest::newRow("1 0 1 numbered without gaps") << QStringList{"s0.dat:1:info", "s1.dat:0", "s2.dat:1"} << "" << QStringList() << QStringList{"-0001/s0", "-0002/s2"};
    QTest::newRow("only exactly 1") << QStringList{"s0.dat:2", "s1.dat:", "s2.dat:abc", "s3.dat:1.0", "s4.dat:1", "s5.dat:-1"} << "" << QStringList() << QStringList{"-0001/s4"};
    QTest::newRow("none flagged") << QStringList{"s0.dat:0"} << "" << QStringList() << QStringList();
    QTest::newRow("folder cannot be created") << QStringList{"s0.dat:1", "s1.dat:1"} << "blocked" << QStringList{"works/-0001"} << QStringList{"-0002/s1"};
    QTest::newRow("index cannot be written") << QStringList{"s0.dat:1", "s1.dat:1"} << "noindex" << QStringList{"works/index.html"} << QStringList{"-0001/s0", "-0002/s1"};
    QTest::newRow("data file gone") << QStringList{"s0.dat:1:info", "s1.dat:1"} << "gone" << QStringList{"src/s0.dat"} << QStringList{"-0001/s0", "-0002/s1"};
    // The companion is found by the last dot (a.b.info, not a.info).
    QTest::newRow("canonical names, local id") << QStringList{"a.b.dat:1:info"} << "work=w branch=x local canonical" << QStringList() << QStringList{"w-x-0001/a-id1-BLC2-98310"};
    QTest::newRow("placeholders in values") << QStringList{"%1.dat:1:info"} << "work=%2 branch=%1 sample=%2" << QStringList() << QStringList{"%2-%1-0001/%1"};
}
// clang-format on

void TestWorkPass::pass()
{
    QFETCH(QStringList, records);
    QFETCH(QString, setup);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, made);

    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(dir.mkpath("src") && dir.mkpath("works"));
    const QDir works(dir.filePath("works"));
    QVERIFY(writeTextFile(dir.filePath("src/a.info"), "not this one\n"));
    QString sample = "Cu";
    WorkOptions o;
    o.imageSize = QSize(48, 32);
    for (const QString &w : words(setup)) {
        const QString value = w.section('=', 1);
        o.useWork |= w.startsWith("work=");
        o.work += w.startsWith("work=") ? value : "";
        o.useBranch |= w.startsWith("branch=");
        o.branch += w.startsWith("branch=") ? value : "";
        sample = w.startsWith("sample=") ? value : sample;
        o.localId |= w == "local";
        o.originalNames &= w != "canonical";
    }
    std::vector<std::unique_ptr<DataSet>> owned;
    QList<DataSet *> sets;
    for (const QString &line : records) {
        owned.push_back(record(dir.filePath("src/" + line.section(':', 0, 0))));
        sets << owned.back().get();
        sets.last()->meta["SYS_001"] = line.section(':', 1, 1);
        sets.last()->meta["SMPL_001"] = sample;
        QVERIFY(writeTextFile(sets.last()->path, line));
        if (line.endsWith(":info"))
            QVERIFY(writeTextFile(withSuffix(sets.last()->path, "info"), "info of " + line));
    }
    if (setup == "blocked")
        QVERIFY(writeTextFile(works.filePath("-0001"), "in the way\n"));
    if (setup == "noindex")
        QVERIFY(works.mkpath("index.html"));
    if (setup == "gone")
        QVERIFY(QFile::remove(dir.filePath("src/s0.dat")));
    // Shows the values the pass stores in each record.
    MetaTemplate tpl;
    loadTemplateText(tpl, "work:\n  local_id: INFO_015 input\n  title: INFO_013 input\n  title2: "
                          "INFO_014 input\n  file: FILE_001 input\n  file2: FILE_026 input\n");
    WorkPassReport report;
    QCOMPARE(runWorkPass(works, sets, o, tpl, CommonValues(), &report), failed.isEmpty());

    const QStringList &failures = report.failures;
    QCOMPARE(failures.size(), failed.size());
    for (int i = 0; i < failed.size(); ++i)
        QVERIFY2(failures[i].startsWith(dir.filePath(failed[i]) + ": "), qPrintable(failures[i]));
    QCOMPARE(report.made.size(), made.size());
    const QString page = readTextFile(works.filePath("index.html"));
    QCOMPARE(report.indexWritten, setup != "noindex");
    QCOMPARE(page.count("<tr>"), report.indexWritten ? made.size() : 0);
    int stored = 0;
    for (const DataSet *ds : qAsConst(sets))
        stored += ds->meta.contains("FILE_001");
    QCOMPARE(stored, made.size());
    for (int i = 0; i < made.size(); ++i) {
        const QString folder = made[i].section('/', 0, -2), base = made[i].section('/', -1);
        const QString at = works.filePath(made[i]), source = report.made[i].dataPath;
        QCOMPARE(report.made[i].folder, works.filePath(folder));
        QCOMPARE(readBytes(at + ".dat"), readBytes(source));
        QCOMPARE(QFileInfo::exists(at + ".dat"), QFileInfo::exists(source));
        QCOMPARE(readBytes(at + ".info"), readBytes(withSuffix(source, "info")));
        QCOMPARE(QImage(at + ".png").size(), QSize(48, 32));
        QVERIFY(!report.indexWritten || page.contains(".//" + htmlLink(folder) + "//"));
        const DataSet *ds =
            *std::find_if(sets.begin(), sets.end(), [&](DataSet *d) { return d->path == source; });
        const QString title = "XAFS Std. Meas. of " + sample + " (foil)";
        QCOMPARE(ds->meta.value("INFO_013") + ds->meta.value("INFO_014"), title + title);
        QCOMPARE(ds->meta.value("FILE_001") + ds->meta.value("FILE_026"), base + base);
        QCOMPARE(ds->meta.value("INFO_015", "none"), o.localId ? folder : "none");
        const QString yml = readTextFile(works.filePath(folder + "/metadata.yml"));
        QCOMPARE(yml.contains("\n  local_id:          " + folder + "\n"), o.localId);
    }
    const QStringList folders = works.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), made.size() + (setup == "noindex"));
    QVERIFY(setup != "blocked" || readBytes(works.filePath("-0001")) == "in the way\n");
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
    QTest::newRow("same bytes") << scan << "old" << scan << CopyResult::Kept;
    QTest::newRow("same size") << scan << "old" << QByteArray(scan).replace('1', '7')
                               << CopyResult::Copied;
    QTest::newRow("no source") << QByteArray() << "old" << scan << CopyResult::NoSource;
    QTest::newRow("folder in the way") << scan << "folder" << QByteArray() << CopyResult::Failed;
}

void TestWorkPass::copyIfChanged()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, target);
    QFETCH(QByteArray, old);
    QFETCH(CopyResult, expected);
    QTemporaryDir tmp;
    const QDir dir(tmp.path()), work(dir.filePath("work"));
    QFile from(dir.filePath("scan.dat"));
    QVERIFY(source.isNull() ||
            (from.open(QIODevice::WriteOnly) && from.write(source) == source.size()));
    from.close();
    QVERIFY(dir.mkdir("work"));
    const QString to = work.filePath("copy.dat");
    const bool linked = target == "chain" || target == "dangling";
    const QString end = linked ? work.filePath("f") : to;
    // A replaced copy keeps its own permissions; a new one gets QSaveFile's.
    QFile file(end);
    if (target == "old" || target == "chain") {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        file.close();
    }
    QVERIFY(target != "folder" || dir.mkpath("work/copy.dat/inside"));
    const bool twoLinks = target == "chain" || target == "loop";
    QVERIFY(!twoLinks || QFile::link("l2", to));
    QVERIFY(target != "chain" || QFile::link("f", work.filePath("l2")));
    QVERIFY(target != "loop" || QFile::link("copy.dat", work.filePath("l2")));
    QVERIFY(target != "dangling" || QFile::link("f", to));
    const QFileDevice::Permissions own = QFile::permissions(end);
    QSaveFile reference(work.filePath("reference"));
    QVERIFY(reference.open(QIODevice::WriteOnly) && reference.commit());
    const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
    QStringList entries = work.entryList(all);

    QString why;
    QCOMPARE(::copyIfChanged(from.fileName(), to, &why), expected);
    QCOMPARE(why.isEmpty(), expected != CopyResult::Failed);
    if (target.isEmpty() || target == "dangling")
        entries << QFileInfo(end).fileName();
    entries.sort();
    QCOMPARE(work.entryList(all), entries); // no temporary file left behind
    QVERIFY(target != "folder" || QFileInfo(dir.filePath("work/copy.dat/inside")).isDir());
    QCOMPARE(QFileInfo(to).isSymLink(), linked || twoLinks);
    QCOMPARE(QFileInfo(work.filePath("l2")).isSymLink(), twoLinks);
    if (!old.isNull() || expected == CopyResult::Copied) {
        QCOMPARE(readBytes(end), expected == CopyResult::Copied ? source : old);
        QCOMPARE(QFile::permissions(end),
                 old.isNull() ? QFile::permissions(reference.fileName()) : own);
    }
}

QTEST_MAIN(TestWorkPass)
#include "TestWorkPass.moc"
