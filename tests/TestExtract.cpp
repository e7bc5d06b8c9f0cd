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

// clang-format off
void TestExtract::info_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // name|value|text of each entry, joined by ";"

    QTest::newRow("no blank after colon") << "Gain:8\nGain:12\n" << "Gain||;Gain|2|2";
    QTest::newRow("second colon belongs to the text") << "Time: 10:12:44\n" << "Time|10:12:44|10:12:44";
    QTest::newRow("no colon") << "Remark only\n" << "Remark only|emark|emark only";
    QTest::newRow("blank and comment lines") << "\n   \n# a comment\n   # indented comment\nA: 1\n\t\n" << "A|1|1";
    QTest::newRow("comment after value") << "A: 1 # one\n" << "A|1|1 ";
    QTest::newRow("hash inside double quotes") << "A: \"x # y\" z\n" << "A|x # y|\"x # y\" z";
    QTest::newRow("comment in the key") << "A # B: 1\n" << "A|| ";
    QTest::newRow("repeated key kept twice") << "Detector Range: 1 I1 4\nOther: x\nDetector Range: 2 I1 6\n" << "Detector Range|1|1 I1 4;Other|x|x;Detector Range|2|2 I1 6";
}
// clang-format on

void TestExtract::info()
{
    QFETCH(QString, text);
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet ds;
    QVERIFY(ds.readInfo(in));
    QTEST(argEntries(ds.info).join(';'), "expected");
}

// clang-format off
void TestExtract::extract_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // "<record> <key>=<value>": the record is the sample file as opened
    // ("info"), without its info file ("plain"), or without it and with that
    // beamline or block count.
    const QStringList rows{
        "info INFO_011=2019-03-25 09:41:07.5", "info FACI_002=BLA7", "info FACI_007=450.2",
        "info FACI_009=441.0", "info FILE_001=scan3", "info FILE_002=dat", "info FILE_003=9809",
        "info FILE_004=16", "info INST_007=Si", "info INST_008=311", "info INST_009=1.63747",
        "info INST_010=A", "info MEAS_112=3", "info MEAS_200=5", "info FILE_0193=I0", "info INST_016=--",
        "info INST_006=Quick XAFS", "info MEAS_099=2019-03-25 09:41:07.500", "info MEAS_100=2019-03-25 10:12:44.000",
        "info MEAS_003=1", "info MEAS_017=1e-07", "info MEAS_044=100", "info MEAS_077=1e+07",
        "info file_001=", "info FILE_0011=", "plain INST_006=Step XAFS", "plain MEAS_099=2000-- --:--:--.---",
        "plain MEAS_003=1e+07", "BLC2 FACI_002=BLC2B", "BLC2B FACI_002=BLC2B",
        "plain MEAS_120_01=--NO_VALUE--", "plain MEAS_121_03=9050.0", "plain MEAS_122_02=eV",
        "plain MEAS_123_01=8950.0", "plain MEAS_125_02=0.5", "plain MEAS_127_03=1.00",
        "plain MEAS_128_01=s", "plain MEAS_129_02=200", "plain MEAS_120_04=--", "12 MEAS_128_10=s",
        "12 MEAS_128_11=", "plain MEAS_121_00=", "plain MEAS_121_1=", "plain MEAS_121_+1=", "plain MEAS_121-01=",
        QString("plain MEAS_12") + QChar(0x0661) + "_01=", QString("plain MEAS_121_0") + QChar(0x0661) + "="};
    for (const QString &row : rows) {
        const QString entry = row.section(' ', 1);
        QTest::addRow("%s", qPrintable(row)) << row.section(' ', 0, 0) << entry.section('=', 0, 0) << entry.section('=', 1);
    }
}
// clang-format on

void TestExtract::extract()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    DataSet ds;
    ds.openFile(true, testDataPath("scan3.dat"), nullptr);
    QVERIFY(ds.ok);
    if (record != "info")
        ds.info = ArgList();
    if (record.startsWith("BL"))
        ds.header.beamline = record;
    if (record == "12")
        ds.header.blockCount = record;
    QTEST(ds.extractValue(key), "expected");
}

// clang-format off
void TestExtract::detectorRange_data()
{
    QTest::addColumn<QString>("texts"); // of the "Detector Range" lines, joined by ";"
    QTest::addColumn<QString>("detector");
    QTest::addColumn<double>("expected");

    QTest::newRow("name at position 0") << "I0 1 8" << "I0" << 1.0;
    QTest::newRow("first occurrence at 0") << "I1 I1 5" << "I1" << 1.0;
    QTest::newRow("its last line wins") << "1 I1 4;2 I1 6;3 I0 9" << "I1" << 6.0;
    QTest::newRow("later line too short") << "1 I1 4;1 I1" << "I1" << 1.0;
    QTest::newRow("part 2 is not the last") << "1 I2 3 9" << "I2" << 3.0;
    QTest::newRow("blank run before the name") << "  I0 7" << "I0" << 7.0;
    QTest::newRow("tabs and runs of blanks") << "1\t I0 \t 5 " << "I0" << 5.0;
    QTest::newRow("vertical tab and form feed") << "1\vI0\f9" << "I0" << 9.0;
    // Only ASCII blanks separate the parts.
    QTest::newRow("no-break space") << QString("1 I0") + QChar(0xa0) + "6" << "I0" << 1.0;
}
// clang-format on

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
