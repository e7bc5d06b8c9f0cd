#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

// Collects the debug lines written while it lives.
class DebugCapture
{
public:
    DebugCapture() { previous = qInstallMessageHandler(&DebugCapture::handle); }
    ~DebugCapture() { qInstallMessageHandler(previous); }
    static QStringList lines;

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &msg) { lines << msg; }
    QtMessageHandler previous;
};
QStringList DebugCapture::lines;

void loadTemplate(MetaTemplate &tpl, QString text)
{
    QTextStream in(&text, QIODevice::ReadOnly);
    tpl.load(in);
}

QStringList metaEntries(const DataSet &ds)
{
    QStringList out;
    for (auto it = ds.meta.cbegin(); it != ds.meta.cend(); ++it)
        out << it.key() + '=' + it.value();
    return out;
}

QString noReplacement(const QString &key)
{
    return QString("Origin:: No Replacement in Template \"%1\" is implemented.").arg(key);
}

bool copyScan(const QString &to)
{
    return QFile::copy(testDataPath("scan3.dat"), to);
}

} // namespace

class TestOpenFile : public QObject
{
    Q_OBJECT
private slots:
    void meta_data();
    void meta();
    void fileNames();
    void rejectedFile();
    void emptySourceNotStored();
    void ownInfoFile_data();
    void ownInfoFile();
    void sameBaseNameInTwoFolders();
    void metaValue_data();
    void metaValue();
};

void TestOpenFile::meta_data()
{
    QTest::addColumn<bool>("createWork");
    QTest::addColumn<QString>("tplText");
    QTest::addColumn<bool>("withInfo");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("debug");

    const QString tpl = "sample:\n"
                        "  name:      INPUT_001  input\n"
                        "  date:      INFO_011   from_data\n"
                        "  beamline:  FACI_002   from_data\n"
                        "  type:      INST_006   from_data\n"
                        "  common:    COMM_001   semi_fix  \"x\"\n"
                        "  skipped:   NA_001     na\n";
    const QStringList filled{"FACI_002=BLA7", "INFO_011=2019-03-25 09:41:07.5", "INPUT_001="};

    QTest::newRow("create work") << true << tpl << true
                                 << filled + QStringList{"INST_006=Quick XAFS", "SYS_001=1"}
                                 << QStringList{};
    QTest::newRow("no work") << false << tpl << true
                             << filled + QStringList{"INST_006=Quick XAFS", "SYS_001=0"}
                             << QStringList{};
    QTest::newRow("no info file") << true << tpl << false
                                  << filled + QStringList{"INST_006=Step XAFS", "SYS_001=1"}
                                  << QStringList{};
    QTest::newRow("input SYS_001 seeded empty")
        << true << "flag:  SYS_001  input\nsecond:  INPUT_002  semi_fix/input\n"
        << false << QStringList{"INPUT_002=", "SYS_001="} << QStringList{};
    QTest::newRow("unknown data key") << true << "a:  XYZ_001  from_data\nb:  FILE_003  from_data\n"
                                      << false << QStringList{"FILE_003=9809", "SYS_001=1"}
                                      << QStringList{noReplacement("XYZ_001")};
    QTest::newRow("data key twice")
        << false << "a:  XYZ_001  from_data\nb:  XYZ_001  from_data\nc:  FILE_004  from_data\n"
        << false << QStringList{"FILE_004=16", "SYS_001=0"}
        << QStringList{noReplacement("XYZ_001"), noReplacement("XYZ_001")};
    QTest::newRow("crystal index")
        << true << "s:  INST_008  from_data\n"
        << false << QStringList{"INST_008=311", "SYS_001=1"} << QStringList{};
    QTest::newRow("input key that is also data")
        << true << "a:  INST_007  input/from_data\n"
        << false << QStringList{"INST_007=", "SYS_001=1"} << QStringList{};
    QTest::newRow("empty template")
        << true << "" << true << QStringList{"SYS_001=1"} << QStringList{};
}

