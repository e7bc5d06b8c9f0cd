// A record of the sample file: the info file found beside it and its entries, the metadata values
// the record supplies by itself, and the map a template makes of them.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"

#include "TestSupport.h"

namespace {

// The sample file opened with tpl: its metadata map as "key=value" entries,
// then "|" and the keys logged as having no value.
QString opened(MetaTemplate &tpl)
{
    DebugCapture capture;
    DataSet ds;
    ds.meta.insert("SYS_001", "stale");
    ds.openFile(true, testDataPath("scan3.dat"), &tpl);
    QStringList meta;
    for (auto it = ds.meta.cbegin(); it != ds.meta.cend(); ++it)
        meta << it.key() + '=' + it.value();
    const QRegularExpression noValue(
        "^Origin:: No Replacement in Template \"(.*)\" is implemented.$");
    const QStringList logged = DebugCapture::lines.replaceInStrings(noValue, "\\1");
    return ds.ok && ds.tpl == &tpl ? meta.join(';') + '|' + logged.join(';') : "not opened";
}

} // namespace

class TestExtract : public QObject
{
    Q_OBJECT
private slots:
    void info_data();
    void info();
    void extract_data();
    void extract();
    void meta();
    void names_data();
    void names();
};

void TestExtract::info_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detector"); // given: the expected is its range
    QTest::addColumn<QString>("expected"); // else name|value|text of each entry, joined by ";"
    auto row = [](const char *name, const QString &text, const QString &expected,
                  const QString &detector = {}) {
        QTest::newRow(name) << text << detector << expected;
    };
    const QString blankLines = "\n   \n# a comment\n   # indented comment\nA: 1\n\t\n";
    const QString ranges = "Detector Range: 1 I1 4\nOther: x\nDetector Range: 2 I1 6\n";

    row("no blank after colon", "Type:Transmission XAFS\n", "Type|Transmission|Transmission XAFS");
    row("second colon belongs to the text", "Time: 10:12:44\n", "Time|10:12:44|10:12:44");
    row("no colon", "Remark only\n", "Remark only||");
    row("blank and comment lines", blankLines, "A|1|1");
    row("comment after value", "A: 1 # one\n", "A|1|1");
    row("hash inside double quotes", "A: \"x # y\" z\n", "A|x # y|\"x # y\" z");
    row("comment in the key", "A # B: 1\n", "A||");
    row("repeated key kept twice", ranges,
        "Detector Range|1|1 I1 4;Other|x|x;Detector Range|2|2 I1 6");

    // A detector's range is part 2 of the last "Detector Range" line that
    // names it after its start; keys that differ do not count.
    auto range = [&](const char *name, QString lines, const QString &detector, const QString &to) {
        lines.replace(';', "\nDetector Range: ");
        row(name,
            "Detector Ranges: 1 I0 3\nDetector Range: " + lines + "\ndetector range: 1 I0 2\n", to,
            detector);
    };
    range("range: name at position 0", "I0 1 8", "I0", "1");
    range("range: its last line wins", "1 I1 4;2 I1 6;3 I0 9", "I1", "6");
    range("range: later line too short", "1 I1 4;1 I1", "I1", "1");
    range("range: part 2 is not the last", "1 I2 3 9", "I2", "3");
}

void TestExtract::info()
{
    QFETCH(QString, text);
    QFETCH(QString, detector);
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet ds;
    QVERIFY(ds.readInfo(in));
    const QString range = QString::number(detectorRange(ds.info, detector));
    QStringList entries;
    for (const InfoEntry &e : ds.info.entries())
        entries << e.name + '|' + e.value + '|' + e.text;
    QTEST(detector.isEmpty() ? entries.join(';') : range, "expected");
}

void TestExtract::extract_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("values"); // key=value, joined by ";"

    // "<record> <values>": the record is the sample file as opened ("info"),
    // without its info file ("plain"), with only its info file's "End Date"
    // ("ended"), or without it and with that beamline or block count.
    const QString arabicOne(QChar(0x0661));
    const QStringList rows{
        "info FACI_002=BLA7;FACI_007=450.2;FACI_009=441.0;FILE_001=scan3;FILE_026=scan3",
        "info FILE_002=dat;FILE_003=9809;FILE_004=16;MEAS_112=3;MEAS_200=5;FILE_0193=I0",
        "info INST_006=Quick XAFS;INST_007=Si;INST_008=311;INST_009=1.63747;INST_010=A",
        "info INFO_011=2019-03-25 09:41:07.5;MEAS_099=2019-03-25 09:41:07.500",
        "info MEAS_100=2019-03-25 10:12:44.000;INST_016=--;file_001=;FILE_0011=",
        "info MEAS_003=1;MEAS_017=1e-07;MEAS_044=100;MEAS_050=1e-05;MEAS_077=1e+07;MEAS_083=1",
        "plain INST_006=Step XAFS;MEAS_003=1e+07",
        "plain MEAS_099=2019-03-25 09:41:07.5;MEAS_100=2019-03-25 10:12:44.0",
        "ended MEAS_099=2019-03-25 09:41:07.5;MEAS_100=2020-1-2 3:4:5.000",
        "BLC2 FACI_002=BLC2B",
        "BLC2B FACI_002=BLC2B",
        "plain MEAS_120_01=--NO_VALUE--;MEAS_121_03=9050.0;MEAS_122_02=eV;MEAS_123_01=8950.0",
        "plain MEAS_125_02=0.5;MEAS_127_03=1.00;MEAS_128_01=s;MEAS_129_02=200;MEAS_120_04=--",
        "12 MEAS_128_10=s;MEAS_128_11=",
        "plain MEAS_121_00=;MEAS_121_1=;MEAS_121_+1=;MEAS_121-01=",
        "plain MEAS_12" + arabicOne + "_01=;MEAS_121_0" + arabicOne + "=",
    };
    for (const QString &row : rows)
        QTest::addRow("%s", qPrintable(row)) << row.section(' ', 0, 0) << row.section(' ', 1);
}

