// Files korvane did not write, broken in the ways real ones are, and places it
// cannot write to: the real executable must report or skip each one, finish,
// and leave what the user already has untouched.

#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString err;
};

// A file-size limit in KiB turns every write past it into EFBIG, as a full
// disk would. bash would die of SIGXFSZ before reporting, and so would
// korvane: an ignored signal stays ignored across exec, so the trap makes the
// write fail with an error instead.
Run runKorvane(const QString &dir, const QStringList &args, const QString &limitKiB)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    if (limitKiB.isEmpty()) {
        p.start(QStringLiteral(KORVANE_EXECUTABLE), args);
    } else {
        const QString script =
            QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(limitKiB);
        p.start(QStringLiteral("bash"),
                QStringList{QStringLiteral("-c"), script, QStringLiteral(KORVANE_EXECUTABLE)} +
                    args);
    }
    Run r;
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool copyFolder(const QString &from, const QString &to)
{
    const QStringList files = QDir(from).entryList(QDir::Files);
    for (const QString &f : files) {
        if (!QFile::copy(QDir(from).filePath(f), QDir(to).filePath(f)))
            return false;
    }
    return !files.isEmpty();
}

bool writeBytes(const QString &path, const QByteArray &bytes, int times = 1)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < times; ++i) {
        if (f.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void badInput_data();
    void badInput();

private:
    // The large generated files, made once and only read by the runs.
    QTemporaryDir big;
};

void TestBadInput::initTestCase()
{
    QVERIFY(big.isValid());
    // A good header: the first 17 lines of an example scan.
    const QByteArray example = readBytes(sourcePath(QStringLiteral("examples/Cu_foil_K_001.dat")));
    int at = 0;
    for (int i = 0; i < 17; ++i)
        at = example.indexOf('\n', at) + 1;
    QVERIFY(at > 0);
    const QByteArray header = example.left(at);
    const QByteArray points = example.mid(at);

    // Random bytes, newlines included, as a picture or an archive would be.
    QByteArray binary(1 << 20, Qt::Uninitialized);
    quint32 x = 12345;
    for (char &c : binary) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    QVERIFY(writeBytes(big.filePath(QStringLiteral("binary.dat")), binary));

    // 20 MB on one line: a comment line (line 3) and a data line.
    QByteArray longComment = header;
    const int commentStart = example.indexOf('\n', example.indexOf('\n') + 1) + 1;
    longComment.insert(commentStart, QByteArray(20 << 20, 'c'));
    QVERIFY(writeBytes(big.filePath(QStringLiteral("huge-comment.dat")), longComment + points));
    QByteArray longData = header + "13.2 13.2 1.0";
    longData += QByteArray(" 514584").repeated((20 << 20) / 7);
    QVERIFY(writeBytes(big.filePath(QStringLiteral("huge-data.dat")), longData + '\n' + points));
    // A quote sends a data line down the text path, which must stay linear too.
    QByteArray quotedData = header + "13.2 13.2 1.0 \"q\"";
    quotedData += QByteArray(" 514584").repeated((4 << 20) / 7);
    QVERIFY(
        writeBytes(big.filePath(QStringLiteral("huge-quoted.dat")), quotedData + '\n' + points));

    // A Mode line of a million items, and a file with old Mac line ends,
    // which is one line of 2 MB to a reader that splits at "\n".
    QByteArray longMode = header;
    longMode.insert(longMode.indexOf("      Mode") + 10, QByteArray(" 1").repeated(1 << 20));
    QVERIFY(writeBytes(big.filePath(QStringLiteral("huge-mode.dat")), longMode + points));
    QByteArray carriageReturns = header + points.repeated(64);
    carriageReturns.replace('\n', '\r');
    QVERIFY(writeBytes(big.filePath(QStringLiteral("cr.dat")), carriageReturns));

    // A data-properties file whose keys line has half a million more keys.
    QByteArray props = readBytes(sourcePath(QStringLiteral("examples/dataProps-filled.csv")));
    int keysEnd = 0;
    for (int i = 0; i < 4; ++i)
        keysEnd = props.indexOf('\n', keysEnd) + 1;
    QVERIFY(keysEnd > 0);
    props.insert(keysEnd - 1, QByteArray(",\"X\"").repeated(500000));
    QVERIFY(writeBytes(big.filePath(QStringLiteral("dataProps-wide.csv")), props));

    // Opening a pipe nobody writes to would wait for ever.
    QCOMPARE(
        ::mkfifo(QFile::encodeName(big.filePath(QStringLiteral("pipe.dat"))).constData(), 0600), 0);

    // 100 MB: a header, then the example's points over and over.
    QFile f(big.filePath(QStringLiteral("big.dat")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(header);
    const QByteArray chunk = points.repeated((1 << 20) / points.size() + 1);
    while (f.size() < (100 << 20))
        QCOMPARE(f.write(chunk), chunk.size());
}

void TestBadInput::badInput_data()
{
    QTest::addColumn<QStringList>("args");    // "@" stands for the folder of the big files
    QTest::addColumn<QString>("limitKiB");    // file-size limit, or none
    QTest::addColumn<QStringList>("earlier"); // "copy=original": files in place before the run
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errPattern");    // must match standard error
    QTest::addColumn<QString>("file");          // a file written by the run ...
    QTest::addColumn<QString>("filePattern");   // ... and what its text must match
    QTest::addColumn<QStringList>("untouched"); // files whose bytes must not change

    const QString one = QStringLiteral("Cu_foil_K_001.dat");
    const QStringList all = {QStringLiteral("-files"),
                             one,
                             QStringLiteral("CuO_K_002.dat"),
                             QStringLiteral("Cu2O_K_003.dat"),
                             QStringLiteral("CuSO4_sol_004.dat"),
                             QStringLiteral("Cu_foil_K_005.dat")};
    const QStringList noClock = {QStringLiteral("-wud"), QStringLiteral("0"),
                                 QStringLiteral("-wut"), QStringLiteral("0")};
    const QString work1 = QStringLiteral("works/CuK-refs-0001/");
    const QStringList earlierProps = {QStringLiteral("dataProps.csv=dataProps-filled.csv")};
    const QStringList props = {QStringLiteral("dataProps.csv")};
    const QString summary = QStringLiteral("%1 files opened, %2 rejected, %3 works made");

    auto dataRow = [&](const char *name, const QString &bad, const QString &why) {
        QTest::newRow(name)
            << (QStringList{QStringLiteral("-files"), bad, one} + noClock +
                QStringList{QStringLiteral("-gw"), QStringLiteral("works")})
            << QString() << QStringList() << 1
            << QStringLiteral("rejected: %1[\\s\\S]*%2").arg(why, summary.arg(1).arg(1).arg(1))
            << work1 + QStringLiteral("metadata.yml") << QStringLiteral("measured_at")
            << QStringList();
    };
    dataRow("truncated data file", QStringLiteral("truncated.dat"),
            QStringLiteral("the file ends at line 7 before the data section"));
    dataRow("binary data file", QStringLiteral("@/binary.dat"),
            QStringLiteral("line 1: does not start with \"   9809\""));
    dataRow("header line with a wrong tag", QStringLiteral("wrong-tag.dat"),
            QStringLiteral("line 5: does not start with \" Mono :\""));
    dataRow("data file with CR line ends", QStringLiteral("@/cr.dat"),
            QStringLiteral("the file ends at line 1 before the data section"));
    dataRow("missing data file", QStringLiteral("absent.dat"),
            QStringLiteral("cannot open the file: No such file"));
    dataRow("directory given as data file", QStringLiteral("folder.dat"),
            QStringLiteral("cannot open the file: .*directory"));
    dataRow("endless device given as data file", QStringLiteral("/dev/zero"),
            QStringLiteral("cannot open the file: it is not a regular file"));
    dataRow("named pipe without writer given as data file", QStringLiteral("@/pipe.dat"),
            QStringLiteral("cannot open the file: it is not a regular file"));

    auto bigRow = [&](const char *name, const QString &file) {
        QTest::newRow(name) << QStringList{QStringLiteral("-files"), file, QStringLiteral("-sdp"),
                                           QStringLiteral("out.csv")}
                            << QString() << QStringList() << 0 << summary.arg(1).arg(0).arg(0)
                            << QStringLiteral("out.csv")
                            << QStringLiteral("\\n%1,\"1\"").arg(QFileInfo(file).fileName())
                            << QStringList();
    };
    bigRow("20 MB comment line", QStringLiteral("@/huge-comment.dat"));
    bigRow("20 MB data line", QStringLiteral("@/huge-data.dat"));
    bigRow("4 MB data line holding a quote", QStringLiteral("@/huge-quoted.dat"));
    bigRow("header line of a million items", QStringLiteral("@/huge-mode.dat"));
    bigRow("100 MB data file", QStringLiteral("@/big.dat"));

    QTest::newRow("missing data-properties file")
        << (all + QStringList{QStringLiteral("-ldp"), QStringLiteral("absent.csv"),
                              QStringLiteral("-sdp"), QStringLiteral("dataProps.csv")})
        << QString() << earlierProps << 1
        << QStringLiteral("loading data properties \\(-ldp absent.csv\\) failed: cannot read")
        << QString() << QString() << props;
    QTest::newRow("directory given as data-properties file")
        << (all + QStringList{QStringLiteral("-ldp"), QStringLiteral("folder.dat"),
                              QStringLiteral("-sdp"), QStringLiteral("dataProps.csv")})
        << QString() << earlierProps << 1 << QStringLiteral("failed: cannot read .*directory")
        << QString() << QString() << props;

    // The broken line's fields run together; the lines after it are whole.
    QTest::newRow("data-properties line with a stray quote")
        << (all + QStringList{QStringLiteral("-ldp"), QStringLiteral("dataProps-broken-quote.csv"),
                              QStringLiteral("-sdp"), QStringLiteral("out.csv")})
        << QString() << QStringList() << 0 << summary.arg(5).arg(0).arg(0)
        << QStringLiteral("out.csv")
        << QStringLiteral("\\nCuO_K_002.dat,\"1\",\"\",\"Copper\\(II\\) oxide\",\"CuO\",")
        << QStringList();
    QTest::newRow("data-properties lines with more fields than keys")
        << (all + QStringList{QStringLiteral("-ldp"), QStringLiteral("dataProps-extra-fields.csv"),
                              QStringLiteral("-sdp"), QStringLiteral("out.csv")})
        << QString() << QStringList() << 0 << summary.arg(5).arg(0).arg(0)
        << QStringLiteral("out.csv")
        << QStringLiteral("\\nCu_foil_K_001.dat,\"1\",\"\",\"Copper foil\",\"Cu\",\"foil\",\"7 "
                          "um\",\"RT\",(?!\"extra)")
        << QStringList();
    QTest::newRow("data-properties keys line of 2 MB")
        << (all + QStringList{QStringLiteral("-ldp"), QStringLiteral("@/dataProps-wide.csv"),
                              QStringLiteral("-sdp"), QStringLiteral("out.csv")})
        << QString() << QStringList() << 0 << summary.arg(5).arg(0).arg(0)
        << QStringLiteral("out.csv")
        << QStringLiteral("\\nCuO_K_002.dat,\"1\",\"\",\"Copper\\(II\\) oxide\",\"CuO\",")
        << QStringList();
    QTest::newRow("common-properties line with a stray quote")
        << QStringList{QStringLiteral("-p"), QStringLiteral("commProps-broken-quote.csv"),
                       QStringLiteral("-scp"), QStringLiteral("out.csv")}
        << QString() << QStringList() << 0 << summary.arg(0).arg(0).arg(0)
        << QStringLiteral("out.csv")
        << QStringLiteral("\\n\"INFO_002\",\"2026G512\",\"beamtime proposal number\"")
        << QStringList();

    // Loading goes on: the unclosed item runs to the end of its line.
    QTest::newRow("template with unbalanced quotes")
        << (QStringList{QStringLiteral("-t"), QStringLiteral("unbalanced-quote.yml"),
                        QStringLiteral("-files"), one, QStringLiteral("-ldp"),
                        QStringLiteral("dataProps-filled.csv"), QStringLiteral("-gw"),
                        QStringLiteral("works")} +
            noClock)
        << QString() << QStringList() << 0 << summary.arg(1).arg(0).arg(1)
        << work1 + QStringLiteral("metadata.yml")
        << QStringLiteral("\\Asample:\\n +title: +Copper foil\\n +formula: +Cu\\n\\z")
        << QStringList();
    // A block that is left out and never closed leaves out the rest.
    QTest::newRow("template block without end")
        << (QStringList{QStringLiteral("-t"), QStringLiteral("block-without-end.yml"),
                        QStringLiteral("-files"), one, QStringLiteral("-ldp"),
                        QStringLiteral("dataProps-filled.csv"), QStringLiteral("-gw"),
                        QStringLiteral("works")} +
            noClock)
        << QString() << QStringList() << 0 << summary.arg(1).arg(0).arg(1)
        << work1 + QStringLiteral("metadata.yml")
        << QStringLiteral("\\Asample:\\n +name: +Copper foil\\n\\z") << QStringList();
    // Both files are read once: the names come from each.
    QTest::newRow("cyclic INCLUDE")
        << (QStringList{QStringLiteral("-c"), QStringLiteral("cyclic.cfg"),
                        QStringLiteral("-files"), one, QStringLiteral("-gw"),
                        QStringLiteral("works")} +
            noClock)
        << QString() << QStringList() << 0 << summary.arg(1).arg(0).arg(1)
        << QStringLiteral("works/index.html") << QStringLiteral("cyc-loop-0001") << QStringList();

    QTest::newRow("works directory below a regular file")
        << (QStringList{QStringLiteral("-files"), one, QStringLiteral("-gw"),
                        QStringLiteral("plain.txt/works")} +
            noClock)
        << QString() << QStringList() << 1
        << QStringLiteral("CuK-refs-0001: the work folder can not be created") << QString()
        << QString() << QStringList{QStringLiteral("plain.txt")};
    QTest::newRow("data properties saved below a regular file")
        << (all + QStringList{QStringLiteral("-sdp"), QStringLiteral("plain.txt/dataProps.csv")})
        << QString() << QStringList() << 1
        << QStringLiteral("saving data properties .* failed: cannot write") << QString()
        << QString() << QStringList{QStringLiteral("plain.txt")};

    QTest::newRow("full disk while saving data properties")
        << (all + QStringList{QStringLiteral("-sdp"), QStringLiteral("dataProps.csv")})
        << QStringLiteral("0") << earlierProps << 1
        << QStringLiteral("saving data properties \\(-sdp dataProps.csv\\) failed: cannot write")
        << QString() << QString() << props;
    // The data copy (32 KB) does not fit; the earlier copy stays as it was.
    QTest::newRow("full disk while making works")
        << (QStringList{QStringLiteral("-files"), one, QStringLiteral("-gw"),
                        QStringLiteral("works")} +
            noClock)
        << QStringLiteral("16")
        << QStringList{work1 + QStringLiteral("Cu_foil_K_001.dat=Cu_foil_K_005.dat")} << 1
        << QStringLiteral("works/CuK-refs-0001/Cu_foil_K_001.dat: ") << QString() << QString()
        << QStringList{work1 + QStringLiteral("Cu_foil_K_001.dat")};

    // The rest of the work is made; only the picture is refused.
    QTest::newRow("absurd image size")
        << (QStringList{QStringLiteral("-c"), QStringLiteral("huge-image.cfg"),
                        QStringLiteral("-files"), one, QStringLiteral("-gw"),
                        QStringLiteral("works")} +
            noClock)
        << QString() << QStringList() << 1
        << QStringLiteral("Cu_foil_K_001.png: an image of 40000 x 40000 pixels is too large")
        << work1 + QStringLiteral("metadata.yml") << QStringLiteral("measured_at") << QStringList();
}

void TestBadInput::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, limitKiB);
    QFETCH(QStringList, earlier);
    QFETCH(int, exitCode);
    QFETCH(QString, errPattern);
    QFETCH(QString, file);
    QFETCH(QString, filePattern);
    QFETCH(QStringList, untouched);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QDir dir(tmp.path());
    QVERIFY(copyFolder(sourcePath(QStringLiteral("examples")), tmp.path()));
    QVERIFY(copyFolder(testDataPath(QStringLiteral("bad")), tmp.path()));
    QVERIFY(dir.mkdir(QStringLiteral("folder.dat")));
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("plain.txt")), QStringLiteral("notes\n")));
    for (const QString &pair : earlier) {
        const QString copy = dir.filePath(pair.section(QLatin1Char('='), 0, 0));
        QVERIFY(QDir().mkpath(QFileInfo(copy).path()));
        QVERIFY(QFile::copy(dir.filePath(pair.section(QLatin1Char('='), 1)), copy));
    }
    QList<QByteArray> before;
    for (const QString &name : untouched) {
        before << readBytes(dir.filePath(name));
        QVERIFY(!before.last().isEmpty());
    }

    for (QString &arg : args)
        arg.replace(QRegularExpression(QStringLiteral("^@")), big.path());
    const Run run = runKorvane(tmp.path(), args, limitKiB);

    QVERIFY2(run.err.contains(QRegularExpression(errPattern)), qPrintable(run.err.right(2000)));
    QCOMPARE(run.exitCode, exitCode);
    if (!file.isEmpty()) {
        const QString text = readTextFile(dir.filePath(file));
        QVERIFY2(text.contains(QRegularExpression(filePattern)), qPrintable(text));
    }
    for (int i = 0; i < untouched.size(); ++i)
        QCOMPARE(readBytes(dir.filePath(untouched.at(i))), before.at(i));
    // A failed save leaves no temporary file behind either.
    const QStringList left = dir.entryList({QStringLiteral("*.csv.*")}, QDir::Files);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "TestBadInput.moc"
