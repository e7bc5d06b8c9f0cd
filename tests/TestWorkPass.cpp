// The generation pass on hand-made data set records: which records get a work, how folders and
// files are named, what lands in each work, how the pass carries on past failures, and that drawing
// the pictures on every core changes nothing; the index page and the copies it makes.

#include "works/Copy.h"
#include "works/IndexPage.h"
#include "works/WorkPass.h"

#include "TestSupport.h"

#include <QDirIterator>
#include <QSaveFile>

Q_DECLARE_METATYPE(CopyResult)

namespace {

// A data set record of the file at path, with the header items canonical names are made of.
std::unique_ptr<DataSet> record(const QString &path, const QString &item = "id\\1",
                                const QString &beamline = "BL/2")
{
    auto ds = std::make_unique<DataSet>();
    ds->path = path;
    ds->fileName = QFileInfo(path).fileName();
    ds->baseName = QFileInfo(path).baseName();
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
    void pass_data();
    void pass();
    void indexPage_data();
    void indexPage();
    void copyIfChanged_data();
    void copyIfChanged();
};

void TestWorkPass::pass_data()
{
    // name:flag, and :info when name has a companion; name is a .dat file's base, or the file's
    // name when it ends in .qd; a name again is the same record again
    QTest::addColumn<QStringList>("records");
    // Options (work=, date=, time=, branch=, local, canonical), sample=, blocked (a file where
    // -0001 goes), gone (s0.dat removed), or what an earlier pass left in the works folder (a path
    // there; a folder when it ends in "/"; "path=line" holds the bytes of the record of that line).
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("failed"); // under the temporary folder, before ": why"
    // folder/base of each work given a folder, in order; "!" before one that is not made.
    QTest::addColumn<QStringList>("works");
    auto row = [](const char *name, const char *records, const char *setup, const char *failed,
                  const char *works) {
        QTest::newRow(name) << words(records) << QString(setup) << words(failed) << words(works);
    };
    row("1 0 1 without gaps", "s0:1:info s1:0 s2:1", "", "", "-0001/s0 -0002/s2");
    row("only exactly 1", "s0:2 s1: s2:abc s3:1.0 s4:1 s5:-1", "", "", "-0001/s4");
    row("none flagged", "s0:0", "", "", "");
    row("listed again, many works", "a:1 b:1 a:1 c:1 d:1 e:1 f:1 a:1", "", "",
        "-0001/a -0002/b -0003/a -0004/c -0005/d -0006/e -0007/f -0008/a");
    row("folder cannot be created", "s0:1 s1:1", "blocked", "works/-0001", "-0002/s1");
    row("index fails", "s0:1 s1:1", "index.html/", "works/index.html", "-0001/s0 -0002/s1");
    row("data file gone", "s0:1:info s1:1", "gone", "src/s0.dat", "!-0001/s0 -0002/s1");
    row("picture fails", "s0:1 s1:1", "-0001/s0.png/", "works/-0001/s0.png", "!-0001/s0 -0002/s1");
    // The companion is found by the last dot (a.b.info, not a.info).
    // Canonical names have no path separators.
    row("canonical", "a.b:1:info", "work=w local canonical", "", "w-0001/a-id_1-BL_2-98310");
    row("every part of a folder name", "s0:1", "work=W date=D time=T branch=B", "",
        "W-D-T-B-0001/s0");
    row("placeholders", "%1:1:info", "work=%2 branch=%1 sample=%2", "", "%2-%1-0001/%1");
    row("placeholders, canonical", "%2:1", "time=%1 canonical", "", "-%1-0001/%2-id_1-BL_2-98310");
    row("others skipped", "s0:1 s1:1", "local -0001/x.dat -0003/.dat", "", "-0002/s0 -0004/s1");
    row("same name, other bytes: a new work", "s0:1", "-0001/s0.dat -0001/s0.png", "", "-0002/s0");
    row("found again, numbers shifted", "s0:1 s1:1 s2:1", "local -0001/s1.dat=s1:1 -0002/s0.dat",
        "", "-0003/s0 -0001/s1 -0004/s2");
    row("found again, once", "s0:1 s0:1", "x-0009/s0.dat=s0:1 x-0003/s0.dat=s0:1", "",
        "x-0003/s0 x-0009/s0");
    row("the suffix kept", "s0.qd:1:info s0:1", "", "", "-0001/s0 -0002/s0");
    row("no data copy", "s0:1", "-0001/a.dat.tmp -0001/b.dat/c", "", "-0001/s0");
}

// Each row runs on one thread, then with the pictures drawn on every core:
// everything written and reported must be the same.
void TestWorkPass::pass()
{
    QFETCH(QStringList, records);
    QFETCH(QString, setup);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, works);
    QStringList serial;
    for (const bool parallel : {false, true}) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path()), worksDir(dir.filePath("works"));
        QVERIFY(dir.mkpath("src") && dir.mkpath("works"));
        QVERIFY(writeTextFile(dir.filePath("src/a.info"), "not this one\n"));
        QString sample = "Cu";
        WorkOptions o;
        o.imageSize = QSize(48, 32);
        QSet<QString> folders;
        for (const QString &w : words(setup)) {
            const QString value = w.section('=', 1);
            o.useWork |= w.startsWith("work=");
            o.work += w.startsWith("work=") ? value : "";
            o.useDate |= w.startsWith("date=");
            o.date += w.startsWith("date=") ? value : "";
            o.useTime |= w.startsWith("time=");
            o.time += w.startsWith("time=") ? value : "";
            o.useBranch |= w.startsWith("branch=");
            o.branch += w.startsWith("branch=") ? value : "";
            sample = w.startsWith("sample=") ? value : sample;
            o.localId |= w == "local";
            o.originalNames &= w != "canonical";
            if (w.contains('/')) {
                const QString path = w.section('=', 0, 0), line = w.section('=', 1);
                QVERIFY(worksDir.mkpath(w.endsWith('/') ? w : QFileInfo(path).path()));
                QVERIFY(w.endsWith('/') || writeTextFile(worksDir.filePath(path),
                                                         line.isEmpty() ? "earlier " + w : line));
                folders << w.section('/', 0, 0);
            }
        }
        std::vector<std::unique_ptr<DataSet>> owned;
        QHash<QString, DataSet *> byPath;
        QList<DataSet *> sets;
        for (const QString &line : records) {
            const QString name = line.section(':', 0, 0);
            const QString path = dir.filePath("src/" + name + (name.endsWith(".qd") ? "" : ".dat"));
            DataSet *&ds = byPath[path];
            sets << (ds ? ds : (ds = owned.emplace_back(record(path)).get()));
            if (sets.count(ds) > 1)
                continue;
            ds->meta["SYS_001"] = line.section(':', 1, 1);
            ds->meta["SMPL_001"] = sample;
            // An edge of its own for each record, so that no two pictures are alike.
            for (int i = 0; i < 40; ++i)
                ds->points.append(
                    {0, 0, 8900.0 + 4 * i, 1, {1e5, 1e5 / (1.5 + (i > 3 * sets.size()))}});
            QVERIFY(writeTextFile(path, line));
            if (line.endsWith(":info"))
                QVERIFY(writeTextFile(withSuffix(path, "info"), "info of " + line));
        }
        if (setup == "blocked")
            QVERIFY(writeTextFile(worksDir.filePath("-0001"), "in the way\n"));
        if (setup == "gone")
            QVERIFY(QFile::remove(dir.filePath("src/s0.dat")));
        MetaTemplate tpl;
        loadTemplateText(tpl, "work:\n  local_id: INFO_015 input\n");
        WorkPassReport report;
        report.parallel = parallel;
        const auto describe = [](const WorkPassReport::Work &w) {
            return QString("%1 %2 %3").arg(w.number).arg(w.dataPath, w.folder);
        };
        QStringList out;
        report.onWork = [&](const WorkPassReport::Work &w) { out << describe(w); };
        QCOMPARE(runWorkPass(worksDir, sets, o, tpl, CommonValues(), &report), failed.isEmpty());

        const QStringList &failures = report.failures;
        QCOMPARE(QStringList(failures).replaceInStrings(QRegularExpression(": .*"), ""),
                 QStringList(failed).replaceInStrings(QRegularExpression("^"), dir.path() + '/'));
        const QStringList made = works.filter(QRegularExpression("^[^!]"));
        QCOMPARE(report.made.size(), made.size());
        const QString page = readTextFile(worksDir.filePath("index.html"));
        QCOMPARE(report.indexWritten, !failed.contains("works/index.html"));
        QCOMPARE(page.count("<tr>"), report.indexWritten ? works.size() : 0);
        for (int i = 0; i < made.size(); ++i) {
            const QString folder = made[i].section('/', 0, -2), base = made[i].section('/', -1);
            const QString at = worksDir.filePath(made[i]), source = report.made[i].dataPath;
            QCOMPARE(report.made[i].folder, worksDir.filePath(folder));
            QCOMPARE(readBytes(at + '.' + QFileInfo(source).suffix()), readBytes(source));
            QCOMPARE(readBytes(at + ".info"), readBytes(withSuffix(source, "info")));
            QCOMPARE(QImage(at + ".png").size(), QSize(48, 32));
            QVERIFY(!report.indexWritten || page.contains(".//" + htmlLink(folder) + "//"));
            const DataSet *ds = byPath[source];
            const QString title = "XAFS Std. Meas. of " + sample + " (foil)";
            QCOMPARE(ds->meta.value("INFO_013") + ds->meta.value("INFO_014"), title + title);
            QCOMPARE(ds->meta.value("FILE_001") + ds->meta.value("FILE_026"), base + base);
            QCOMPARE(ds->meta.value("INFO_015", "none"), o.localId ? folder : "none");
            const QString yml = readTextFile(worksDir.filePath(folder + "/metadata.yml"));
            QCOMPARE(yml.contains("\n  local_id:          " + folder + "\n"), o.localId);
        }
        // No other folder is made, none holds two scans, and no copy is ever written over.
        for (const QString &work : works)
            folders << work.mid(work.startsWith('!')).section('/', 0, -2);
        const QStringList found = worksDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(QSet<QString>(found.begin(), found.end()), folders);
        for (const QString &folder : found)
            QVERIFY2(
                QDir(worksDir.filePath(folder)).entryList({"*.dat", "*.qd"}, QDir::Files).size() <=
                    1,
                qPrintable(folder));
        for (const QString &w : words(setup).filter(".dat"))
            QCOMPARE(readBytes(worksDir.filePath(w.section('=', 0, 0))),
                     w.contains('=') ? w.section('=', 1).toUtf8() : "earlier " + w.toUtf8());
        QVERIFY(setup != "blocked" || readBytes(worksDir.filePath("-0001")) == "in the way\n");

        // Every work announced as it was reported, then the failures and every file.
        QStringList reported;
        for (const WorkPassReport::Work &w : report.made)
            reported << describe(w);
        QCOMPARE(out, reported);
        out += failures;
        for (QDirIterator it(tmp.path(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next();
            // The catalogue names the folder and the time of the pass (TestCatalogue reads it).
            if (!path.endsWith("/catalogue.html"))
                out << path + ' ' + readBytes(path).toBase64();
        }
        std::sort(out.begin() + reported.size() + failures.size(), out.end());
        out.replaceInStrings(tmp.path(), "<tmp>");
        if (parallel)
            QCOMPARE(out, serial);
        serial = out;
    }
}

