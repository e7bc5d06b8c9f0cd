// Runs the real korvane executable headless, as a script or cron job would.

#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString err, out;
};

// No display and no platform chosen: batch mode must pick one itself.
Run runKorvane(const QString &dir, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.start(KORVANE_EXECUTABLE, args);
    Run r;
    if (!p.waitForFinished(300000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    return r;
}

// A copy of the example folder to work in; returns its data files.
QStringList copyExamples(const QString &to)
{
    QDir src(sourcePath("examples"));
    for (const QString &f : src.entryList(QDir::Files))
        if (!QFile::copy(src.filePath(f), QDir(to).filePath(f)))
            return {};
    return QDir(to).entryList({"*.dat"}, QDir::Files, QDir::Name);
}

QStringList workFolders(const QString &worksDir)
{
    return QDir(worksDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Names without the clock's date and time, so that two runs give the same folders.
const QStringList fixedNames = {"-wud", "0", "-wut", "0"};

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void exitCodes_data();
    void exitCodes();
    void wholeNightMatchesWindow();
    void actionsRunInFixedOrder();
};

// clang-format off
void TestBatch::exitCodes_data()
{
    QTest::addColumn<QStringList>("args"); // FILES: every example data file, FIRST and REST: its parts
    QTest::addColumn<QString>("config");   // added to the example configuration as batch.cfg
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said"); // on standard error (standard output for help)
    QTest::addColumn<int>("works"); // work folders made in "w"; -1: no "w" at all; -2: one per example file

    const QStringList words{"-gw", "-sdp", "-files", "Works_Dir", "Img_W", "-wfn", "-e"};
    QTest::newRow("-h") << QStringList{"-h"} << "" << 0 << words << -1;
    QTest::newRow("-help") << QStringList{"-help"} << "" << 0 << words << -1;
    QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << words << -1;
    QTest::newRow("-sdp without a file") << QStringList{"-sdp"} << "" << 2 << QStringList{"-sdp"} << -1;
    QTest::newRow("-ldp before an option") << QStringList{"-ldp", "-gw", "w"} << "" << 2 << QStringList{"-ldp"} << -1;
    QTest::newRow("-gcp without a file") << QStringList{"-gcp"} << "" << 2 << QStringList{"-gcp"} << -1;
    QTest::newRow("-scp without a file") << QStringList{"-e", "-scp"} << "" << 2 << QStringList{"-scp"} << -1;
    QTest::newRow("rejected files named, others made") << QStringList{"-e", "-files", "FIRST", "broken.dat", "missing.dat", "REST", "-gw", "w"} << "" << 1 << QStringList{"broken.dat", "line 1", "missing.dat", "2 rejected"} << -2;
    // A works folder below a regular file can never be made, even by root.
    QTest::newRow("works folder cannot be made") << QStringList{"-e", "-files", "FILES", "-gw", "plain/w"} << "" << 1 << QStringList{"plain/w"} << -1;
    QTest::newRow("configuration turns batch on") << QStringList{"-c", "batch.cfg"} << "\n-d FIRST\n-gw w  # works without a window\n" << 0 << QStringList{"1 files opened"} << 1;
}
// clang-format on

void TestBatch::exitCodes()
{
    QFETCH(QStringList, args);
    QFETCH(QString, config);
    QFETCH(QStringList, said);
    QFETCH(int, works);

    QTemporaryDir dir;
    const QStringList files = copyExamples(dir.path());
    QVERIFY(files.size() >= 2);
    QVERIFY(writeTextFile(dir.filePath("broken.dat"), "  9809 not really\nline 2\n"));
    QVERIFY(writeTextFile(dir.filePath("plain"), "x"));
    if (!config.isEmpty())
        QVERIFY(writeTextFile(dir.filePath("batch.cfg"),
                              readTextFile(dir.filePath("config.cfg")) +
                                  QString(config).replace("FIRST", files.first())));
    QStringList expanded;
    for (const QString &a : args) {
        if (a == "FILES" || a == "REST")
            expanded << files.mid(a == "REST" ? 1 : 0);
        else
            expanded << (a == "FIRST" ? files.first() : a);
    }
    const Run r = runKorvane(dir.path(), expanded);
    QTEST(r.exitCode, "exitCode");
    for (const QString &s : said)
        QVERIFY2((r.exitCode == 0 && args.value(0).contains("h") ? r.out : r.err).contains(s),
                 qPrintable(s + " in " + r.err));
    if (works == -1)
        QVERIFY(!QFileInfo::exists(dir.filePath("w")));
    else
        QCOMPARE(workFolders(dir.filePath("w")).size(), works == -2 ? files.size() : works);
}

void TestBatch::wholeNightMatchesWindow()
{
    QTemporaryDir dir;
    const QStringList files = copyExamples(dir.path());
    QVERIFY(files.size() >= 4);
    const Run r =
        runKorvane(dir.path(), QStringList{"-e"} + fixedNames + QStringList{"-files"} + files +
                                   QStringList{"-sdp", "batch-dp.csv", "-gcp", "batch-cp00.csv",
                                               "-gw", "batch-works"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err.count(QRegularExpression("^work \\d+: ", QRegularExpression::MultilineOption)),
             files.size());
    QVERIFY(
        r.err.contains(QString("%1 files opened, 0 rejected, %1 works made").arg(files.size())));

    // The same job through the window's slots, in this process.
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        setAppArgs(QStringList{"-e"} + fixedNames);
        appArgs.readConfig("config.cfg");
        Body body;
        for (const QString &f : files)
            body.openData(f);
        body.saveDataProps("window-dp.csv");
        body.genCommProps("window-cp00.csv");
        body.genWorks("window-works");
    }
    QDir::setCurrent(cwd);
    appArgs = ArgList();

    QDir d(dir.path());
    for (const char *name : {"dp.csv", "cp00.csv", "works/index.html"})
        QCOMPARE(readBytes(d.filePath(QString("batch-") + name)),
                 readBytes(d.filePath(QString("window-") + name)));
    const QStringList folders = workFolders(d.filePath("batch-works"));
    QCOMPARE(folders.size(), files.size());
    QCOMPARE(folders, workFolders(d.filePath("window-works")));
    for (const QString &folder : folders) {
        const QDir a(d.filePath("batch-works/" + folder)), b(d.filePath("window-works/" + folder));
        const QStringList names = a.entryList(QDir::Files, QDir::Name);
        QCOMPARE(names, b.entryList(QDir::Files, QDir::Name));
        QVERIFY(names.contains("metadata.yml") && !a.entryList({"*.png"}).isEmpty());
        for (const QString &n : names)
            QVERIFY2(readBytes(a.filePath(n)) == readBytes(b.filePath(n)), qPrintable(n));
    }
}

void TestBatch::actionsRunInFixedOrder()
{
    QTemporaryDir dir;
    const QStringList files = copyExamples(dir.path());
    QCOMPARE(
        runKorvane(dir.path(), QStringList{"-e", "-files"} + files + QStringList{"-sdp", "dp.csv"})
            .exitCode,
        0);
    // The first file's work switched off in the saved file.
    QString text = readTextFile(dir.filePath("dp.csv"));
    QVERIFY(text.contains(files.first() + ",\"1\""));
    text.replace(files.first() + ",\"1\"", files.first() + ",\"0\"");
    QVERIFY(writeTextFile(dir.filePath("edited.csv"), text));

    // Given save-first, the load still runs first.
    const Run r = runKorvane(
        dir.path(), QStringList{"-e"} + fixedNames +
                        QStringList{"-sdp", "out.csv", "-gw", "w", "-ldp", "edited.csv", "-files"} +
                        files);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(readTextFile(dir.filePath("out.csv")), text);
    QCOMPARE(workFolders(dir.filePath("w")).size(), files.size() - 1);
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
