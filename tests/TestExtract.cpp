// The info file's entries, and the metadata values a record supplies by itself.

#include "data/DataSet.h"

#include "TestSupport.h"

#include <QtTest>

class TestExtract : public QObject
{
    Q_OBJECT
private slots:
    void info_data();
    void info();
    void extract_data();
    void extract();
    void detectorRange_data();
    void detectorRange();
};

void TestExtract::info_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // name|value|text of each entry, joined by ";"
    auto row = [](const char *name, const QString &text, const QString &expected) {
        QTest::newRow(name) << text << expected;
    };
    const QString blankLines = "\n   \n# a comment\n   # indented comment\nA: 1\n\t\n";
    const QString ranges = "Detector Range: 1 I1 4\nOther: x\nDetector Range: 2 I1 6\n";

    row("no blank after colon", "Gain:8\nGain:12\n", "Gain||;Gain|2|2");
    row("second colon belongs to the text", "Time: 10:12:44\n", "Time|10:12:44|10:12:44");
    row("no colon", "Remark only\n", "Remark only|emark|emark only");
    row("blank and comment lines", blankLines, "A|1|1");
    row("comment after value", "A: 1 # one\n", "A|1|1 ");
    row("hash inside double quotes", "A: \"x # y\" z\n", "A|x # y|\"x # y\" z");
    row("comment in the key", "A # B: 1\n", "A|| ");
    row("repeated key kept twice", ranges,
        "Detector Range|1|1 I1 4;Other|x|x;Detector Range|2|2 I1 6");
}

void TestExtract::info()
{
    QFETCH(QString, text);
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet ds;
    QVERIFY(ds.readInfo(in));
    QTEST(argEntries(ds.info).join(';'), "expected");
}

void TestExtract::extract_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // "<record> <key>=<value>": the record is the sample file as opened
    // ("info"), without its info file ("plain"), with only its info file's
    // "End Date" ("ended"), or without it and with that beamline or block
    // count.
    const QString arabicOne(QChar(0x0661));
    const QStringList rows{
        "info INFO_011=2019-03-25 09:41:07.5",
        "info FACI_002=BLA7",
        "info FACI_007=450.2",
        "info FACI_009=441.0",
        "info FILE_001=scan3",
        "info FILE_002=dat",
        "info FILE_003=9809",
        "info FILE_004=16",
        "info INST_007=Si",
        "info INST_008=311",
        "info INST_009=1.63747",
        "info INST_010=A",
        "info MEAS_112=3",
        "info MEAS_200=5",
        "info FILE_0193=I0",
        "info INST_016=--",
        "info INST_006=Quick XAFS",
        "info MEAS_099=2019-03-25 09:41:07.500",
        "info MEAS_100=2019-03-25 10:12:44.000",
        "info MEAS_003=1",
        "info MEAS_017=1e-07",
        "info MEAS_044=100",
        "info MEAS_077=1e+07",
        "info file_001=",
        "info FILE_0011=",
        "plain INST_006=Step XAFS",
        "plain MEAS_099=2019-03-25 09:41:07.5",
        "plain MEAS_100=2019-03-25 10:12:44.0",
        "ended MEAS_099=2019-03-25 09:41:07.5",
        "ended MEAS_100=2020-1-2 3:4:5.000",
        "plain MEAS_003=1e+07",
        "BLC2 FACI_002=BLC2B",
        "BLC2B FACI_002=BLC2B",
        "plain MEAS_120_01=--NO_VALUE--",
        "plain MEAS_121_03=9050.0",
        "plain MEAS_122_02=eV",
        "plain MEAS_123_01=8950.0",
        "plain MEAS_125_02=0.5",
        "plain MEAS_127_03=1.00",
        "plain MEAS_128_01=s",
        "plain MEAS_129_02=200",
        "plain MEAS_120_04=--",
        "12 MEAS_128_10=s",
        "12 MEAS_128_11=",
        "plain MEAS_121_00=",
        "plain MEAS_121_1=",
        "plain MEAS_121_+1=",
        "plain MEAS_121-01=",
        "plain MEAS_12" + arabicOne + "_01=",
        "plain MEAS_121_0" + arabicOne + "=",
    };
    for (const QString &row : rows) {
        const QString entry = row.section(' ', 1);
        QTest::addRow("%s", qPrintable(row))
            << row.section(' ', 0, 0) << entry.section('=', 0, 0) << entry.section('=', 1);
    }
}

void TestExtract::extract()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    DataSet ds;
    ds.openFile(true, testDataPath("scan3.dat"), nullptr);
    QVERIFY(ds.ok);
    if (record != "info")
        ds.info = ArgList();
    if (record == "ended")
        ds.info.add("End Date", "2020/1/2", "2020/1/2 3:4:5");
    if (record.startsWith("BL"))
        ds.header.beamline = record;
    if (record == "12")
        ds.header.blockCount = record;
    QTEST(ds.extractValue(key), "expected");
}

void TestExtract::detectorRange_data()
{
    QTest::addColumn<QString>("texts"); // of the "Detector Range" lines, joined by ";"
    QTest::addColumn<QString>("detector");
    QTest::addColumn<double>("expected");
    auto row = [](const char *name, const QString &texts, const QString &detector, double range) {
        QTest::newRow(name) << texts << detector << range;
    };

    row("name at position 0", "I0 1 8", "I0", 1.0);
    row("first occurrence at 0", "I1 I1 5", "I1", 1.0);
    row("its last line wins", "1 I1 4;2 I1 6;3 I0 9", "I1", 6.0);
    row("later line too short", "1 I1 4;1 I1", "I1", 1.0);
    row("part 2 is not the last", "1 I2 3 9", "I2", 3.0);
    row("blank run before the name", "  I0 7", "I0", 7.0);
    row("tabs and runs of blanks", "1\t I0 \t 5 ", "I0", 5.0);
    row("vertical tab and form feed", "1\vI0\f9", "I0", 9.0);
    // Only ASCII blanks separate the parts.
    row("no-break space", QString("1 I0") + QChar(0xa0) + "6", "I0", 1.0);
}

void TestExtract::detectorRange()
{
    QFETCH(QString, texts);
    QFETCH(QString, detector);
    ArgList info;
    // Keys that differ from "Detector Range" must be ignored.
    info.add("Detector Ranges", "x", "1 I0 3");
    for (const QString &text : texts.split(';'))
        info.add("Detector Range", text.section(' ', 0, 0), text);
    info.add("detector range", "x", "1 I0 2 I1 2 I2 2");
    QTEST(::detectorRange(info, detector), "expected");
}

QTEST_GUILESS_MAIN(TestExtract)
#include "TestExtract.moc"