void TestOpenFile::meta()
{
    QFETCH(bool, createWork);
    QFETCH(QString, tplText);
    QFETCH(bool, withInfo);
    QFETCH(QStringList, debug);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(copyScan(dir.filePath("scan3.dat")));
    if (withInfo)
        QVERIFY(QFile::copy(testDataPath("scan3.info"), dir.filePath("scan3.info")));

    MetaTemplate tpl;
    loadTemplate(tpl, tplText);
    DataSet ds;
    ds.meta.insert("SYS_001", "stale");
    {
        DebugCapture capture;
        DebugCapture::lines.clear();
        QString why;
        ds.openFile(createWork, dir.filePath("scan3.dat"), &tpl, &why);
        QVERIFY2(ds.ok, qPrintable(why));
    }
    QCOMPARE(ds.tpl, &tpl);
    QTEST(metaEntries(ds), "expected");
    QCOMPARE(DebugCapture::lines, debug);
}

void TestOpenFile::fileNames()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(copyScan(dir.filePath("sub/scan3.v2.dat")));
    // The info file is named after the base name, up to the first dot.
    QVERIFY(writeTextFile(dir.filePath("sub/scan3.info"), "Measurement Type: Base\n"));
    QVERIFY(writeTextFile(dir.filePath("sub/scan3.v2.info"), "Measurement Type: Complete\n"));

    const QString path = dir.filePath("sub/../sub/scan3.v2.dat");
    MetaTemplate tpl;
    DataSet ds;
    ds.openFile(true, path, &tpl);
    QVERIFY(ds.ok);
    QCOMPARE(ds.path, path);
    QCOMPARE(ds.fileName, QString("scan3.v2.dat"));
    QCOMPARE(ds.baseName, QString("scan3"));
    QCOMPARE(ds.suffix, QString("v2.dat"));
    QCOMPARE(ds.dirPath, QDir(dir.filePath("sub")).canonicalPath());
    QCOMPARE(ds.fileInfo, QFileInfo(path));
    QCOMPARE(ds.info.textOf("Measurement Type"), QString("Base"));
    QCOMPARE(ds.points.size(), 5);
}

void TestOpenFile::rejectedFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeTextFile(dir.filePath("bad.dat"), "  9809  LAB7  BLA7\n"));
    QVERIFY(writeTextFile(dir.filePath("bad.info"), "Measurement Type: X\n"));

    MetaTemplate tpl;
    loadTemplate(tpl, "a:  INPUT_001  input\nb:  XYZ_001  from_data\n");
    DataSet ds;
    ds.xMax = 4;
    QString why;
    {
        DebugCapture capture;
        DebugCapture::lines.clear();
        ds.openFile(false, dir.filePath("bad.dat"), &tpl, &why);
    }
    QVERIFY(!ds.ok);
    QVERIFY2(why.startsWith("line 1:"), qPrintable(why));
    QCOMPARE(DebugCapture::lines, QStringList());
    QCOMPARE(metaEntries(ds), QStringList{"SYS_001=0"});
    QVERIFY(ds.path.isEmpty());
    QVERIFY(ds.fileName.isEmpty());
    QCOMPARE(ds.info.size(), 0);
    QCOMPARE(ds.xMax, -1e300);

    DataSet missing;
    missing.openFile(true, dir.filePath("absent.dat"), &tpl, &why);
    QVERIFY(!missing.ok);
    QVERIFY2(why.startsWith("cannot open the file"), qPrintable(why));
}

void TestOpenFile::emptySourceNotStored()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString text = readTextFile(testDataPath("scan3.dat"));
    QVERIFY(text.startsWith("   9809     LAB7        BLA7\n"));
    text.replace(0, text.indexOf('\n'), "   9809     LAB7"); // no beamline
    QVERIFY(writeTextFile(dir.filePath("scan.dat"), text));

    MetaTemplate tpl;
    loadTemplate(tpl, "a:  FACI_002  from_data\nb:  FILE_001  from_data\n");
    DataSet ds;
    {
        DebugCapture capture;
        DebugCapture::lines.clear();
        ds.openFile(true, dir.filePath("scan.dat"), &tpl);
    }
    QVERIFY(ds.ok);
    QCOMPARE(DebugCapture::lines, QStringList{noReplacement("FACI_002")});
    QCOMPARE(metaEntries(ds), QStringList({"FILE_001=scan", "SYS_001=1"}));
}

