// Runs the real korvane executable headless, as a script or cron job would.

#include "app/ArgList.h"
#include "data/DataSet.h"
#include "ui/Body.h"

#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString err;
    QString out;
};

// No display and no platform chosen: batch mode must pick one itself.
Run runKorvane(const QString &dir, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.start(QStringLiteral(KORVANE_EXECUTABLE), args);
    Run r;
    if (!p.waitForFinished(300000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    return r;
}

QStringList exampleDataFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
}

// A copy of the example folder to work in.
bool copyExamples(const QString &to)
{
    QDir src(sourcePath(QStringLiteral("examples")));
    const QStringList files = src.entryList(QDir::Files);
    for (const QString &f : files) {
        if (!QFile::copy(src.filePath(f), QDir(to).filePath(f)))
            return false;
    }
    return !files.isEmpty();
}

QStringList workFolders(const QString &worksDir)
{
    return QDir(worksDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Names without the clock's date and time, so two runs give the same folders.
const QStringList fixedNames = {QStringLiteral("-wud"), QStringLiteral("0"),
                                QStringLiteral("-wut"), QStringLiteral("0")};

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void help_data();
    void help();
    void usageErrors_data();
    void usageErrors();
    void wholeNightMatchesWindow();
    void actionsRunInFixedOrder();
    void rejectedFileIsNamedAndOthersMade();
    void unwritableWorksDirectory();
    void configurationTurnsBatchOn();
};

void TestBatch::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("-h") << "-h";
    QTest::newRow("-help") << "-help";
    QTest::newRow("--help") << "--help";
}

void TestBatch::help()
{
    QFETCH(QString, option);
    QTemporaryDir dir;
    const Run r = runKorvane(dir.path(), {option});
    QCOMPARE(r.exitCode, 0);
    for (const char *word : {"-gw", "-sdp", "-files", "Works_Dir", "Img_W", "-wfn", "-e"})
        QVERIFY2(r.out.contains(QLatin1String(word)), word);
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestBatch::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("option");
    QTest::newRow("-sdp last") << QStringList{"-sdp"} << "-sdp";
    QTest::newRow("-ldp before option") << QStringList{"-ldp", "-gw", "out"} << "-ldp";
    QTest::newRow("-gcp") << QStringList{"-gcp"} << "-gcp";
    QTest::newRow("-scp") << QStringList{"-e", "-scp"} << "-scp";
}

void TestBatch::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, option);
    QTemporaryDir dir;
    const Run r = runKorvane(dir.path(), args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(option), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
}

void TestBatch::wholeNightMatchesWindow()
{
    QTemporaryDir dir;
    QVERIFY(copyExamples(dir.path()));
    const QStringList files = exampleDataFiles(dir.path());
    QVERIFY(files.size() >= 4);

    QStringList args{QStringLiteral("-e")};
    args << fixedNames << QStringLiteral("-files") << files << QStringLiteral("-sdp")
         << QStringLiteral("batch-dp.csv") << QStringLiteral("-gcp")
         << QStringLiteral("batch-cp00.csv") << QStringLiteral("-gw")
         << QStringLiteral("batch-works");
    const Run r = runKorvane(dir.path(), args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err.count(QRegularExpression(QStringLiteral("^work \\d+: "),
                                            QRegularExpression::MultilineOption)),
             files.size());
    QVERIFY(r.err.contains(QStringLiteral("%1 files opened, 0 rejected, %1 works made")
                               .arg(files.size())));

    // The same job through the window's slots, in this process.
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    appArgs = ArgList();
    QByteArrayList raw{"korvane", "-e", "-wud", "0", "-wut", "0"};
    QVector<char *> argv;
    for (QByteArray &a : raw)
        argv << a.data();
    appArgs.parse(argv.size(), argv.data());
    appArgs.readConfig(QStringLiteral("config.cfg"));
    {
        Body body;
        for (const QString &f : files)
            body.openData(f);
        body.saveDataProps(QStringLiteral("window-dp.csv"));
        body.genCommProps(QStringLiteral("window-cp00.csv"));
        body.genWorks(QStringLiteral("window-works"));
    }
    QDir::setCurrent(cwd);
    appArgs = ArgList();

    QDir d(dir.path());
    QCOMPARE(readBytes(d.filePath("batch-dp.csv")), readBytes(d.filePath("window-dp.csv")));
    QCOMPARE(readBytes(d.filePath("batch-cp00.csv")), readBytes(d.filePath("window-cp00.csv")));
    QCOMPARE(readBytes(d.filePath("batch-works/index.html")),
             readBytes(d.filePath("window-works/index.html")));
    const QStringList folders = workFolders(d.filePath("batch-works"));
    QCOMPARE(folders.size(), files.size());
    QCOMPARE(folders, workFolders(d.filePath("window-works")));
    for (const QString &folder : folders) {
        const QDir a(d.filePath("batch-works/" + folder));
        const QDir b(d.filePath("window-works/" + folder));
        const QStringList names = a.entryList(QDir::Files, QDir::Name);
        QCOMPARE(names, b.entryList(QDir::Files, QDir::Name));
        QVERIFY(names.contains(QStringLiteral("metadata.yml")));
        QVERIFY(!a.entryList({QStringLiteral("*.png")}).isEmpty());
        for (const QString &n : names)
            QVERIFY2(readBytes(a.filePath(n)) == readBytes(b.filePath(n)), qPrintable(n));
    }
}

