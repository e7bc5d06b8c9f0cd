// Runs the real korvane executable headless, as a script or cron job would.

#include "TestSupport.h"

namespace {

QStringList workFolders(const QString &worksDir)
{
    return QDir(worksDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void exitCodes_data();
    void exitCodes();
    void wholeNight();
    void realBeamlineFiles();
    void xdiNotes();
};

void TestBatch::exitCodes_data()
{
    QTest::addColumn<QString>("args"); // runs one after another, split at " ; "
    // added to the example configuration as batch.cfg; "none": no config.cfg nor template
    QTest::addColumn<QString>("config");
    QTest::addColumn<int>("exitCode");       // of the last run
    QTest::addColumn<QStringList>("said");   // on standard error (standard output for help)
    QTest::addColumn<QStringList>("unsaid"); // not on standard error
    QTest::addColumn<int>("works");          // work folders made in "w"
    auto row = [](const char *name, const QString &args, const char *config, int exitCode,
                  const QStringList &said, const QStringList &unsaid, int works) {
        QTest::newRow(name) << args << QString(config) << exitCode << said << unsaid << works;
    };

    const QStringList help{"-gw",  "-sdp", "-files", "Works_Dir", "Img_W",
                           "-wfn", "-e",   "-v",     "-xdi",      "Write_XDI"};
    row("-h", "-h", "", 0, help, {}, 0);
    row("--help", "--help", "", 0, help, {}, 0);
    row("-sdp without a file", "-sdp", "", 2, {"-sdp"}, {}, 0);
    row("-ldp before an option", "-ldp -gw w", "", 2, {"-ldp"}, {}, 0);
    const char *batch = "\n-d CuO_K_002.dat\n-gw w  # works without a window\n";
    // The template's dump and Qt's complaint of a session without a runtime folder.
    const QStringList log{"TplLine", "XDG_RUNTIME_DIR"};
    const QStringList work{"1 files opened", "work 1: CuO_K_002.dat"};
    row("configuration turns batch on", "-c batch.cfg", batch, 0, work, log, 1);
    row("-v: the debug log too", "-c batch.cfg -v", batch, 0, log, {}, 1);
    row("the command line beats the configuration", "-c batch.cfg -gw w",
        "\n-d CuO_K_002.dat\n-gw x", 0, work, {}, 1);
    // A file named on purpose must be read; a default one may be absent.
    const QString one = "-d CuO_K_002.dat -gw w";
    row("default template absent", one, "none", 0, {"warning: template", "1 works made"}, {}, 1);
    row("-p mistyped", "-p comProps.csv " + one, "", 1, {"common properties: cannot read"},
        {"works made"}, 0);
    row("-t a folder", "-t . " + one, "", 1, {"template . cannot be read: "}, {"works made"}, 0);
    row("-c absent", "-c absent.cfg " + one, "", 1, {"configuration file absent.cfg cannot"}, {},
        0);
    // The same folder names as the earlier run's: its folder keeps its scan.
    const QString run = " -wud 0 -wut 0 -gw w -files ", first = run + "CuO_K_002.dat ;";
    const QStringList second{"work 2: Cu2O_K_003.dat -> ", "CuK-refs-0002\n"};
    row("works of an earlier run", first + run + "Cu2O_K_003.dat", "", 0, second, {}, 2);
}

void TestBatch::exitCodes()
{
    QFETCH(QString, args);
    QFETCH(QString, config);
    QTemporaryDir dir;
    QVERIFY(!copyFiles(sourcePath("examples"), dir.path()).isEmpty());
    QVERIFY(writeTextFile(dir.filePath("batch.cfg"),
                          readTextFile(dir.filePath("config.cfg")) + config));
    for (const char *name : {"config.cfg", "korvane-template.yml"})
        QVERIFY(config != "none" || QFile::remove(dir.filePath(name)));
    KorvaneRun r;
    for (const QString &run : args.split(" ; "))
        r = runKorvane(dir.path(), words(run));
    QTEST(r.exitCode, "exitCode");
    QFETCH(QStringList, said);
    for (const QString &s : said)
        QVERIFY2((args.contains("-h") ? r.out : r.err).contains(s), qPrintable(s + " in " + r.err));
    QFETCH(QStringList, unsaid);
    for (const QString &s : unsaid)
        QVERIFY2(!r.err.contains(s), qPrintable(s + " in " + r.err));
    const QStringList folders = workFolders(dir.filePath("w"));
    QTEST(folders.size(), "works");
    // No work folder holds two scans.
    for (const QString &f : folders)
        QCOMPARE(QDir(dir.filePath("w/" + f)).entryList({"*.dat"}, QDir::Files).size(), 1);
}

// Whatever their order on the command line, the data properties are loaded
// first (the fifth file's work is switched off there), then saved with what
// was loaded and the values of the files, and the works made last.
void TestBatch::wholeNight()
{
    QTemporaryDir dir;
    const QStringList files =
        copyFiles(sourcePath("examples"), dir.path()).filter(QRegularExpression("\\.(dat|qd)$"));
    QVERIFY(files.size() >= 4);
    const KorvaneRun r = runKorvane(dir.path(), words("-e -sdp dp.csv -gcp cp00.csv -gw works "
                                                      "-ldp dataProps-filled.csv -files") +
                                                    files);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err.count(QRegularExpression("^work \\d+: ", QRegularExpression::MultilineOption)),
             files.size() - 1);
    QCOMPARE(workFolders(dir.filePath("works")).size(), files.size() - 1);
    const QString saved = readTextFile(dir.filePath("dp.csv"));
    for (const QString &line :
         readTextFile(dir.filePath("dataProps-filled.csv")).split('\n').mid(4))
        QVERIFY2(line.isEmpty() || saved.contains('\n' + line + ','), qPrintable(line));
    QVERIFY(readTextFile(dir.filePath("cp00.csv")).startsWith('"'));
}

// A folder of files written the ways real acquisition programs write them, none with an info
// file, made into works in two passes, the first without the first file: a work each, whatever the
// numbering did in between, their copies named as the files, their dates from line 2, no
// placeholder in metadata.yml and their edges rising, in transmission and in fluorescence alike.
void TestBatch::realBeamlineFiles()
{
    QTemporaryDir dir;
    const QStringList files = copyFiles(testDataPath("real"), dir.path());
    QVERIFY(files.size() >= 16);
    for (const QString name : {"config.cfg", "korvane-template.yml", "commProps.csv"})
        QVERIFY(QFile::copy(sourcePath("examples/") + name, dir.filePath(name)));
    const QStringList run = words("-e -wud 0 -wut 0 -gw w -files");
    QCOMPARE(runKorvane(dir.path(), run + files.mid(1)).exitCode, 0);
    const KorvaneRun r = runKorvane(dir.path(), run + files);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.contains(QString("%1 files opened, 0 rejected").arg(files.size())),
             qPrintable(r.err));
    const QStringList works = workFolders(dir.filePath("w"));
    const QRegularExpression start("^  start: +(.+)$", QRegularExpression::MultilineOption);
    const QRegularExpression measured("^  measured_at: +(.+)$",
                                      QRegularExpression::MultilineOption);
    QStringList copied;
    for (const QString &work : works) {
        const QDir folder(dir.filePath("w/" + work));
        const QStringList copy = folder.entryList(files);
        QCOMPARE(copy.size(), 1);
        QCOMPARE(readBytes(folder.filePath(copy[0])), readBytes(dir.filePath(copy[0])));
        copied += copy;
        const QString yml = readTextFile(folder.filePath("metadata.yml"));
        const QString date = start.match(yml).captured(1);
        QVERIFY2(date.contains(QRegularExpression("^(19|20)\\d\\d-\\d")), qPrintable(work + yml));
        QCOMPARE(date, measured.match(yml).captured(1));
        QVERIFY2(!yml.contains(QRegularExpression("%\\d+%|2000-00")), qPrintable(yml));
        const QImage picture(folder.filePath(folder.entryList({"*.png"}).value(0)));
        QVERIFY2(curveRise(picture) > 300, qPrintable(work));
    }
    copied.sort();
    QCOMPARE(copied, files);
}