void TestOpenFile::ownInfoFile_data()
{
    QTest::addColumn<QString>("baseName");
    QTest::newRow("plain") << "scan";
    QTest::newRow("percent one") << "x%1y";
    QTest::newRow("percent two") << "a%2b";
    QTest::newRow("both") << "%2%1";
    QTest::newRow("blank") << "my scan";
}

void TestOpenFile::ownInfoFile()
{
    QFETCH(QString, baseName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(copyScan(dir.filePath(baseName + ".dat")));
    QVERIFY(writeTextFile(dir.filePath(baseName + ".info"), "Measurement Type: Own\n"));
    // What a second substitution pass would make of the name.
    QVERIFY(writeTextFile(dir.filePath("xinfoy.%2"), "Measurement Type: Wrong\n"));
    QVERIFY(writeTextFile(dir.filePath("ainfob.info"), "Measurement Type: Wrong\n"));

    MetaTemplate tpl;
    loadTemplate(tpl, "type:  INST_006  from_data\n");
    DataSet ds;
    ds.openFile(true, dir.filePath(baseName + ".dat"), &tpl);
    QVERIFY(ds.ok);
    QCOMPARE(ds.meta.value("INST_006"), QString("Own"));
}

void TestOpenFile::sameBaseNameInTwoFolders()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MetaTemplate tpl;
    loadTemplate(tpl, "type:  INST_006  from_data\n");
    QDir root(dir.path());
    DataSet a, b;
    for (const QString &name : {QString("one"), QString("two")}) {
        QVERIFY(root.mkdir(name));
        QVERIFY(copyScan(root.filePath(name + "/scan.dat")));
        QVERIFY(
            writeTextFile(root.filePath(name + "/scan.info"), "Measurement Type: " + name + "\n"));
    }
    a.openFile(true, root.filePath("one/scan.dat"), &tpl);
    b.openFile(true, root.filePath("two/scan.dat"), &tpl);
    QVERIFY(a.ok && b.ok);
    QCOMPARE(a.meta.value("INST_006"), QString("one"));
    QCOMPARE(b.meta.value("INST_006"), QString("two"));
    QCOMPARE(a.baseName, b.baseName);
}

void TestOpenFile::metaValue_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("logged");

    QTest::newRow("value") << QStringList{"K=12.5"} << "K"
                           << "12.5" << false;
    QTest::newRow("empty value") << QStringList{"K="} << "K"
                                 << "" << false;
    QTest::newRow("no-value marker") << QStringList{"K=--NO_VALUE--"} << "K"
                                     << "" << false;
    QTest::newRow("no-value marker inside") << QStringList{"K= --NO_VALUE--"} << "K"
                                            << " --NO_VALUE--" << false;
    QTest::newRow("dash marker kept") << QStringList{"K=--"} << "K"
                                      << "--" << false;
    QTest::newRow("missing key") << QStringList{"K=1"} << "L"
                                 << "--" << true;
    QTest::newRow("key case") << QStringList{"K=1"} << "k"
                              << "--" << true;
}

void TestOpenFile::metaValue()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, key);
    QFETCH(bool, logged);
    DataSet ds;
    for (const QString &entry : stored)
        ds.meta.insert(entry.section('=', 0, 0), entry.section('=', 1));
    QString value;
    {
        DebugCapture capture;
        DebugCapture::lines.clear();
        value = ds.metaValue(key);
    }
    QTEST(value, "expected");
    const QStringList expectedLog{QString("no key ::  \"%1\"").arg(key)};
    QCOMPARE(DebugCapture::lines, logged ? expectedLog : QStringList());
}

QTEST_GUILESS_MAIN(TestOpenFile)
#include "TestOpenFile.moc"
