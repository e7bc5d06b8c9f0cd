#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

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

} // namespace

class TestOpenFile : public QObject
{
    Q_OBJECT
private slots:
    void open_data();
    void open();
    void metaValue_data();
    void metaValue();
    void templateChangedBetweenRecords();
};

// clang-format off
void TestOpenFile::open_data()
{
    QTest::addColumn<QStringList>("files"); // name|text; SCAN, NOBL (no beamline) and INFO stand for the sample files
    QTest::addColumn<QString>("open");
    QTest::addColumn<bool>("createWork");
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<QStringList>("meta");
    QTest::addColumn<QStringList>("debug");
    QTest::addColumn<QString>("names"); // fileName|baseName|suffix; or the start of the reason of a rejection

    const QString tpl = "sample:\n  name:      INPUT_001  input\n  date:      INFO_011   from_data\n  beamline:  FACI_002   from_data\n"
                        "  type:      INST_006   from_data\n  common:    COMM_001   semi_fix  \"x\"\n  skipped:   NA_001     na\n";
    const QStringList filled{"FACI_002=BLA7", "INFO_011=2019-03-25 09:41:07.5", "INPUT_001="};
    const QStringList both{"scan3.dat|SCAN", "scan3.info|INFO"}, one{"scan3.dat|SCAN"};
    const QString type = "type:  INST_006  from_data\n";
    QTest::newRow("create work") << both << "scan3.dat" << true << tpl << filled + QStringList{"INST_006=Quick XAFS", "SYS_001=1"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("no work") << both << "scan3.dat" << false << tpl << filled + QStringList{"INST_006=Quick XAFS", "SYS_001=0"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("no info file") << one << "scan3.dat" << true << tpl << filled + QStringList{"INST_006=Step XAFS", "SYS_001=1"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("input SYS_001 seeded empty") << one << "scan3.dat" << true << "flag:  SYS_001  input\nsecond:  INPUT_002  semi_fix/input\n" << QStringList{"INPUT_002=", "SYS_001="} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("unknown data key") << one << "scan3.dat" << true << "a:  XYZ_001  from_data\nb:  FILE_003  from_data\n" << QStringList{"FILE_003=9809", "SYS_001=1"} << QStringList{noReplacement("XYZ_001")} << "scan3.dat|scan3|dat";
    QTest::newRow("data key twice") << one << "scan3.dat" << false << "a:  XYZ_001  from_data\nb:  XYZ_001  from_data\nc:  FILE_004  from_data\n" << QStringList{"FILE_004=16", "SYS_001=0"} << QStringList{noReplacement("XYZ_001"), noReplacement("XYZ_001")} << "scan3.dat|scan3|dat";
    QTest::newRow("crystal index") << one << "scan3.dat" << true << "s:  INST_008  from_data\n" << QStringList{"INST_008=311", "SYS_001=1"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("data key the record holds already") << one << "scan3.dat" << false << "a:  SYS_001  from_data\nb:  FILE_003  from_data\n" << QStringList{"FILE_003=9809", "SYS_001=0"} << QStringList{noReplacement("SYS_001")} << "scan3.dat|scan3|dat";
    QTest::newRow("input key that is also data") << one << "scan3.dat" << true << "a:  INST_007  input/from_data\n" << QStringList{"INST_007=", "SYS_001=1"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("empty template") << both << "scan3.dat" << true << "" << QStringList{"SYS_001=1"} << QStringList{} << "scan3.dat|scan3|dat";
    QTest::newRow("empty source value not stored") << QStringList{"scan.dat|NOBL"} << "scan.dat" << true << "a:  FACI_002  from_data\nb:  FILE_001  from_data\n" << QStringList{"FILE_001=scan", "SYS_001=1"} << QStringList{noReplacement("FACI_002")} << "scan.dat|scan|dat";
    // The info file is named after the base name, up to the first dot.
    QTest::newRow("info by base name") << QStringList{"sub/scan3.v2.dat|SCAN", "sub/scan3.info|Measurement Type: Base", "sub/scan3.v2.info|Measurement Type: Complete"} << "sub/../sub/scan3.v2.dat" << true << type << QStringList{"INST_006=Base", "SYS_001=1"} << QStringList{} << "scan3.v2.dat|scan3|v2.dat";
    QTest::newRow("same base name elsewhere") << QStringList{"one/scan.dat|SCAN", "one/scan.info|Measurement Type: one", "two/scan.dat|SCAN", "two/scan.info|Measurement Type: two"} << "two/scan.dat" << true << type << QStringList{"INST_006=two", "SYS_001=1"} << QStringList{} << "scan.dat|scan|dat";
    // Names a second substitution pass would turn into xinfoy.%2 or ainfob.info.
    for (const char *base : {"x%1y", "a%2b", "%2%1", "my scan"})
        QTest::addRow("info of %s", base) << QStringList{QString(base) + ".dat|SCAN", QString(base) + ".info|Measurement Type: Own", "xinfoy.%2|Measurement Type: Wrong", "ainfob.info|Measurement Type: Wrong"} << QString(base) + ".dat" << true << type << QStringList{"INST_006=Own", "SYS_001=1"} << QStringList{} << QString(base) + ".dat|" + base + "|dat";
    QTest::newRow("rejected file leaves no trace") << QStringList{"bad.dat|  9809  LAB7  BLA7", "bad.info|INFO"} << "bad.dat" << false << "a:  INPUT_001  input\nb:  XYZ_001  from_data\n" << QStringList{"SYS_001=0"} << QStringList{} << "line 1:";
    QTest::newRow("missing file") << QStringList{} << "absent.dat" << true << "" << QStringList{"SYS_001=1"} << QStringList{} << "cannot open the file";
}
// clang-format on

void TestOpenFile::open()
{
    QFETCH(QStringList, files);
    QFETCH(QString, open);
    QFETCH(bool, createWork);
    QFETCH(QString, tpl);
    QFETCH(QString, names);

    QTemporaryDir dir;
    QDir root(dir.path());
    const QString scan = readTextFile(testDataPath("scan3.dat"));
    QString noBeamline = scan;
    noBeamline.replace(0, scan.indexOf('\n'), "   9809     LAB7");
    const QMap<QString, QString> samples{
        {"SCAN", scan}, {"NOBL", noBeamline}, {"INFO", readTextFile(testDataPath("scan3.info"))}};
    for (const QString &f : files) {
        const QString name = f.section('|', 0, 0), text = f.section('|', 1);
        QVERIFY(root.mkpath(QFileInfo(name).path()));
        QVERIFY(writeTextFile(root.filePath(name), samples.value(text, text + '\n')));
    }
    MetaTemplate t;
    loadTemplateText(t, tpl);
    DataSet ds;
    ds.meta.insert("SYS_001", "stale");
    ds.xMax = 4;
    QString why;
    {
        DebugCapture capture;
        ds.openFile(createWork, root.filePath(open), &t, &why);
    }
    QTEST(metaEntries(ds), "meta");
    QTEST(DebugCapture::lines(), "debug");
    if (names.contains('|')) {
        QVERIFY2(ds.ok, qPrintable(why));
        QCOMPARE(ds.tpl, &t);
        QCOMPARE(ds.fileName + '|' + ds.baseName + '|' + ds.suffix, names);
        QCOMPARE(ds.path, root.filePath(open));
        QCOMPARE(ds.dirPath, QFileInfo(root.filePath(open)).dir().canonicalPath());
        QCOMPARE(ds.points.size(), 5);
    } else {
        QVERIFY(!ds.ok);
        QVERIFY2(why.startsWith(names), qPrintable(why));
        QVERIFY(ds.path.isEmpty() && ds.fileName.isEmpty());
        QCOMPARE(ds.info.size(), 0);
        QCOMPARE(ds.xMax, -1e300);
    }
}

// clang-format off
void TestOpenFile::metaValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("logged");

    QTest::newRow("value") << "12.5" << "K" << "12.5" << false;
    QTest::newRow("empty value") << "" << "K" << "" << false;
    QTest::newRow("no-value marker") << "--NO_VALUE--" << "K" << "" << false;
    QTest::newRow("no-value marker inside") << " --NO_VALUE--" << "K" << " --NO_VALUE--" << false;
    QTest::newRow("dash marker kept") << "--" << "K" << "--" << false;
    QTest::newRow("missing key") << "1" << "L" << "--" << true;
    QTest::newRow("key case") << "1" << "k" << "--" << true;
}
// clang-format on

void TestOpenFile::metaValue()
{
    QFETCH(QString, stored);
    QFETCH(QString, key);
    QFETCH(bool, logged);
    DataSet ds;
    ds.meta.insert("K", stored);
    DebugCapture capture;
    QTEST(ds.metaValue(key), "expected");
    QCOMPARE(DebugCapture::lines(),
             logged ? QStringList{QString("no key ::  \"%1\"").arg(key)} : QStringList());
}

// Records opened with one template, changed in between or exchanged, get the
// keys of the template as it is when each is opened.
void TestOpenFile::templateChangedBetweenRecords()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("scan3.dat");
    QVERIFY(writeTextFile(path, readTextFile(testDataPath("scan3.dat"))));
    auto open = [&](MetaTemplate &t) {
        DataSet ds;
        ds.openFile(true, path, &t);
        return metaEntries(ds);
    };
    MetaTemplate t, other;
    loadTemplateText(t, "a:  FILE_003  from_data\n");
    loadTemplateText(other, "a:  FILE_002  from_data\n");
    QCOMPARE(open(t), QStringList({"FILE_003=9809", "SYS_001=1"}));
    QCOMPARE(open(other), QStringList({"FILE_002=dat", "SYS_001=1"}));
    loadTemplateText(t, "b:  FILE_004  from_data\nc:  INPUT_001  input\n");
    QCOMPARE(open(t), QStringList({"FILE_003=9809", "FILE_004=16", "INPUT_001=", "SYS_001=1"}));
    t.lines[0].id = "FILE_002";
    QCOMPARE(open(t), QStringList({"FILE_002=dat", "FILE_004=16", "INPUT_001=", "SYS_001=1"}));
}

QTEST_GUILESS_MAIN(TestOpenFile)
#include "TestOpenFile.moc"