// A row once its folder and base name are encoded for links (href, src) and escaped for text.
QString indexRow(const QString &folder, const QString &base, const QString &text)
{
    return QString("<tr><td><a href=\"%1%2.png\"> <img src=\"%1%2.png\" width=\"64\" "
                   "height=\"64\"> </a></td><td><a href=\"%1%2.qd\"> %3 </a></td><td><a "
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
        writeIndexRow(out, works[i], works[i + 1], works[i + 1] + ".qd");
    writeIndexTail(out);
    out.flush();
    QCOMPARE(page, "<html>\n  <head>\n    <title> XAFS Data </title>\n  </head>\n  <body>\n    "
                   "<h1> XAFS Data </h1>\n    <table>\n" +
                       rows + "    </table>\n  </body>\n</html>\n");
}

// Copies into a work replace their target in one step, keep an identical one
// and leave nothing behind when they fail. A target reached through symbolic
// links is written at their end, and the links stay.
void TestWorkPass::copyIfChanged_data()
{
    QTest::addColumn<QByteArray>("source"); // null: no source file
    // old: a file there; folder: a folder in the way; chain: copy -> l2 -> f, f holding old;
    // dangling: copy -> f, no f; loop: copy -> l2 -> copy
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<CopyResult>("expected");
    const QByteArray scan("   9809\n1 2 3\r\n"), other = QByteArray(scan).replace('1', '7');
    QTest::newRow("new") << scan << "" << QByteArray() << CopyResult::Copied;
    QTest::newRow("same bytes") << scan << "old" << scan << CopyResult::Kept;
    QTest::newRow("same size") << scan << "old" << other << CopyResult::Copied;
    QTest::newRow("no source") << QByteArray() << "old" << scan << CopyResult::NoSource;
    QTest::newRow("folder in the way") << scan << "folder" << QByteArray() << CopyResult::Failed;
    QTest::newRow("chain of two links") << scan << "chain" << other << CopyResult::Copied;
    QTest::newRow("dangling link") << scan << "dangling" << QByteArray() << CopyResult::Copied;
    QTest::newRow("links in a loop") << scan << "loop" << QByteArray() << CopyResult::Failed;
}

void TestWorkPass::copyIfChanged()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, target);
    QFETCH(QByteArray, old);
    QFETCH(CopyResult, expected);
    QTemporaryDir tmp;
    const QDir work(tmp.path());
    const QString from = work.filePath("scan.dat"), to = work.filePath("copy.dat");
    QVERIFY(source.isNull() || writeTextFile(from, source));
    const bool linked = target == "chain" || target == "dangling";
    const bool twoLinks = target == "chain" || target == "loop";
    const QString end = linked ? work.filePath("f") : to;
    // A replaced copy keeps its own permissions; a new one gets QSaveFile's.
    if (target == "old" || target == "chain")
        QVERIFY(writeTextFile(end, old) &&
                QFile::setPermissions(end, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(target != "folder" || work.mkpath("copy.dat/inside"));
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
    QCOMPARE(::copyIfChanged(from, to, &why), expected);
    QCOMPARE(why.isEmpty(), expected != CopyResult::Failed);
    if (target.isEmpty() || target == "dangling")
        entries << QFileInfo(end).fileName();
    entries.sort();
    QCOMPARE(work.entryList(all), entries); // no temporary file left behind
    QVERIFY(target != "folder" || QFileInfo(work.filePath("copy.dat/inside")).isDir());
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