// Works whose XDI is left out or unsure are made and counted, and said so: the Cu foil scan read
// with a smaller lattice spacing has its edge at 12661 eV, Se K or Tl L3; 36 times its rows are
// past the format's 16384 lines.
void TestBatch::xdiNotes()
{
    QTemporaryDir dir;
    const QString foil = readTextFile(sourcePath("examples/Cu_foil_K_001.dat"));
    QVERIFY(foil.contains("D=  3.1355316"));
    QVERIFY(writeTextFile(dir.filePath("tie.dat"), QString(foil).replace("3.1355316", "2.22366")));
    const int rows = foil.indexOf("\n", foil.indexOf("    Offset")) + 1;
    QVERIFY(writeTextFile(dir.filePath("big.dat"), foil.left(rows) + foil.mid(rows).repeated(36)));
    const KorvaneRun r =
        runKorvane(dir.path(), words("-e -xdi 1 -wud 0 -wut 0 -files tie.dat big.dat -gw w"));
    QCOMPARE(r.exitCode, 0);
    for (const char *said :
         {"korvane: XDI: tie.dat: the edge at 12661.2 eV may be Se K or Tl L3; the XDI says Se K",
          "korvane: XDI: big.dat: no XDI: it would have 165",
          "2 works made (1 without XDI (too long for its readers), 1 with an ambiguous edge)"})
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QVERIFY(QFile::exists(dir.filePath("w/work-work-0001/tie.xdi")));
    QVERIFY(QFile::exists(dir.filePath("w/work-work-0002/big.png")));
    QVERIFY(!QFile::exists(dir.filePath("w/work-work-0002/big.xdi")));
}

// A plain application object: QTEST_MAIN would force 96 dpi fonts, and the
// pictures drawn here must be drawn exactly as the korvane executable draws them.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestBatch test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestBatch.moc"
