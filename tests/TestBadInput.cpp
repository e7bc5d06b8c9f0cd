// Files korvane did not write, broken in the ways real ones are, and places it
// cannot write to: the real executable must report or skip each one, finish,
// and leave what the user already has untouched.

#include "TestSupport.h"

#include <QDirIterator>

#include <sys/stat.h>

class TestBadInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void badInput_data();
    void badInput();

private:
    bool write(const QString &name, const QByteArray &bytes)
    {
        QFile f(big.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    // The large generated files, made once and only read by the runs.
    QTemporaryDir big;
};

void TestBadInput::initTestCase()
{
    QVERIFY(big.isValid());
    // A good header: an example scan up to its first data line.
    const QByteArray example = readBytes(sourcePath("examples/Cu_foil_K_001.dat"));
    const int at = example.indexOf("   13.16610   13.16610");
    const QByteArray header = example.left(at), points = example.mid(at);

    // Lines of many megabytes in the header (a 20 MB comment, a Mode line of a
    // million items) and in the data (20 MB of counts, and a quote, which sends
    // its line down the text path): each must be read in linear time.
    const QByteArray item(" 514584");
    const QByteArray longHeader =
        QByteArray(header)
            .insert(header.indexOf("      Mode") + 10, QByteArray(" 1").repeated(1 << 20))
            .insert(header.indexOf("Cu metal"), QByteArray(20 << 20, 'c'));
    QVERIFY(write("huge-lines.dat", longHeader + "13.2 13.2 1.0" + item.repeated(3 << 20) +
                                        "\n13.2 13.2 1.0 \"q\"" + item.repeated(600000) + '\n' +
                                        points));
    // Old Mac line ends: one line of 2 MB to a reader that splits at "\n".
    QVERIFY(write("cr.dat", QByteArray(header + points.repeated(64)).replace('\n', '\r')));
    // A data-properties keys line with half a million more keys.
    QByteArray props = readBytes(sourcePath("examples/dataProps-filled.csv"));
    const int keysEnd = props.indexOf("\"SMPL_006\"") + 10;
    QVERIFY(
        write("dataProps-wide.csv", props.insert(keysEnd, QByteArray(",\"X\"").repeated(500000))));
    // Opening a pipe nobody writes to would wait for ever, as a scan and as
    // the info file beside one, which the pass copies.
    for (const char *pipe : {"pipe.dat", "piped.info"})
        QCOMPARE(::mkfifo(QFile::encodeName(big.filePath(pipe)).constData(), 0600), 0);
    QVERIFY(write("piped.dat", example));
    // 100 MB: a header, then the example's points over and over.
    QVERIFY(write("big.dat", header + points.repeated((100 << 20) / points.size() + 1)));
    // More points than a record may hold, and more blank lines than a vector
    // of points could hold (reserving room for them threw bad_alloc).
    QVERIFY(write("many-points.dat", header + QByteArray("1\n").repeated(10000001)));
    QVERIFY(write("most-points.dat", header + QByteArray("1\n").repeated(10000000) + "\n \n"));
    QVERIFY(write("blank-lines.dat", header + QByteArray(60000000, '\n')));
    // 300 MB with no bytes on disk: a file too large to read.
    QFile huge(big.filePath("huge.dat"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write(header) && huge.resize(300 << 20));
}

void TestBadInput::badInput_data()
{
    QTest::addColumn<QString>("args"); // "@" stands for the folder of the big files
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errPattern");  // must match standard error
    QTest::addColumn<QString>("file");        // a file written by the run ...
    QTest::addColumn<QString>("filePattern"); // ... and what its text must match
    QTest::addColumn<QString>("untouched");   // a file whose bytes must not change
    QTest::addColumn<QString>("earlier");     // "copy=original ...": files in place before the run
    QTest::addColumn<QString>("limitKiB");    // file-size limit, or none
    auto row = [](const char *name, const QString &args, int exitCode, const QString &err,
                  const QString &file = {}, const QString &pattern = {},
                  const QString &untouched = {}, const QString &earlier = {},
                  const QString &limitKiB = {}) {
        QTest::newRow(name) << args << exitCode << err << file << pattern << untouched << earlier
                            << limitKiB;
    };

    const QString all = "-files Cu_foil_K_001.dat CuO_K_002.dat Cu2O_K_003.dat "
                        "CuSO4_sol_004.dat Cu_foil_K_005.dat ";
    const QString gw = " Cu_foil_K_001.dat -wud 0 -wut 0 -gw works";
    const QString yml = "works/CuK-refs-0001/metadata.yml";
    const QString earlier = "dataProps.csv=dataProps-filled.csv", props = "dataProps.csv";
    const QString summary = "%1 files opened, %2 rejected, %3 works made";

    // Each rejected with its reason, in order; the good file after them is made.
    const QStringList rejected{
        "truncated.dat the file ends at line 7 before the data section",
        "comma-separated.dat line 1: its first item is not \"9809\"",
        "wrong-tag.dat line 5: does not start with \" Mono :\"",
        "@/cr.dat the file ends at line 1 before the data section",
        "absent.dat cannot open the file: No such file",
        "folder.dat cannot open the file: it is a directory",
        "/dev/zero cannot open the file: it is not a regular file",
        "@/pipe.dat cannot open the file: it is not a regular file",
        "@/huge.dat cannot open the file: it is larger than 256 MiB",
        "@/many-points.dat the file has more than 10000000 data points",
    };
    QString files, reasons;
    for (const QString &r : rejected) {
        files += ' ' + r.section(' ', 0, 0);
        reasons +=
            r.section(' ', 0, 0).section('/', -1) + " rejected: " + r.section(' ', 1) + "[\\s\\S]*";
    }
    row("rejected data files", "-files" + files + gw, 1, reasons + summary.arg(1).arg(10).arg(1),
        yml, "measured_at");
    row("named pipe as the info file beside a scan", "-files @/piped.dat" + gw, 0,
        summary.arg(2).arg(0).arg(2), yml, "measured_at");
    // Files large, long-lined or of many lines are read, and each gives a record.
    // The most points a record may hold, then blank lines.
    row("big data files",
        "-files @/huge-lines.dat @/big.dat @/blank-lines.dat @/most-points.dat -sdp out.csv", 0,
        summary.arg(4).arg(0).arg(0), "out.csv",
        "\\nhuge-lines.dat,\"1\"[\\s\\S]*\\nbig.dat,\"1\"[\\s\\S]*\\nblank-lines.dat,\"1\"");

    auto readRow = [&](const char *name, const QString &args, int opened, const QString &out) {
        row(name, args + " out.csv", 0, summary.arg(opened).arg(0).arg(0), "out.csv", "\\n" + out);
    };
    // The broken line's fields run together; the lines after it are whole.
    const QString cuO = "CuO_K_002.dat,\"1\",\"\",\"Copper\\(II\\) oxide\",\"CuO\",";
    readRow("data-properties line with a stray quote", all + "-ldp dataProps-broken-quote.csv -sdp",
            5, cuO);
    readRow(
        "data-properties lines with more fields than keys",
        all + "-ldp dataProps-extra-fields.csv -sdp", 5,
        "Cu_foil_K_001.dat,\"1\",\"\",\"Copper foil\",\"Cu\",\"foil\",\"7 um\",\"RT\",(?!\"extra)");
    readRow("data-properties keys line of 2 MB", all + "-ldp @/dataProps-wide.csv -sdp", 5, cuO);
    readRow("common-properties line with a stray quote", "-p commProps-broken-quote.csv -scp", 0,
            "\"INFO_002\",\"2026G512\",\"beamtime proposal number\"");

    // No later action runs, works included.
    row("missing data-properties file", all + "-ldp absent.csv -sdp dataProps.csv -gw works", 1,
        "loading data properties \\(-ldp absent.csv\\) failed: cannot read", "works/index.html",
        "\\A\\z", props, earlier);
    row("directory given as data-properties file", all + "-ldp folder.dat -sdp dataProps.csv", 1,
        "failed: cannot read .*directory", "", "", props, earlier);
    // Loading goes on: the unclosed item runs to the end of its line.
    row("template with unbalanced quotes",
        "-t unbalanced-quote.yml -ldp dataProps-filled.csv -files" + gw, 0,
        summary.arg(1).arg(0).arg(1), yml,
        "\\Asample:\\n +title: +Copper foil\\n +formula: +Cu\\n\\z");
    // A block that is left out and never closed leaves out the rest.
    row("template block without end",
        "-t block-without-end.yml -ldp dataProps-filled.csv -files" + gw, 0,
        summary.arg(1).arg(0).arg(1), yml, "\\Asample:\\n +name: +Copper foil\\n\\z");
    // Both files are read once: the names come from each.
    row("cyclic INCLUDE", "-c cyclic.cfg -files" + gw, 0, summary.arg(1).arg(0).arg(1),
        "works/index.html", "cyc-loop-0001");
    row("works directory below a regular file",
        "-files Cu_foil_K_001.dat -wud 0 -wut 0 -gw plain.txt/works", 1,
        "CuK-refs-0001: the work folder can not be created", "", "", "plain.txt");
    row("data properties saved below a regular file", all + "-sdp plain.txt/dataProps.csv", 1,
        "saving data properties .* failed: cannot write", "", "", "plain.txt");
    row("full disk while saving data properties", all + "-sdp dataProps.csv", 1,
        "saving data properties \\(-sdp dataProps.csv\\) failed: cannot write", "", "", props,
        earlier, "0");
    row("common-properties template saved below a regular file", "-gcp plain.txt/c.csv", 1,
        "writing the common-properties template .* failed: cannot write", "", "", "plain.txt");
    row("full disk while saving common properties", "-scp commProps.csv", 1,
        "saving common properties \\(-scp commProps.csv\\) failed: cannot write", "", "",
        "commProps.csv", "", "0");
    // The data copy (32 KB) does not fit in the next folder; another scan's copy of that name in
    // the first stays as it was.
    const QString copy = "works/CuK-refs-0001/Cu_foil_K_001.dat";
    row("full disk while making works", "-files" + gw, 1,
        "works/CuK-refs-0002/Cu_foil_K_001.dat: ", "", "", copy, copy + "=Cu_foil_K_005.dat", "16");
    // The copy is there already; the picture (17 KB) does not fit, so the earlier one (any
    // bytes) stays and the work is not made.
    const QString png = "works/CuK-refs-0001/Cu_foil_K_001.png";
    const QString none = summary.arg(1).arg(0).arg(0);
    const QString both = copy + "=Cu_foil_K_001.dat " + png + "=Cu_foil_K_005.dat";
    row("full disk, picture", "-files" + gw, 1, png + ": [\\s\\S]*" + none, "", "", png, both, "8");
    // One scan, one record and one work, however often and under whatever name it is given.
    row("a file opened twice, and through a link",
        "-d Cu_foil_K_001.dat -files ./Cu_foil_K_001.dat link-001.dat" + gw, 0,
        "link-001.dat is already open \\(as Cu_foil_K_001.dat\\)[\\s\\S]*1 files opened, 3 "
        "already open, 0 rejected, 1 works made");
    // No date made up for an end that was never written, no placeholder for a value.
    const QString aborted = " " KORVANE_TEST_DATA "/real/k-aborted-scan.dat";
    row("aborted scan: placeholder end time and current", "-files" + aborted + gw, 0,
        summary.arg(2).arg(0).arg(2), yml, "\\A(?![\\s\\S]*(%00|2000-0))[\\s\\S]*at: +2017-12-01");
    // The rest of the work is made; only the picture is refused.
    row("absurd image size", "-c huge-image.cfg -files" + gw, 1,
        "Cu_foil_K_001.png: an image of 40000 x 40000 pixels is too large", yml, "measured_at");
}

void TestBadInput::badInput()
{
    QFETCH(QString, args);
    QFETCH(QString, earlier);
    QFETCH(QString, file);
    QFETCH(QString, untouched);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QDir dir(tmp.path());
    QVERIFY(!copyFiles(sourcePath("examples"), tmp.path()).isEmpty());
    QVERIFY(!copyFiles(testDataPath("bad"), tmp.path()).isEmpty());
    QVERIFY(dir.mkdir("folder.dat"));
    QVERIFY(writeTextFile(dir.filePath("plain.txt"), "notes\n"));
    QVERIFY(QFile::link("Cu_foil_K_001.dat", dir.filePath("link-001.dat")));
    for (const QString &pair : words(earlier)) {
        const QString copy = dir.filePath(pair.section('=', 0, 0));
        QVERIFY(dir.mkpath(QFileInfo(copy).path()));
        QVERIFY(QFile::copy(dir.filePath(pair.section('=', 1)), copy));
    }
    const QByteArray before = untouched.isEmpty() ? "" : readBytes(dir.filePath(untouched));
    QVERIFY(untouched.isEmpty() || !before.isEmpty());

    QFETCH(QString, limitKiB);
    const KorvaneRun run =
        runKorvane(tmp.path(), words(args.replace(" @", " " + big.path())), limitKiB);
    QFETCH(QString, errPattern);
    QVERIFY2(run.err.contains(QRegularExpression(errPattern)), qPrintable(run.err.right(2000)));
    QTEST(run.exitCode, "exitCode");
    const QString text = readTextFile(dir.filePath(file));
    QFETCH(QString, filePattern);
    QVERIFY2(file.isEmpty() || text.contains(QRegularExpression(filePattern)), qPrintable(text));
    if (!untouched.isEmpty())
        QCOMPARE(readBytes(dir.filePath(untouched)), before);
    // A failed save leaves no temporary file behind either.
    const QStringList temporary{"*.csv.*", "*.dat.*", "*.png.*"};
    QDirIterator it(tmp.path(), temporary, QDir::Files, QDirIterator::Subdirectories);
    const QString left = it.hasNext() ? it.next() : QString();
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "TestBadInput.moc"