void TestBatch::actionsRunInFixedOrder()
{
    QTemporaryDir dir;
    QVERIFY(copyExamples(dir.path()));
    const QStringList files = exampleDataFiles(dir.path());
    QStringList first{QStringLiteral("-e")};
    first << QStringLiteral("-files") << files << QStringLiteral("-sdp")
          << QStringLiteral("dp.csv");
    QCOMPARE(runKorvane(dir.path(), first).exitCode, 0);

    // Switch the first file's work off in the saved file.
    QString text = readTextFile(dir.filePath(QStringLiteral("dp.csv")));
    const QString line = files.first() + QStringLiteral(",\"1\"");
    QVERIFY(text.contains(line));
    text.replace(line, files.first() + QStringLiteral(",\"0\""));
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("edited.csv")), text));

    // Options given save-first still load first.
    QStringList second{QStringLiteral("-e")};
    second << fixedNames << QStringLiteral("-sdp") << QStringLiteral("out.csv")
           << QStringLiteral("-gw") << QStringLiteral("w") << QStringLiteral("-ldp")
           << QStringLiteral("edited.csv") << QStringLiteral("-files") << files;
    const Run r = runKorvane(dir.path(), second);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(readTextFile(dir.filePath(QStringLiteral("out.csv"))), text);
    QCOMPARE(workFolders(dir.filePath(QStringLiteral("w"))).size(), files.size() - 1);
}

void TestBatch::rejectedFileIsNamedAndOthersMade()
{
    QTemporaryDir dir;
    QVERIFY(copyExamples(dir.path()));
    const QStringList files = exampleDataFiles(dir.path());
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("broken.dat")),
                          QStringLiteral("  9809 not really\nline 2\n")));
    QStringList args{QStringLiteral("-e"), QStringLiteral("-files"), files.first(),
                     QStringLiteral("broken.dat"), QStringLiteral("missing.dat")};
    args << files.mid(1) << QStringLiteral("-gw") << QStringLiteral("w");
    const Run r = runKorvane(dir.path(), args);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("broken.dat")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("line 1")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("missing.dat")), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("2 rejected")));
    QCOMPARE(workFolders(dir.filePath(QStringLiteral("w"))).size(), files.size());
}

void TestBatch::unwritableWorksDirectory()
{
    QTemporaryDir dir;
    QVERIFY(copyExamples(dir.path()));
    // A works folder below a regular file can never be made, even by root.
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("plain")), QStringLiteral("x")));
    QStringList args{QStringLiteral("-e"), QStringLiteral("-files")};
    args << exampleDataFiles(dir.path()) << QStringLiteral("-gw")
         << QStringLiteral("plain/works");
    const Run r = runKorvane(dir.path(), args);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("plain/works")), qPrintable(r.err));
}

void TestBatch::configurationTurnsBatchOn()
{
    QTemporaryDir dir;
    QVERIFY(copyExamples(dir.path()));
    QString cfg = readTextFile(dir.filePath(QStringLiteral("config.cfg")));
    const QStringList files = exampleDataFiles(dir.path());
    cfg += QStringLiteral("\n-d %1\n-gw from-config  # works without a window\n")
               .arg(files.first());
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("batch.cfg")), cfg));
    const Run r = runKorvane(dir.path(), {QStringLiteral("-c"), QStringLiteral("batch.cfg")});
    QCOMPARE(r.exitCode, 0);
    const QStringList folders = workFolders(dir.filePath(QStringLiteral("from-config")));
    QCOMPARE(folders.size(), 1);
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("from-config/index.html"))));
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
