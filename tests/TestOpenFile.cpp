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

} // namespace

class TestOpenFile : public QObject
{
    Q_OBJECT
private slots:
    void meta_data();
    void meta();
    void names_data();
    void names();
    void templateChangedBetweenRecords();
};

// clang-format off
void TestOpenFile::meta_data()
{
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<QString>("meta"); // key=value, joined by ";"
    QTest::addColumn<QString>("missing"); // keys logged as having no value, in template order

    QTest::newRow("create work") << "name:  INPUT_001  input\ndate:  INFO_011  from_data\ncommon:  COMM_001  semi_fix\nskipped:  NA_001  na\ntype:  INST_006  from_data\n" << "INFO_011=2019-03-25 09:41:07.5;INPUT_001=;INST_006=Quick XAFS;SYS_001=1" << "";
    QTest::newRow("input keys seeded empty") << "flag:  SYS_001  input\nsecond:  INPUT_002  semi_fix/input\nc:  INST_007  input/from_data\n" << "INPUT_002=;INST_007=;SYS_001=" << "";
    QTest::newRow("unknown data key twice") << "a:  XYZ_001  from_data\nb:  XYZ_001  from_data\nc:  FILE_004  from_data\n" << "FILE_004=16;SYS_001=1" << "XYZ_001;XYZ_001";
    QTest::newRow("data key the record holds already") << "a:  SYS_001  from_data\nb:  FILE_003  from_data\n" << "FILE_003=9809;SYS_001=1" << "SYS_001";
}
// clang-format on

void TestOpenFile::meta()
{
    QFETCH(QString, tpl);
    QFETCH(QString, missing);
    MetaTemplate t;
    loadTemplateText(t, tpl);
    DataSet ds;
    ds.meta.insert("SYS_001", "stale");
    {
        DebugCapture capture;
        ds.openFile(true, testDataPath("scan3.dat"), &t);
    }
    QVERIFY(ds.ok && ds.tpl == &t);
    QTEST(metaEntries(ds).join(';'), "meta");
    QStringList logged;
    for (const QString &key : missing.split(';', Qt::SkipEmptyParts))
        logged << QString("Origin:: No Replacement in Template \"%1\" is implemented.").arg(key);
    QCOMPARE(DebugCapture::lines(), logged);
}

// clang-format off
void TestOpenFile::names_data()
{
    QTest::addColumn<QStringList>("files"); // name|text; SCAN stands for the sample data file
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("expected"); // fileName|baseName|suffix|INST_006; or the start of the reason of a rejection

    // The info file is named after the base name, up to the first dot.
    QTest::newRow("info by base name") << QStringList{"sub/scan3.v2.dat|SCAN", "sub/scan3.info|Base", "sub/scan3.v2.info|Complete"} << "sub/../sub/scan3.v2.dat" << "scan3.v2.dat|scan3|v2.dat|Base";
    // Names a second substitution pass would turn into xinfoy.%2 or ainfob.info.
    for (const QString base : {"x%1y", "a%2b", "%2%1"})
        QTest::addRow("info of %s", qPrintable(base)) << QStringList{base + ".dat|SCAN", base + ".info|Own", "xinfoy.%2|Wrong", "ainfob.info|Wrong"} << base + ".dat" << base + ".dat|" + base + "|dat|Own";
    QTest::newRow("rejected file leaves no trace") << QStringList{"bad.dat|  9809  LAB7  BLA7", "bad.info|Wrong"} << "bad.dat" << "line 1:";
}
// clang-format on

void TestOpenFile::names()
{
    QFETCH(QStringList, files);
    QFETCH(QString, open);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QString &f : files) {
        const QString name = f.section('|', 0, 0), text = f.section('|', 1);
        QVERIFY(root.mkpath(QFileInfo(name).path()));
        QVERIFY(writeTextFile(root.filePath(name), text == "SCAN"
                                                       ? readTextFile(testDataPath("scan3.dat"))
                                                       : "Measurement Type: " + text + '\n'));
    }
    MetaTemplate t;
    loadTemplateText(t, "type:  INST_006  from_data\n");
    DataSet ds;
    ds.xMax = 4;
    QString why;
    ds.openFile(true, root.filePath(open), &t, &why);
    QCOMPARE(ds.ok, expected.contains('|'));
    if (ds.ok) {
        QCOMPARE(QStringList({ds.fileName, ds.baseName, ds.suffix, ds.meta["INST_006"]}).join('|'),
                 expected);
        QCOMPARE(ds.path, root.filePath(open));
        QCOMPARE(ds.dirPath, QFileInfo(root.filePath(open)).dir().canonicalPath());
        QCOMPARE(ds.points.size(), 5);
    } else {
        QVERIFY2(why.startsWith(expected), qPrintable(why));
        QVERIFY(ds.path.isEmpty() && ds.fileName.isEmpty() && ds.info.size() == 0);
        QCOMPARE(metaEntries(ds), QStringList{"SYS_001=1"});
        QCOMPARE(ds.xMax, -1e300);
    }
}

// Records opened with one template, changed in between or exchanged, get the
// keys of the template as it is when each is opened.
void TestOpenFile::templateChangedBetweenRecords()
{
    auto open = [](MetaTemplate &t) {
        DataSet ds;
        ds.openFile(true, testDataPath("scan3.dat"), &t);
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
