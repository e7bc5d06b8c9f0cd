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
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no blank after colon") << "Gain:8\nGain:12\n" << QStringList{"Gain||", "Gain|2|2"};
    QTest::newRow("second colon belongs to the text") << "Time: 10:12:44\n" << QStringList{"Time|10:12:44|10:12:44"};
    QTest::newRow("no colon") << "Remark only\n" << QStringList{"Remark only|emark|emark only"};
    QTest::newRow("blank and comment lines") << "\n   \n# a comment\n   # indented comment\nA: 1\n\t\n" << QStringList{"A|1|1"};
    QTest::newRow("comment after value") << "A: 1 # one\n" << QStringList{"A|1|1 "};
    QTest::newRow("hash inside double quotes") << "A: \"x # y\" z\n" << QStringList{"A|x # y|\"x # y\" z"};
    QTest::newRow("comment in the key") << "A # B: 1\n" << QStringList{"A|| "};
    QTest::newRow("repeated key kept twice") << "Detector Range: 1 I1 4\nOther: x\nDetector Range: 2 I1 6\n" << QStringList{"Detector Range|1|1 I1 4", "Other|x|x", "Detector Range|2|2 I1 6"};
}
// clang-format on

void TestExtract::info()
{
    QFETCH(QString, text);
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet ds;
    QVERIFY(ds.readInfo(in));
    QTEST(argEntries(ds.info), "expected");
}

// clang-format off
void TestExtract::extract_data()
{
    QTest::addColumn<QString>("record"); // "info": as opened; else without the info file, one header field changed
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QStringList opened{
        "INFO_011=2019-03-25 09:41:07.5", "FACI_002=BLA7",
        "FACI_007=450.2", "FACI_009=441.0", "FILE_001=scan3", "FILE_002=dat",
        "FILE_003=9809", "FILE_004=16", "INST_007=Si", "INST_008=311", "INST_009=1.63747",
        "INST_010=A", "MEAS_112=3", "MEAS_200=5", "FILE_0193=I0", "INST_016=--",
        "INST_006=Quick XAFS", "MEAS_099=2019-03-25 09:41:07.500", "MEAS_100=2019-03-25 10:12:44.000",
        "MEAS_003=1", "MEAS_017=1e-07", "MEAS_044=100", "MEAS_077=1e+07", 
        "file_001=", "FILE_0011="};
    for (const QString &entry : opened)
        QTest::addRow("%s", qPrintable(entry)) << "info" << entry.section('=', 0, 0) << entry.section('=', 1);
    QTest::newRow("INST_006 without info") << "plain" << "INST_006" << "Step XAFS";
    QTest::newRow("MEAS_099 without info") << "plain" << "MEAS_099" << "2000-- --:--:--.---";
    QTest::newRow("MEAS_003 without info") << "plain" << "MEAS_003" << "1e+07";
    QTest::newRow("BLC2 renamed") << "beamline=BLC2" << "FACI_002" << "BLC2B";
    QTest::newRow("BLC2B kept") << "beamline=BLC2B" << "FACI_002" << "BLC2B";
    const QStringList blocks{"MEAS_120_01=--NO_VALUE--", "MEAS_121_03=9050.0", "MEAS_122_02=eV",
                             "MEAS_123_01=8950.0", "MEAS_125_02=0.5", "MEAS_127_03=1.00",
                             "MEAS_128_01=s", "MEAS_129_02=200", "MEAS_120_04=--", 
                             "MEAS_121_00=", "MEAS_121_1=", "MEAS_121_+1=", "MEAS_121-01=",
                             QString("MEAS_12") + QChar(0x0661) + "_01=", QString("MEAS_121_0") + QChar(0x0661) + "="};
    for (const QString &entry : blocks)
        QTest::addRow("%s", qPrintable(entry)) << "plain" << entry.section('=', 0, 0) << entry.section('=', 1);
    QTest::newRow("block ten of twelve") << "blocks=12" << "MEAS_128_10" << "s";
    QTest::newRow("block eleven of twelve") << "blocks=12" << "MEAS_128_11" << "";
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
    if (record.startsWith("beamline="))
        ds.header.beamline = record.section('=', 1);
    if (record.startsWith("blocks="))
        ds.header.blockCount = record.section('=', 1);
    QTEST(ds.extractValue(key), "expected");
}

// clang-format off
void TestExtract::detectorRange_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("detector");
    QTest::addColumn<double>("expected");

    QTest::newRow("name at position 0") << QStringList{"I0 1 8"} << "I0" << 1.0;
    QTest::newRow("first occurrence at 0") << QStringList{"I1 I1 5"} << "I1" << 1.0;
    QTest::newRow("its last line wins") << QStringList{"1 I1 4", "2 I1 6", "3 I0 9"} << "I1" << 6.0;
    QTest::newRow("later line too short") << QStringList{"1 I1 4", "1 I1"} << "I1" << 1.0;
    QTest::newRow("part 2 is not the last") << QStringList{"1 I2 3 9"} << "I2" << 3.0;
    QTest::newRow("blank run before the name") << QStringList{"  I0 7"} << "I0" << 7.0;
    QTest::newRow("tabs and runs of blanks") << QStringList{"1\t I0 \t 5 "} << "I0" << 5.0;
    QTest::newRow("vertical tab and form feed") << QStringList{"1\vI0\f9"} << "I0" << 9.0;
    // Only ASCII blanks separate the parts.
    QTest::newRow("no-break space") << QStringList{QString("1 I0") + QChar(0xa0) + "6"} << "I0" << 1.0;
}
// clang-format on

void TestExtract::detectorRange()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, detector);
    ArgList info;
    // Keys that differ from "Detector Range" must be ignored.
    info.add("Detector Ranges", "x", "1 I0 3");
    for (const QString &text : texts)
        info.add("Detector Range", text.section(' ', 0, 0), text);
    info.add("detector range", "x", "1 I0 2 I1 2 I2 2");
    QTEST(::detectorRange(info, detector), "expected");
}

QTEST_GUILESS_MAIN(TestExtract)
#include "TestExtract.moc"