void TestExtract::extract()
{
    QFETCH(QString, record);
    QFETCH(QString, values);
    DataSet ds;
    ds.openFile(true, testDataPath("scan3.dat"), nullptr);
    QVERIFY(ds.ok);
    if (record != "info")
        ds.info = InfoEntries();
    if (record == "ended")
        ds.info.add("End Date", "2020/1/2", "2020/1/2 3:4:5");
    if (record.startsWith("BL"))
        ds.header.beamline = record;
    if (record == "12")
        ds.header.blockCount = record;
    QStringList got;
    for (const QString &entry : values.split(';'))
        got << entry.section('=', 0, 0) + '=' + ds.extractValue(entry.section('=', 0, 0));
    QCOMPARE(got.join(';'), values);
}

// Only a template's input and from_data keys enter the map, inputs empty; a from_data key without a
// value is logged each time. Records opened with one template, changed in between or exchanged, get
// the keys of the template as it is when each is opened.
void TestExtract::meta()
{
    MetaTemplate t, other;
    loadTemplateText(t, "a: INPUT_001 input\nb: FILE_003 from_data\nc: COMM_001 semi_fix\n"
                        "d: NA_001 na\ne: XYZ_001 from_data\nf: XYZ_001 from_data\n"
                        "g: SYS_001 from_data\n");
    const QString logged = ";INPUT_001=;SYS_001=1|XYZ_001;XYZ_001;SYS_001";
    QCOMPARE(opened(t), "FILE_003=9809" + logged);
    loadTemplateText(other, "a: SYS_001 input\nb: INPUT_002 semi_fix/input\n"
                            "c: INST_007 input/from_data\n");
    QCOMPARE(opened(other), QString("INPUT_002=;INST_007=;SYS_001=|"));
    loadTemplateText(t, "h: FILE_004 from_data\n");
    QCOMPARE(opened(t), "FILE_003=9809;FILE_004=16" + logged);
    t.lines[1].id = "FILE_002";
    QCOMPARE(opened(t), "FILE_002=dat;FILE_004=16" + logged);
}

void TestExtract::names_data()
{
    QTest::addColumn<QStringList>("files"); // name|text; SCAN stands for the sample data file
    QTest::addColumn<QString>("open");
    // fileName|baseName|suffix|INST_006; or the start of the reason of a rejection
    QTest::addColumn<QString>("expected");

    // The info file is the data file's name with its last suffix replaced.
    const QStringList sub{"sub/scan3.v2.dat|SCAN", "sub/scan3.info|Base", "sub/scan3.v2.info|Full"};
    QTest::newRow("info by the last dot")
        << sub << QString("sub/../sub/scan3.v2.dat") << QString("scan3.v2.dat|scan3|v2.dat|Full");
    // Names a second substitution pass would turn into xinfoy.%2 or ainfob.info.
    for (const QString base : {"x%1y", "a%2b", "%2%1"}) {
        const QStringList files{base + ".dat|SCAN", base + ".info|Own", "xinfoy.%2|Wrong",
                                "ainfob.info|Wrong"};
        QTest::addRow("info of %s", qPrintable(base))
            << files << base + ".dat" << base + ".dat|" + base + "|dat|Own";
    }
    const QStringList bad{"bad.dat|  9809  LAB7  BLA7", "bad.info|Wrong"};
    QTest::newRow("rejected file leaves no trace")
        << bad << QString("bad.dat") << QString("line 1:");
}

void TestExtract::names()
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
        QCOMPARE(ds.meta, (QMap<QString, QString>{{"SYS_001", "1"}}));
        QCOMPARE(ds.xMax, -1e300);
    }
}

QTEST_GUILESS_MAIN(TestExtract)
#include "TestExtract.moc"
